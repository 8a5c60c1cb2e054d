// Port output, taken by the board's I/O bus.
#include "Board.h"
#include "Library/CpuPrimitives.h"

UINT8 EFIAPI IoWrite8(UINTN Port, UINT8 Value) {
  board::Board::Current().Io().Write(static_cast<uint16_t>(Port), Value);
  return Value;
}
