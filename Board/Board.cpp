#include "Board.h"

#include "RunEnd.h"

namespace board {

namespace {
Board *gCurrentBoard = nullptr;
} // namespace

Board::Board() : previous_(gCurrentBoard) {
  gCurrentBoard = this;
}

Board::~Board() {
  if (gCurrentBoard == this) {
    gCurrentBoard = previous_;
  }
}

Board &Board::Current() {
  if (gCurrentBoard == nullptr) {
    throw BoardFault("module code touched the hardware with no board running");
  }
  return *gCurrentBoard;
}

void Board::Halt(volatile UINTN *released) {
  halts_++;
  if (releaseHalts_) {
    *released = 1;
    return;
  }
  throw ModuleHalted();
}

void Board::DeadLoop() {
  throw ProcessorStuck();
}

} // namespace board
