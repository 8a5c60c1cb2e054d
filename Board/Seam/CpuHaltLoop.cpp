// The halt loop of a failed check: ends the module's run, or plays a debugger that
// releases the loop.
#include "Board.h"
#include "Library/CpuPrimitives.h"

VOID EFIAPI CpuHaltLoop(volatile UINTN *Released) {
  board::Board::Current().Halt(Released);
}
