// Memory-mapped loads, answered by the board's MMIO bus.
#include "Board.h"
#include "Library/CpuPrimitives.h"

UINT8 EFIAPI MmioLoad8(UINTN Address) {
  return static_cast<UINT8>(board::Board::Current().Mmio().Read(Address, 1));
}

UINT16 EFIAPI MmioLoad16(UINTN Address) {
  return static_cast<UINT16>(board::Board::Current().Mmio().Read(Address, 2));
}

UINT32 EFIAPI MmioLoad32(UINTN Address) {
  return board::Board::Current().Mmio().Read(Address, 4);
}
