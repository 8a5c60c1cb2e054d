// Debug messages with literal formats, one per case. FORMAT_CASE selects the case; a
// case marked "accepted" must compile, a case marked "rejected" must fail to compile
// with the format check's diagnostic (CheckFormatCases.cmake reads the marks).
#include "Library/DebugLib.h"

void FormatCase(const CHAR8 *Text, const CHAR16 *Wide, EFI_GUID *Guid, EFI_STATUS Status, UINT64 Wide64) {
  (void)Text, (void)Wide, (void)Guid, (void)Status, (void)Wide64;
#if FORMAT_CASE == 1 // accepted
  DebugMessage(DEBUG_ERROR, "%d %u %x %X %c\n", -1, 2u, (UINT8)3, (UINT16)4, u'c');
#elif FORMAT_CASE == 2  // accepted
  DebugMessage(DEBUG_ERROR, "%a %s %S %g %p %r\n", Text, Wide, Wide, Guid, (void *)Text, Status);
#elif FORMAT_CASE == 3  // accepted
  DebugMessage(DEBUG_ERROR, "%ld %lx %LX %-08.3lu|%*d|100%%\n", (INT64)-1, Wide64, Wide64, Wide64, (UINTN)4,
               5);
#elif FORMAT_CASE == 4  // accepted
  DebugMessage(DEBUG_ERROR, "no conversion, a bare %");
#elif FORMAT_CASE == 5  // rejected
  DebugMessage(DEBUG_ERROR, "%d\n");
#elif FORMAT_CASE == 6  // rejected
  DebugMessage(DEBUG_ERROR, "%d %d\n", 1);
#elif FORMAT_CASE == 7  // rejected
  DebugMessage(DEBUG_ERROR, "nothing\n", 1);
#elif FORMAT_CASE == 8  // rejected
  DebugMessage(DEBUG_ERROR, "%a\n", 1);
#elif FORMAT_CASE == 9  // rejected
  DebugMessage(DEBUG_ERROR, "%d\n", Text);
#elif FORMAT_CASE == 10 // rejected
  DebugMessage(DEBUG_ERROR, "%lx\n", 1u);
#elif FORMAT_CASE == 11 // rejected
  DebugMessage(DEBUG_ERROR, "%x\n", Wide64);
#elif FORMAT_CASE == 12 // rejected
  DebugMessage(DEBUG_ERROR, "%r\n", (UINT16)1);
#elif FORMAT_CASE == 13 // rejected
  DebugMessage(DEBUG_ERROR, "%*d\n", 5);
#endif
}
