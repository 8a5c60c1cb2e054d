// The zero fill of the 64-bit modules: exact bytes at every alignment and length that
// splits into 8-byte units and a remainder, and the two checks before the fill.
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "Library/BaseMemoryLib.h"
#include "LibraryFixture.h"

namespace {

class ZeroMemTest : public LibraryTest {};

TEST_F(ZeroMemTest, FillZeroesExactlyTheRangeAtOddOffsets) {
  constexpr size_t kSize = 40;
  for (size_t offset : {1, 3, 7}) {
    for (size_t length = 0; length <= 17; length++) {
      alignas(8) UINT8 buffer[kSize];
      std::memset(buffer, 0xA5, sizeof(buffer));
      std::vector<UINT8> expected(kSize, 0xA5);
      std::memset(&expected[offset], 0, length);

      EXPECT_EQ(ZeroMem(buffer + offset, length), buffer + offset);
      EXPECT_EQ(BytesOf(buffer, sizeof(buffer)), expected) << "offset " << offset << ", length " << length;
    }
  }
  EXPECT_TRUE(board_.Listener().Records().empty());
}

// Failed checks, released, return the buffer with nothing written; addresses that are
// not memory would stop the test on any write.
TEST_F(ZeroMemTest, NullOrPastTheTopIsAFailedCheckAndNothingIsWritten) {
  board_.ReleaseHalts(true);
  constexpr UINTN kTopAddress = 0xFFFFFFFFFFFFFFFFull;
  const struct {
    const char *name;
    UINTN buffer;
    UINTN length;
    std::vector<Check> checks;
  } cases[] = {
      {"null, length 0", 0, 0, {}},
      {"last address, length 0", kTopAddress, 0, {}},
      {"null, length 1", 0, 1, {{"ZeroMemWrapper.cpp", "!(Buffer == ((void *) 0) && Length > 0)"}}},
      {"one byte past the top",
       kTopAddress - 7,
       9,
       {{"ZeroMemWrapper.cpp", "Length <= (0xFFFFFFFFFFFFFFFFULL - (UINTN)Buffer + 1)"}}},
  };
  for (const auto &c : cases) {
    board_.Listener().Clear();
    VOID *Buffer = reinterpret_cast<VOID *>(c.buffer);
    EXPECT_EQ(ZeroMem(Buffer, c.length), Buffer) << c.name;
    EXPECT_EQ(ReportedChecks(), c.checks) << c.name;
  }
}

} // namespace
