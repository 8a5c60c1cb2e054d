// String lengths and sizes against the build-time limits, and the bounded 8-bit copy
// with every failure it reports, in the width of the build. The failed checks are run
// with the halt released, as under a debugger, so that what the code does next shows.
#include <cstring>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Library/BaseLib.h"
#include "LibraryFixture.h"

namespace {

class StringTest : public LibraryTest {
protected:
  StringTest() { board_.ReleaseHalts(true); }
};

constexpr UINTN kLimit = 1000000;

TEST_F(StringTest, LengthsAndSizesCountUpToTheLimitAndCheckEveryCharacterBeyond) {
  const std::u16string longest16(kLimit, u'w');
  const std::u16string tooLong16(kLimit + 1, u'w');
  const std::string longest8(kLimit, 'a');
  const std::string tooLong8(kLimit + 1, 'a');
  const Check unicodeLimit = {"String.cpp", "Length < _gPcd_FixedAtBuild_PcdMaximumUnicodeStringLength"};
  const Check asciiLimit = {"String.cpp", "Length < _gPcd_FixedAtBuild_PcdMaximumAsciiStringLength"};
  const Check nullString = {"String.cpp", "String != ((void *) 0)"};

  const struct {
    const char *name;
    std::function<UINTN()> measure;
    std::optional<UINTN> result; // none: the value after a released check is not defined
    std::vector<Check> checks;
  } cases[] = {
      {"StrLen empty", [] { return StrLen(u""); }, 0, {}},
      {"StrSize empty", [] { return StrSize(u""); }, 2, {}},
      {"StrLen short", [] { return StrLen(u"firmware"); }, 8, {}},
      {"StrSize short", [] { return StrSize(u"firmware"); }, 18, {}},
      {"StrLen at the limit", [&] { return StrLen(longest16.c_str()); }, kLimit, {}},
      {"StrSize at the limit", [&] { return StrSize(longest16.c_str()); }, 2 * kLimit + 2, {}},
      {"StrLen one past the limit", [&] { return StrLen(tooLong16.c_str()); }, kLimit + 1, {unicodeLimit}},
      {"StrLen null", [] { return StrLen(nullptr); }, std::nullopt, {nullString}},
      {"AsciiStrLen empty", [] { return AsciiStrLen(""); }, 0, {}},
      {"AsciiStrSize empty", [] { return AsciiStrSize(""); }, 1, {}},
      {"AsciiStrLen short", [] { return AsciiStrLen("firmware"); }, 8, {}},
      {"AsciiStrSize short", [] { return AsciiStrSize("firmware"); }, 9, {}},
      {"AsciiStrLen at the limit", [&] { return AsciiStrLen(longest8.c_str()); }, kLimit, {}},
      {"AsciiStrSize at the limit", [&] { return AsciiStrSize(longest8.c_str()); }, kLimit + 1, {}},
      {"AsciiStrLen one past the limit",
       [&] { return AsciiStrLen(tooLong8.c_str()); },
       kLimit + 1,
       {asciiLimit}},
      {"AsciiStrLen null", [] { return AsciiStrLen(nullptr); }, std::nullopt, {nullString}},
  };
  for (const auto &c : cases) {
    board_.Listener().Clear();
    UINTN result = c.measure();
    if (c.result) {
      EXPECT_EQ(result, *c.result) << c.name;
    }
    EXPECT_EQ(ReportedChecks(), c.checks) << c.name;
  }
}

// The alignment is checked once, before the scan: a released check goes on to count
// the characters at the odd address.
TEST_F(StringTest, StrLenAtAnOddAddressFailsItsAlignmentCheckOnce) {
  alignas(2) const UINT8 bytes[] = {0xEE, 'o', 0, 'd', 0, 'd', 0, 0, 0};
  const auto *Odd = reinterpret_cast<const CHAR16 *>(bytes + 1);
  EXPECT_EQ(StrLen(Odd), 3u);
  const std::vector<Check> expected = {{"String.cpp", "((UINTN) String & 0x00000001) == 0"}};
  EXPECT_EQ(ReportedChecks(), expected);
}

//
// AsciiStrCpyS. Each case places its source string in an arena of marked bytes and
// points the destination into the same arena, so that every byte the copy writes, and
// every byte it must not write, is visible.
//
constexpr size_t kArenaSize = 256;
constexpr UINT8 kMark = 0xA5;

std::string Characters(size_t count) {
  std::string text;
  for (size_t index = 0; index < count; index++) {
    text += (char)('a' + index % 26);
  }
  return text;
}

TEST_F(StringTest, AsciiStrCpySCopiesWhatFitsAndRefusesTheRestUntouched) {
  const std::string kSafeString = "SafeString.cpp";
  const std::string kOverlap =
      "InternalSafeStringNoAsciiStrOverlap (Destination, DestMax, (CHAR8 *)Source, SourceLen + 1)";
  const struct {
    const char *name;
    std::optional<size_t> destination; // offset in the arena; none: null
    UINTN destMax;
    std::optional<size_t> source; // offset in the arena; none: null
    std::string text;             // placed at the source with its terminator
    RETURN_STATUS status;
    std::optional<std::string> check; // the failed check; none on success
  } cases[] = {
      {"103 characters into 104", 0, 104, 128, Characters(103), EFI_SUCCESS, std::nullopt},
      {"short string leaves the rest of the destination", 0, 104, 128, "Entry Start\n", EFI_SUCCESS,
       std::nullopt},
      {"empty string", 0, 104, 128, "", EFI_SUCCESS, std::nullopt},
      {"104 characters into 104", 0, 104, 128, Characters(104), EFI_BUFFER_TOO_SMALL,
       "(DestMax > SourceLen)"},
      {"null destination", std::nullopt, 104, 128, "abc", EFI_INVALID_PARAMETER,
       "(Destination != ((void *) 0))"},
      {"null source", 0, 104, std::nullopt, "", EFI_INVALID_PARAMETER, "(Source != ((void *) 0))"},
      {"both null: the destination is checked first", std::nullopt, 104, std::nullopt, "",
       EFI_INVALID_PARAMETER, "(Destination != ((void *) 0))"},
      {"too long and overlapping: the size is checked first", 0, 8, 4, Characters(8), EFI_BUFFER_TOO_SMALL,
       "(DestMax > SourceLen)"},
      {"source on the destination's last byte", 0, 16, 15, "ab", EFI_ACCESS_DENIED, kOverlap},
      {"source inside the destination", 0, 16, 5, "ab", EFI_ACCESS_DENIED, kOverlap},
      {"source right after the destination", 0, 16, 16, "ab", EFI_SUCCESS, std::nullopt},
      {"destination inside the source's characters", 3, 8, 0, "abcdef", EFI_ACCESS_DENIED, kOverlap},
      {"destination on the source's terminator", 6, 8, 0, "abcdef", EFI_ACCESS_DENIED, kOverlap},
      {"destination right after the source's terminator", 7, 8, 0, "abcdef", EFI_SUCCESS, std::nullopt},
      {"equal addresses", 0, 8, 0, "abc", EFI_ACCESS_DENIED, kOverlap},
  };
  for (const auto &c : cases) {
    UINT8 arena[kArenaSize];
    std::memset(arena, kMark, sizeof(arena));
    if (c.source) {
      std::memcpy(arena + *c.source, c.text.c_str(), c.text.size() + 1);
    }
    std::vector<UINT8> expected = BytesOf(arena, sizeof(arena));
    if (!c.check) {
      std::memcpy(&expected[*c.destination], c.text.c_str(), c.text.size() + 1);
    }

    board_.Listener().Clear();
    CHAR8 *Destination = c.destination ? (CHAR8 *)arena + *c.destination : nullptr;
    const CHAR8 *Source = c.source ? (const CHAR8 *)arena + *c.source : nullptr;
    EXPECT_EQ(AsciiStrCpyS(Destination, c.destMax, Source), c.status) << c.name;
    const std::vector<Check> checks =
        c.check ? std::vector<Check>{{kSafeString, *c.check}} : std::vector<Check>{};
    EXPECT_EQ(ReportedChecks(), checks) << c.name;
    EXPECT_EQ(BytesOf(arena, sizeof(arena)), expected) << c.name;
  }
}

// The source is measured no further than DestMax characters: an unterminated source
// that fills the capacity is refused without a read past it (the sanitizer build
// would stop on one).
TEST_F(StringTest, AsciiStrCpySReadsNoFurtherThanDestMaxCharactersOfTheSource) {
  const std::vector<CHAR8> unterminated(8, 'x');
  CHAR8 destination[8] = {};
  EXPECT_EQ(AsciiStrCpyS(destination, sizeof(destination), unterminated.data()), EFI_BUFFER_TOO_SMALL);
  const std::vector<Check> expected = {{"SafeString.cpp", "(DestMax > SourceLen)"}};
  EXPECT_EQ(ReportedChecks(), expected);
  EXPECT_EQ(BytesOf(destination, sizeof(destination)), std::vector<UINT8>(8, 0));
}

} // namespace
