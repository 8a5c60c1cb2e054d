// The bounded 8-bit string copy. Every failed check reports its assertion and, should
// the halt be released, returns its status with the destination untouched.
#include "Library/BaseLib.h"
#include "Library/DebugLib.h"

BOOLEAN EFIAPI InternalSafeStringNoAsciiStrOverlap(CHAR8 *Base1, UINTN Size1, CHAR8 *Base2, UINTN Size2) {
  UINTN Start1 = (UINTN)Base1;
  UINTN Start2 = (UINTN)Base2;
  if ((Start1 >= Start2 && Start1 < Start2 + Size2) || (Start2 >= Start1 && Start2 < Start1 + Size1)) {
    return FALSE;
  }
  return TRUE;
}

RETURN_STATUS EFIAPI AsciiStrCpyS(CHAR8 *Destination, UINTN DestMax, CONST CHAR8 *Source) {
  ASSERT_OR_RETURN((Destination != NULL_POINTER), EFI_INVALID_PARAMETER);
  ASSERT_OR_RETURN((Source != NULL_POINTER), EFI_INVALID_PARAMETER);

  // Characters before the terminator, counting no further than DestMax.
  UINTN SourceLen = 0;
  while (SourceLen < DestMax && Source[SourceLen] != '\0') {
    SourceLen++;
  }

  ASSERT_OR_RETURN((DestMax > SourceLen), EFI_BUFFER_TOO_SMALL);
  // clang-format off
  ASSERT_OR_RETURN (InternalSafeStringNoAsciiStrOverlap (Destination, DestMax, (CHAR8 *)Source, SourceLen + 1), EFI_ACCESS_DENIED);
  // clang-format on

  while (*Source != '\0') {
    *(Destination++) = *(Source++);
  }
  *Destination = '\0';
  return EFI_SUCCESS;
}
