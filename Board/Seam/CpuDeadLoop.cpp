// A processor waiting for an INIT: the board ends the run.
#include "Board.h"
#include "Library/CpuPrimitives.h"

VOID EFIAPI CpuDeadLoop(VOID) {
  board::Board::Current().DeadLoop();
}
