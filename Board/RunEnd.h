// How a module's run ends on the board other than by returning: a failed check that
// halts, a reset of the board, or a processor left waiting for an INIT. The board
// throws one of these from inside the module's call; whoever started the module (a
// test, the boot sequencer) catches it. Module code has no destructors to run, so
// unwinding through it leaves nothing behind.
#pragma once

#include <stdexcept>
#include <string>

namespace board {

class RunEnded : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A failed check halted the module in its dead loop.
class ModuleHalted : public RunEnded {
public:
  ModuleHalted() : RunEnded("module halted in the dead loop of a failed check") {}
};

// The board was reset; the boot ends here.
class BoardReset : public RunEnded {
public:
  enum class Kind { Cold, Warm, PowerCycle, CpuInit };
  explicit BoardReset(Kind kind) : RunEnded("board reset"), kind_(kind) {}
  Kind kind() const { return kind_; }

private:
  Kind kind_;
};

// The processor waits in a dead loop for something that never comes.
class ProcessorStuck : public RunEnded {
public:
  ProcessorStuck() : RunEnded("processor waits in a dead loop with nothing to end it") {}
};

// Module code used the board in a way the firmware interfaces do not allow (a service
// this board does not provide, a pool block freed twice, a priority lowered by a raise).
class BoardFault : public RunEnded {
public:
  explicit BoardFault(const std::string &what) : RunEnded(what) {}
};

} // namespace board
