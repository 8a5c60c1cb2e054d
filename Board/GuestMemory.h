// How the board reads memory that module code points it at (strings in a debug
// record, for example). Module code linked natively into a host build shares the
// board's address space; an emulator would supply its own reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace board {

class GuestMemory {
public:
  virtual ~GuestMemory() = default;
  // Copies size bytes at address into out; false when the range cannot be read.
  virtual bool Read(uint64_t address, void *out, size_t size) const = 0;
};

// Module code linked into this process: addresses are host pointers.
class NativeMemory final : public GuestMemory {
public:
  bool Read(uint64_t address, void *out, size_t size) const override {
    if (address == 0) {
      return false;
    }
    std::memcpy(out, reinterpret_cast<const void *>(static_cast<uintptr_t>(address)), size);
    return true;
  }
};

} // namespace board
