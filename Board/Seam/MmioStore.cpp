// Memory-mapped stores, taken by the board's MMIO bus.
#include "Board.h"
#include "Library/CpuPrimitives.h"

VOID EFIAPI MmioStore8(UINTN Address, UINT8 Value) {
  board::Board::Current().Mmio().Write(Address, 1, Value);
}

VOID EFIAPI MmioStore16(UINTN Address, UINT16 Value) {
  board::Board::Current().Mmio().Write(Address, 2, Value);
}

VOID EFIAPI MmioStore32(UINTN Address, UINT32 Value) {
  board::Board::Current().Mmio().Write(Address, 4, Value);
}
