// The virtual board: the platform that module code runs on in a host build. It owns the
// buses and their devices, the access log, the PEI and DXE core models and the
// status-code listener, and decides how a halt ends: by ending the module's run, or by
// playing a debugger that releases the loop.
//
// One board is current at a time (the last one constructed); the hardware seam and the
// boot services reach it through Board::Current().
#pragma once

#include <cstddef>

#include "AccessLog.h"
#include "Bus.h"
#include "DxeCore.h"
#include "GuestMemory.h"
#include "PeiCore.h"
#include "StatusCodeListener.h"

namespace board {

class Board {
public:
  Board();
  ~Board();
  Board(const Board &) = delete;
  Board &operator=(const Board &) = delete;

  static Board &Current();

  AccessLog &Log() { return log_; }
  IoBus &Io() { return io_; }
  MmioBus &Mmio() { return mmio_; }
  StatusCodeListener &Listener() { return listener_; }
  const StatusCodeListener &Listener() const { return listener_; }
  PeiCore &Pei() { return pei_; }
  DxeCore &Dxe() { return dxe_; }
  const GuestMemory &Memory() const { return memory_; }

  // Halts. With release on, a halt is counted and the loop let go at once, as a
  // debugger would; otherwise a halt ends the module's run with ModuleHalted.
  void ReleaseHalts(bool release) { releaseHalts_ = release; }
  size_t HaltCount() const { return halts_; }
  void Halt(volatile UINTN *released);
  // The processor waits for an INIT that nothing will send.
  [[noreturn]] void DeadLoop();

private:
  NativeMemory memory_;
  AccessLog log_;
  IoBus io_{log_};
  MmioBus mmio_{log_};
  StatusCodeListener listener_{sizeof(UINTN) * 8, memory_};
  PeiCore pei_{listener_};
  DxeCore dxe_{listener_};
  bool releaseHalts_ = false;
  size_t halts_ = 0;
  Board *previous_;
};

} // namespace board
