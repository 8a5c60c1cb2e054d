// 64-bit little-endian access at any alignment. 32-bit modules move the value as two
// 4-byte halves, low half first.
#include "Library/BaseLib.h"
#include "Library/DebugLib.h"

UINT64 EFIAPI ReadUnaligned64(CONST UINT64 *Buffer) {
  ASSERT_OR_RETURN(Buffer != NULL_POINTER, 0);

  if constexpr (sizeof(UINTN) == sizeof(UINT64)) {
    UINT64 Value;
    __builtin_memcpy(&Value, Buffer, sizeof(Value));
    return Value;
  } else {
    UINT32 Low;
    UINT32 High;
    __builtin_memcpy(&Low, Buffer, sizeof(Low));
    __builtin_memcpy(&High, (CONST UINT8 *)Buffer + sizeof(Low), sizeof(High));
    return ((UINT64)High << 32) | Low;
  }
}

UINT64 EFIAPI WriteUnaligned64(UINT64 *Buffer, UINT64 Value) {
  ASSERT_OR_RETURN(Buffer != NULL_POINTER, Value);

  if constexpr (sizeof(UINTN) == sizeof(UINT64)) {
    __builtin_memcpy(Buffer, &Value, sizeof(Value));
  } else {
    UINT32 Low = (UINT32)Value;
    UINT32 High = (UINT32)(Value >> 32);
    __builtin_memcpy(Buffer, &Low, sizeof(Low));
    __builtin_memcpy((UINT8 *)Buffer + sizeof(Low), &High, sizeof(High));
  }
  return Value;
}
