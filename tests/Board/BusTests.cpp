// The board's buses: decoding to devices, the undriven-bus value, the ordered log, and
// the ways a module's run ends.
#include <gtest/gtest.h>

#include <map>
#include <ostream>

#include "Board.h"
#include "Library/CpuPrimitives.h"
#include "RunEnd.h"

namespace board {
// Readable access lists in failure messages.
void PrintTo(const Access &access, std::ostream *out) {
  *out << ToString(access);
}
} // namespace board

namespace {

using board::Access;
using board::AccessKind;

class Latch final : public board::PortDevice, public board::MmioDevice {
public:
  uint8_t ReadPort(uint16_t port) override { return ports[port]; }
  void WritePort(uint16_t port, uint8_t value) override { ports[port] = value; }
  uint32_t ReadMmio(uint64_t address, unsigned width) override {
    return static_cast<uint32_t>(address) + width;
  }
  void WriteMmio(uint64_t address, unsigned, uint32_t value) override { mmio[address] = value; }
  std::map<uint16_t, uint8_t> ports;
  std::map<uint64_t, uint32_t> mmio;
};

TEST(Bus, AccessesReachTheDecodingDeviceAndAreLoggedInOrder) {
  board::Board board;
  Latch latch;
  board.Io().Attach(0x70, 0x73, latch);
  board.Mmio().Attach(0xE0000000, 0x1000, latch);

  IoWrite8(0x71, 0x5A);
  EXPECT_EQ(IoRead8(0x71), 0x5A);
  EXPECT_EQ(IoRead8(0x74), 0xFF) << "nobody decodes 0x74: the bus floats high";
  MmioStore16(0xE0000040, 0x1800);
  EXPECT_EQ(MmioLoad8(0xE0000FFF), 0x00u) << "0xE0000FFF + 1, truncated to a byte";
  EXPECT_EQ(MmioLoad32(0xE0001000), 0xFFFFFFFFu) << "just past the device";

  const std::vector<Access> expected = {
      {AccessKind::IoWrite, 0x71, 1, 0x5A},        {AccessKind::IoRead, 0x71, 1, 0x5A},
      {AccessKind::IoRead, 0x74, 1, 0xFF},         {AccessKind::MmioWrite, 0xE0000040, 2, 0x1800},
      {AccessKind::MmioRead, 0xE0000FFF, 1, 0x00}, {AccessKind::MmioRead, 0xE0001000, 4, 0xFFFFFFFF},
  };
  EXPECT_EQ(board.Log().Entries(), expected);
  EXPECT_EQ(latch.mmio.at(0xE0000040), 0x1800u);
}

TEST(Bus, HaltEndsTheRunUnlessADebuggerReleasesIt) {
  board::Board board;
  volatile UINTN released = 0;
  EXPECT_THROW(CpuHaltLoop(&released), board::ModuleHalted);
  EXPECT_EQ(released, 0u);

  board.ReleaseHalts(true);
  CpuHaltLoop(&released);
  EXPECT_EQ(released, 1u);
  EXPECT_EQ(board.HaltCount(), 2u);
  EXPECT_THROW(CpuDeadLoop(), board::ProcessorStuck);
}

TEST(Bus, TheLastBoardBuiltIsCurrentUntilItGoes) {
  board::Board outer;
  {
    board::Board inner;
    EXPECT_EQ(&board::Board::Current(), &inner);
  }
  EXPECT_EQ(&board::Board::Current(), &outer);
}

} // namespace
