// Lengths and sizes of NUL-terminated strings, bounded by the build-time limits.
#include "Library/BaseLib.h"
#include "Library/DebugLib.h"

// One UTF-16 character at any address. After a released alignment check the scan goes
// on at an odd address, which the processor reads as any other; the copy keeps that
// read defined in C++ and compiles to the same single 16-bit load.
STATIC CHAR16 ReadChar16(CONST CHAR16 *Character) {
  CHAR16 Value;
  __builtin_memcpy(&Value, Character, sizeof(Value));
  return Value;
}

UINTN EFIAPI StrLen(CONST CHAR16 *String) {
  ASSERT_OR_RETURN(String != NULL_POINTER, 0);
  // clang-format off
  ASSERT (((UINTN) String & 0x00000001) == 0);
  // clang-format on

  // The limit check sees the count of the characters before the one being counted, so
  // a string of exactly the limit passes.
  UINTN Length;
  for (Length = 0; ReadChar16(String) != u'\0'; String++, Length++) {
    ASSERT(Length < _gPcd_FixedAtBuild_PcdMaximumUnicodeStringLength);
  }
  return Length;
}

UINTN EFIAPI StrSize(CONST CHAR16 *String) {
  return (StrLen(String) + 1) * sizeof(*String);
}

UINTN EFIAPI AsciiStrLen(CONST CHAR8 *String) {
  ASSERT_OR_RETURN(String != NULL_POINTER, 0);

  UINTN Length;
  for (Length = 0; *String != '\0'; String++, Length++) {
    ASSERT(Length < _gPcd_FixedAtBuild_PcdMaximumAsciiStringLength);
  }
  return Length;
}

UINTN EFIAPI AsciiStrSize(CONST CHAR8 *String) {
  return AsciiStrLen(String) + 1;
}
