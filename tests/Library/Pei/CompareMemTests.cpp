// The byte compare of the 32-bit modules: the first differing byte decides, as an
// unsigned difference; equal addresses return before any check.
#include <ostream>
#include <string>
#include <vector>

#include "Library/BaseMemoryLib.h"
#include "LibraryFixture.h"

namespace {

class CompareMemTest : public LibraryTest {};

TEST_F(CompareMemTest, FirstDifferingByteDecidesAsAnUnsignedDifference) {
  const struct {
    const char *name;
    std::vector<UINT8> destination;
    std::vector<UINT8> source;
    INTN result;
  } cases[] = {
      {"second byte lower", {0x10, 0x20}, {0x10, 0x30}, -16},
      {"second byte higher", {0x10, 0x30}, {0x10, 0x20}, 16},
      {"bytes are unsigned", {0xFF}, {0x00}, 255},
      {"bytes are unsigned, reversed", {0x00}, {0xFF}, -255},
      {"later differences do not count", {0x10, 0x00}, {0x20, 0xFF}, -16},
      {"equal GUIDs",
       {0x8C, 0x55, 0x00, 0xFC, 0x54, 0x35, 0x33, 0x40, 0x99, 0xFF, 0x09, 0x94, 0x9A, 0x16, 0x87, 0xA8},
       {0x8C, 0x55, 0x00, 0xFC, 0x54, 0x35, 0x33, 0x40, 0x99, 0xFF, 0x09, 0x94, 0x9A, 0x16, 0x87, 0xA8},
       0},
      {"GUIDs differing in the last byte",
       {0x8C, 0x55, 0x00, 0xFC, 0x54, 0x35, 0x33, 0x40, 0x99, 0xFF, 0x09, 0x94, 0x9A, 0x16, 0x87, 0xA8},
       {0x8C, 0x55, 0x00, 0xFC, 0x54, 0x35, 0x33, 0x40, 0x99, 0xFF, 0x09, 0x94, 0x9A, 0x16, 0x87, 0xA9},
       -1},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(CompareMem(c.destination.data(), c.source.data(), c.destination.size()), c.result) << c.name;
  }
  EXPECT_TRUE(board_.Listener().Records().empty());
}

// The checks, with the halt released: each failure returns 0 at once. Addresses at the
// top of the address space are not memory, so a read there would stop the test; the
// buffers of a length-0 compare differ in their first byte, so a read would show.
TEST_F(CompareMemTest, ChecksRunAfterTheEqualAddressTestAndStopTheCompare) {
  board_.ReleaseHalts(true);
  static const UINT8 kOne[4] = {1, 1, 1, 1};
  static const UINT8 kTwo[4] = {2, 2, 2, 2};
  const VOID *One = kOne;
  const VOID *Two = kTwo;
  const VOID *NearTop = reinterpret_cast<const VOID *>(0xFFFFFFF8u);
  const std::string kFile = "CompareMemWrapper.cpp";
  const struct {
    const char *name;
    const VOID *destination;
    const VOID *source;
    UINTN length;
    std::vector<Check> checks;
  } cases[] = {
      {"same address", One, One, 4, {}},
      {"same address, null", nullptr, nullptr, 4, {}},
      {"same address past the top", NearTop, NearTop, 9, {}},
      {"null destination", nullptr, Two, 4, {{kFile, "DestinationBuffer != ((void *) 0)"}}},
      {"destination past the top",
       NearTop,
       Two,
       9,
       {{kFile, "(Length - 1) <= (0xFFFFFFFF - (UINTN)DestinationBuffer)"}}},
      {"source past the top",
       One,
       NearTop,
       9,
       {{kFile, "(Length - 1) <= (0xFFFFFFFF - (UINTN)SourceBuffer)"}}},
      {"length 0, distinct buffers",
       One,
       Two,
       0,
       {{kFile, "(Length - 1) <= (0xFFFFFFFF - (UINTN)DestinationBuffer)"}}},
  };
  for (const auto &c : cases) {
    board_.Listener().Clear();
    EXPECT_EQ(CompareMem(c.destination, c.source, c.length), 0) << c.name;
    EXPECT_EQ(ReportedChecks(), c.checks) << c.name;
  }
}

} // namespace
