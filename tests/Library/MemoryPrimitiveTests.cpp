// Memory copy, GUID copy and compare, unaligned 64-bit access and the 16-bit MMIO
// store, in the width of the build. The range checks name the top address of that
// width; everything else behaves the same in both.
#include <array>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "Library/BaseLib.h"
#include "Library/BaseMemoryLib.h"
#include "Library/IoLib.h"
#include "LibraryFixture.h"

namespace {

constexpr UINTN kTopAddress = ~(UINTN)0;

VOID *AddressAt(UINTN address) {
  return reinterpret_cast<VOID *>(address);
}

const std::string kDestinationRangeCheck =
    sizeof(UINTN) == 8 ? "(Length - 1) <= (0xFFFFFFFFFFFFFFFFULL - (UINTN)DestinationBuffer)"
                       : "(Length - 1) <= (0xFFFFFFFF - (UINTN)DestinationBuffer)";
const std::string kSourceRangeCheck = sizeof(UINTN) == 8
                                          ? "(Length - 1) <= (0xFFFFFFFFFFFFFFFFULL - (UINTN)SourceBuffer)"
                                          : "(Length - 1) <= (0xFFFFFFFF - (UINTN)SourceBuffer)";

class MemoryPrimitiveTest : public LibraryTest {};

// A buffer whose every byte differs, so a byte copied from the wrong offset shows.
std::array<UINT8, 32> NumberedBytes() {
  std::array<UINT8, 32> bytes;
  for (size_t index = 0; index < bytes.size(); index++) {
    bytes[index] = (UINT8)(0x40 + index);
  }
  return bytes;
}

// The destination ends up with the bytes the source held before the call, whichever
// way the two overlap; nothing outside the destination changes.
TEST_F(MemoryPrimitiveTest, CopyMemMovesTheFormerSourceBytesInEveryOverlap) {
  const struct {
    const char *name;
    size_t destination;
    size_t source;
    size_t length;
  } cases[] = {
      {"destination 3 above, overlapping", 3, 0, 10},
      {"destination 3 below, overlapping", 0, 3, 10},
      {"destination 1 above, inside one unit", 1, 0, 13},
      {"destination 1 below, inside one unit", 0, 1, 13},
      {"destination on the source's last byte", 12, 0, 13},
      {"destination right after the source's last byte", 13, 0, 13},
      {"apart, 13 bytes: units and a remainder", 17, 1, 13},
      {"apart, source above", 1, 17, 13},
      {"one byte", 30, 2, 1},
  };
  for (const auto &c : cases) {
    std::array<UINT8, 32> buffer = NumberedBytes();
    std::array<UINT8, 32> expected = buffer;
    std::memmove(&expected[c.destination], &expected[c.source], c.length);

    EXPECT_EQ(CopyMem(&buffer[c.destination], &buffer[c.source], c.length), &buffer[c.destination]) << c.name;
    EXPECT_EQ(buffer, expected) << c.name;
  }
  EXPECT_TRUE(board_.Listener().Records().empty());
}

// Bit 10 of EFLAGS: while it is set, string instructions step downwards.
bool DirectionFlagSet() {
  UINTN Flags;
  __asm__ __volatile__("pushf\n\tpop %0" : "=r"(Flags) : : "memory");
  return (Flags & (1u << 10)) != 0;
}

TEST_F(MemoryPrimitiveTest, CopyMemLeavesTheDirectionFlagClearAfterADescendingCopy) {
  // The probe sees the flag when it is set.
  UINTN Flags;
  __asm__ __volatile__("std\n\tpushf\n\tpop %0\n\tcld" : "=r"(Flags) : : "memory", "cc");
  ASSERT_NE(Flags & (1u << 10), 0u);

  std::array<UINT8, 32> buffer = NumberedBytes();
  CopyMem(&buffer[3], &buffer[0], 10); // destination inside the source: descending
  EXPECT_FALSE(DirectionFlagSet());
  EXPECT_EQ(buffer[12], 0x49);
}

// Length 0 returns before any check; the range checks come before the test for equal
// addresses; a failed check, released, returns the destination with nothing copied.
// Addresses at the top of the address space are never touched by a correct copy.
TEST_F(MemoryPrimitiveTest, CopyMemChecksItsRangesBeforeMovingAnyByte) {
  board_.ReleaseHalts(true);
  std::array<UINT8, 32> buffer = NumberedBytes();
  const std::array<UINT8, 32> before = buffer;
  VOID *Buffer = buffer.data();
  const struct {
    const char *name;
    VOID *destination;
    VOID *source;
    UINTN length;
    std::vector<Check> checks;
  } cases[] = {
      {"length 0, both null", nullptr, nullptr, 0, {}},
      {"length 0, null source", Buffer, nullptr, 0, {}},
      {"length 0, null destination", nullptr, Buffer, 0, {}},
      {"length 0 at the top address", AddressAt(kTopAddress), Buffer, 0, {}},
      {"equal addresses", Buffer, Buffer, 13, {}},
      {"equal addresses ending on the top address",
       AddressAt(kTopAddress - 12),
       AddressAt(kTopAddress - 12),
       13,
       {}},
      {"destination one byte past the top",
       AddressAt(kTopAddress - 11),
       Buffer,
       13,
       {{"CopyMemWrapper.cpp", kDestinationRangeCheck}}},
      {"source one byte past the top",
       Buffer,
       AddressAt(kTopAddress - 11),
       13,
       {{"CopyMemWrapper.cpp", kSourceRangeCheck}}},
      {"equal addresses past the top",
       AddressAt(kTopAddress - 11),
       AddressAt(kTopAddress - 11),
       13,
       {{"CopyMemWrapper.cpp", kDestinationRangeCheck}}},
  };
  for (const auto &c : cases) {
    board_.Listener().Clear();
    EXPECT_EQ(CopyMem(c.destination, c.source, c.length), c.destination) << c.name;
    EXPECT_EQ(ReportedChecks(), c.checks) << c.name;
    EXPECT_EQ(buffer, before) << c.name;
  }
}

//
// GUIDs and unaligned 64-bit values, at odd addresses inside a byte arena.
//
constexpr size_t kArenaSize = 48;

struct Arena {
  alignas(8) UINT8 bytes[kArenaSize];
  Arena() { std::memset(bytes, 0xA5, sizeof(bytes)); }
  std::vector<UINT8> Bytes() const { return BytesOf(bytes, sizeof(bytes)); }
};

TEST_F(MemoryPrimitiveTest, CopyGuidAtOddAddressesCopiesSixteenBytesAndNothingElse) {
  Arena arena;
  for (size_t index = 0; index < 16; index++) {
    arena.bytes[1 + index] = (UINT8)(0x10 + index);
  }
  std::vector<UINT8> expected = arena.Bytes();
  std::memcpy(&expected[25], &expected[1], 16);

  auto *Destination = reinterpret_cast<EFI_GUID *>(arena.bytes + 25);
  EXPECT_EQ(CopyGuid(Destination, reinterpret_cast<const EFI_GUID *>(arena.bytes + 1)), Destination);
  EXPECT_EQ(arena.Bytes(), expected);
}

TEST_F(MemoryPrimitiveTest, CompareGuidAtOddAddressesIsFalseForADifferenceInAnyOneByte) {
  Arena arena;
  for (size_t index = 0; index < 16; index++) {
    arena.bytes[3 + index] = (UINT8)(0x10 + index);
    arena.bytes[21 + index] = (UINT8)(0x10 + index);
  }
  const auto *First = reinterpret_cast<const EFI_GUID *>(arena.bytes + 3);
  const auto *Second = reinterpret_cast<const EFI_GUID *>(arena.bytes + 21);
  EXPECT_EQ(CompareGuid(First, Second), TRUE);

  for (size_t index = 0; index < 16; index++) {
    arena.bytes[21 + index] ^= 0x01;
    EXPECT_EQ(CompareGuid(First, Second), FALSE) << "byte " << index;
    EXPECT_EQ(CompareGuid(Second, First), FALSE) << "byte " << index;
    arena.bytes[21 + index] ^= 0x01;
  }
}

TEST_F(MemoryPrimitiveTest, Unaligned64IsLittleEndianAtEveryOddAddress) {
  for (size_t offset : {1, 3, 5, 7}) {
    Arena arena;
    for (size_t index = 0; index < 8; index++) {
      arena.bytes[offset + index] = (UINT8)(0x01 + index);
    }
    EXPECT_EQ(ReadUnaligned64(reinterpret_cast<const UINT64 *>(arena.bytes + offset)), 0x0807060504030201ull)
        << "offset " << offset;

    std::vector<UINT8> expected = Arena().Bytes();
    const UINT8 stored[8] = {0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11};
    std::memcpy(&expected[offset], stored, sizeof(stored));
    Arena target;
    EXPECT_EQ(WriteUnaligned64(reinterpret_cast<UINT64 *>(target.bytes + offset), 0x1122334455667788ull),
              0x1122334455667788ull);
    EXPECT_EQ(target.Bytes(), expected) << "offset " << offset;
  }
}

TEST_F(MemoryPrimitiveTest, Unaligned64WithNullBufferIsAFailedCheck) {
  board_.ReleaseHalts(true);
  const std::vector<Check> nullBuffer = {{"Unaligned.cpp", "Buffer != ((void *) 0)"}};
  ReadUnaligned64(nullptr);
  EXPECT_EQ(ReportedChecks(), nullBuffer);
  board_.Listener().Clear();
  WriteUnaligned64(nullptr, 1);
  EXPECT_EQ(ReportedChecks(), nullBuffer);
}

//
// The 16-bit MMIO store.
//
constexpr UINTN kMmioAddress = 0xFED40000; // nothing decodes it: the bus only logs the store

std::string LogText(const board::AccessLog &log) {
  std::string text;
  for (const board::Access &access : log.Entries()) {
    text += board::ToString(access) + "\n";
  }
  return text;
}

TEST_F(MemoryPrimitiveTest, MmioWrite16IsExactlyOneSixteenBitStore) {
  board_.Log().Clear();
  EXPECT_EQ(MmioWrite16(kMmioAddress + 2, 0xBEEF), 0xBEEF);
  const std::vector<board::Access> expected = {{board::AccessKind::MmioWrite, kMmioAddress + 2, 2, 0xBEEF}};
  EXPECT_EQ(board_.Log().Entries(), expected) << LogText(board_.Log());
  EXPECT_TRUE(board_.Listener().Records().empty());
}

TEST_F(MemoryPrimitiveTest, MmioWrite16AtAnOddAddressFailsBeforeTheStore) {
  board_.Log().Clear();
  auto assertion = RunToHalt(board_, [] { MmioWrite16(kMmioAddress + 1, 0xBEEF); });
  ASSERT_TRUE(assertion);
  EXPECT_EQ(assertion->file, "IoLib.cpp");
  EXPECT_EQ(assertion->expression, "(Address & 1) == 0");
  EXPECT_TRUE(board_.Log().Entries().empty()) << LogText(board_.Log());
}

} // namespace
