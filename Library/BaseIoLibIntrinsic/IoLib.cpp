// Memory-mapped I/O with its argument checks.
#include "Library/IoLib.h"
#include "Library/DebugLib.h"

UINT16 EFIAPI MmioWrite16(UINTN Address, UINT16 Value) {
  ASSERT((Address & 1) == 0);
  MmioStore16(Address, Value);
  return Value;
}
