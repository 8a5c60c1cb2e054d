// Port input, answered by the board's I/O bus.
#include "Board.h"
#include "Library/CpuPrimitives.h"

UINT8 EFIAPI IoRead8(UINTN Port) {
  return board::Board::Current().Io().Read(static_cast<uint16_t>(Port));
}
