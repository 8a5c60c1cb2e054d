// String lengths, the bounded 8-bit string copy, unaligned 64-bit access and the IDTR
// read. Every function checks its arguments with assertions (DebugLib.h) first.
#ifndef BASE_LIB_H_
#define BASE_LIB_H_

#include "Base.h"
#include "Library/CpuPrimitives.h"

// Build-time string limits, in characters. Their names are part of the texts that the
// length checks report.
inline constexpr UINTN _gPcd_FixedAtBuild_PcdMaximumAsciiStringLength = 1000000;
inline constexpr UINTN _gPcd_FixedAtBuild_PcdMaximumUnicodeStringLength = 1000000;

// Characters before the terminator of a UTF-16 string at an even address. Asserts on a
// null or odd String and on a string longer than the Unicode limit.
UINTN EFIAPI StrLen(CONST CHAR16 *String);
// Bytes of a UTF-16 string with its terminator: (StrLen + 1) * 2. Checks as StrLen.
UINTN EFIAPI StrSize(CONST CHAR16 *String);
// Characters before the terminator of an 8-bit string. Asserts on a null String and on
// a string longer than the 8-bit limit.
UINTN EFIAPI AsciiStrLen(CONST CHAR8 *String);
// Bytes of an 8-bit string with its terminator. Checks as AsciiStrLen.
UINTN EFIAPI AsciiStrSize(CONST CHAR8 *String);

// Copies Source with its terminator into Destination, which holds DestMax characters.
// Returns 0, or (after the failed check's assertion, should it return):
//   EFI_INVALID_PARAMETER  Destination or Source is null;
//   EFI_BUFFER_TOO_SMALL   Source does not fit with its terminator;
//   EFI_ACCESS_DENIED      the two buffers overlap.
// Destination is untouched on every failure.
RETURN_STATUS EFIAPI AsciiStrCpyS(CHAR8 *Destination, UINTN DestMax, CONST CHAR8 *Source);

// TRUE when [Base1, Base1 + Size1) and [Base2, Base2 + Size2) do not overlap.
BOOLEAN EFIAPI InternalSafeStringNoAsciiStrOverlap(CHAR8 *Base1, UINTN Size1, CHAR8 *Base2, UINTN Size2);

// 64-bit little-endian access at any alignment; 32-bit modules access the two halves,
// low half first. Both assert on a null Buffer.
UINT64 EFIAPI ReadUnaligned64(CONST UINT64 *Buffer);
UINT64 EFIAPI WriteUnaligned64(UINT64 *Buffer, UINT64 Value);

// Stores the processor's IDTR image at Idtr; asserts on a null Idtr.
VOID EFIAPI ReadIdtr(IA32_DESCRIPTOR *Idtr);

#endif // BASE_LIB_H_
