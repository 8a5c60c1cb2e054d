// The status-code listener against records built byte by byte, as 32-bit and 64-bit
// modules lay them out. Both layouts are tested in either host build: the listener's
// width parameter, not the build, picks the layout.
#include "StatusCodeListener.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using board::DecodedAssertion;
using board::StatusCodeListener;
using board::StatusCodeRecord;
using Bytes = std::vector<uint8_t>;

// Data GUIDs in their wire form (first three fields little-endian), written out here
// rather than taken from the firmware headers so that the byte order is checked too.
const Bytes kDebugGuidBytes = {0x46, 0x92, 0x4E, 0x9A, 0x53, 0xD5, 0xD5, 0x11,
                               0x87, 0xE2, 0x00, 0x06, 0x29, 0x45, 0xC3, 0xB9};
const Bytes kSpecificGuidBytes = {0xBD, 0x84, 0x59, 0x33, 0x05, 0xE8, 0x9A, 0x40,
                                  0xB8, 0xF8, 0xD2, 0x7E, 0xCE, 0x5F, 0xF7, 0xA6};

// RebootLoopPei's caller id, FC00558C-3554-4033-99FF-09949A1687A8.
constexpr EFI_GUID kCallerId = {0xFC00558C, 0x3554, 0x4033, {0x99, 0xFF, 0x09, 0x94, 0x9A, 0x16, 0x87, 0xA8}};

constexpr uint32_t kDebugType = 0x00000003;
constexpr uint32_t kAssertionType = 0x90000002;
constexpr uint32_t kProgressType = 0x00000001;
constexpr uint32_t kDebugValue = 0x03050000;
constexpr uint32_t kAssertionValue = 0x03050007;

constexpr size_t kArgumentAreaSize = 96;

void AppendLittleEndian(Bytes &out, uint64_t value, size_t size) {
  for (size_t index = 0; index < size; index++) {
    out.push_back(static_cast<uint8_t>(value >> (8 * index)));
  }
}

// A data block as the reporter hands it over: header size 20, data size, data GUID,
// then the data.
Bytes DataBlock(const Bytes &guid, const Bytes &payload) {
  Bytes block;
  AppendLittleEndian(block, 20, 2);
  AppendLittleEndian(block, payload.size(), 2);
  block.insert(block.end(), guid.begin(), guid.end());
  block.insert(block.end(), payload.begin(), payload.end());
  return block;
}

// A debug record: level 0x80000000, the argument area as given (zero-filled to 96
// bytes), the format and its terminator.
Bytes DebugPayload(const Bytes &area, const std::string &format) {
  Bytes payload = {0x00, 0x00, 0x00, 0x80};
  payload.insert(payload.end(), area.begin(), area.end());
  payload.resize(4 + kArgumentAreaSize, 0);
  payload.insert(payload.end(), format.begin(), format.end());
  payload.push_back(0);
  return payload;
}

// Module memory at guest addresses of our choosing, so the same records work in
// either host build; anything outside the placed blocks cannot be read.
class FakeMemory final : public board::GuestMemory {
public:
  void Place(uint64_t address, Bytes bytes) { blocks_[address] = std::move(bytes); }
  void PlaceAscii(uint64_t address, const std::string &text) {
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    Place(address, bytes);
  }
  void PlaceUtf16(uint64_t address, const std::u16string &text) {
    Bytes bytes;
    for (char16_t unit : text) {
      AppendLittleEndian(bytes, unit, 2);
    }
    AppendLittleEndian(bytes, 0, 2);
    Place(address, bytes);
  }

  bool Read(uint64_t address, void *out, size_t size) const override {
    for (const auto &[start, bytes] : blocks_) {
      if (address >= start && address + size <= start + bytes.size()) {
        std::memcpy(out, bytes.data() + (address - start), size);
        return true;
      }
    }
    return false;
  }

private:
  std::map<uint64_t, Bytes> blocks_;
};

// Arguments as a module's front end packs them: a 32-bit integer in a natural-width
// slot (in a 64-bit slot its upper half is left as garbage, which the listener must
// ignore), a 64-bit integer in eight bytes, a natural-width value (pointer, '*' width,
// character), a status of the module's width.
struct Arg {
  enum Kind { Int32, Int64, Natural, Error } kind;
  uint64_t value;
};
Arg I32(int64_t value) {
  return {Arg::Int32, static_cast<uint64_t>(value)};
}
Arg I64(int64_t value) {
  return {Arg::Int64, static_cast<uint64_t>(value)};
}
Arg N(int64_t value) {
  return {Arg::Natural, static_cast<uint64_t>(value)};
}
Arg Err(uint64_t code) {
  return {Arg::Error, code};
}

Bytes PackArguments(unsigned width, const std::vector<Arg> &args) {
  const size_t natural = width / 8;
  Bytes area;
  for (const Arg &arg : args) {
    switch (arg.kind) {
    case Arg::Int32:
      AppendLittleEndian(area, arg.value & 0xFFFFFFFFu, 4);
      if (width == 64) {
        AppendLittleEndian(area, 0xAAAAAAAA, 4);
      }
      break;
    case Arg::Int64:
      AppendLittleEndian(area, arg.value, 8);
      break;
    case Arg::Natural:
      AppendLittleEndian(area, arg.value, natural);
      break;
    case Arg::Error:
      AppendLittleEndian(area, arg.value | (uint64_t{1} << (width - 1)), natural);
      break;
    }
  }
  EXPECT_LE(area.size(), kArgumentAreaSize) << "more arguments than a module can pack";
  return area;
}

class StatusCodeListenerTest : public ::testing::TestWithParam<unsigned> {
protected:
  unsigned Width() const { return GetParam(); }

  const StatusCodeRecord &Report(uint32_t type, uint32_t value, const Bytes &block,
                                 const EFI_GUID *callerId = &kCallerId) {
    // The reporter's block is at least 4-byte aligned, as the header needs.
    blocks_.push_back(block);
    listener_.Record(type, value, 0, callerId,
                     reinterpret_cast<const EFI_STATUS_CODE_DATA *>(blocks_.back().data()));
    return listener_.Records().back();
  }
  const StatusCodeRecord &ReportDebug(const Bytes &area, const std::string &format) {
    return Report(kDebugType, kDebugValue, DataBlock(kDebugGuidBytes, DebugPayload(area, format)));
  }
  std::optional<std::string> Expand(const std::string &format, const std::vector<Arg> &args) {
    return listener_.ExpandDebug(ReportDebug(PackArguments(Width(), args), format));
  }
  const StatusCodeRecord &ReportAssertion(const Bytes &payload) {
    return Report(kAssertionType, kAssertionValue, DataBlock(kSpecificGuidBytes, payload));
  }
  size_t FixedBlock() const { return Width() == 64 ? 40 : 32; }

  FakeMemory memory_;
  StatusCodeListener listener_{GetParam(), memory_};
  std::vector<Bytes> blocks_;
};

INSTANTIATE_TEST_SUITE_P(Widths, StatusCodeListenerTest, ::testing::Values(32u, 64u),
                         [](const auto &info) { return "Width" + std::to_string(info.param); });

TEST_P(StatusCodeListenerTest, RecordKeepsHeaderAndExactlyTheDeclaredDataBytes) {
  // The block runs on past the size its header declares; only the declared bytes count.
  Bytes block = DataBlock(kSpecificGuidBytes, {0x01, 0x02, 0x03});
  const Bytes reported = block;
  block.insert(block.end(), {0xEE, 0xEE, 0xEE, 0xEE});

  const StatusCodeRecord &record = Report(0x80000002, 0x01020304, block);
  EXPECT_EQ(record.type, 0x80000002u);
  EXPECT_EQ(record.value, 0x01020304u);
  EXPECT_EQ(record.data, reported);
  EXPECT_EQ(record.Payload(), (Bytes{0x01, 0x02, 0x03}));
  EXPECT_EQ(record.DataType().Data1, 0x335984BDu);
  EXPECT_EQ(record.DataType().Data4[7], 0xA6);
  ASSERT_TRUE(record.hasCallerId);
  EXPECT_EQ(0, std::memcmp(&record.callerId, &kCallerId, sizeof(EFI_GUID)));

  listener_.Record(kProgressType, 0x03050001, 7, nullptr, nullptr);
  const StatusCodeRecord &bare = listener_.Records().back();
  EXPECT_EQ(bare.instance, 7u);
  EXPECT_FALSE(bare.hasCallerId);
  EXPECT_TRUE(bare.data.empty());
  EXPECT_TRUE(bare.Payload().empty());
  EXPECT_EQ(bare.DataType().Data1, 0u);
  EXPECT_EQ(listener_.Records().size(), 2u);
}

// One message with every kind of slot, its argument area written out byte by byte as
// each width's module packs it.
TEST_P(StatusCodeListenerTest, DebugRecordTakesEachArgumentFromTheSlotItsWidthPacks) {
  memory_.PlaceAscii(0x2000, "hi");
  const std::string format = "%d %lx %p %lp %*u %a %c %r\n";
  const Bytes area32 = {
      0xFB, 0xFF, 0xFF, 0xFF,                         // %d  -5
      0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11, // %lx 0x1122334455667788, low half first
      0x00, 0x10, 0x00, 0x00,                         // %p  0x1000
      0x00, 0x20, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, // %lp 0x100002000
      0x04, 0x00, 0x00, 0x00,                         // *   width 4
      0x07, 0x00, 0x00, 0x00,                         // %u  7
      0x00, 0x20, 0x00, 0x00,                         // %a  "hi" at 0x2000
      0x5A, 0x00, 0x00, 0x00,                         // %c  'Z'
      0x0E, 0x00, 0x00, 0x80,                         // %r  error 14
  };
  const Bytes area64 = {
      0xFB, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA, 0xAA, // %d  -5, upper half not part of the value
      0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11, // %lx
      0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // %p
      0x00, 0x20, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, // %lp
      0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // *
      0x07, 0x00, 0x00, 0x00, 0xAA, 0xAA, 0xAA, 0xAA, // %u
      0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // %a
      0x5A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // %c
      0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, // %r
  };
  const StatusCodeRecord &record = ReportDebug(Width() == 64 ? area64 : area32, format);
  ASSERT_EQ(record.Payload().size(), 101 + format.size());
  EXPECT_EQ(listener_.ExpandDebug(record), "-5 1122334455667788 1000 100002000    7 hi Z Not Found\n");
}

struct ExpansionCase {
  const char *format;
  std::vector<Arg> args;
  const char *expected;
};

TEST_P(StatusCodeListenerTest, DebugConversionsRenderAsPrintfWould) {
  memory_.PlaceAscii(0x3000, "board");
  memory_.PlaceUtf16(0x4000, u"Caf\u00e9 \U0001F600");
  memory_.PlaceUtf16(0x4100, u"x\xD800y"); // an unpaired surrogate
  // FC00558C-3554-4033-99FF-09949A1687A8 as it lies in memory.
  memory_.Place(0x5000, {0x8C, 0x55, 0x00, 0xFC, 0x54, 0x35, 0x33, 0x40, 0x99, 0xFF, 0x09, 0x94, 0x9A, 0x16,
                         0x87, 0xA8});
  // EFI_TIME: year 2016, month 3, day 7, 09:05:59 (seconds are not shown).
  memory_.Place(0x6000, {0xE0, 0x07, 3, 7, 9, 5, 59, 0});

  const ExpansionCase cases[] = {
      {"%d", {I32(-5)}, "-5"},
      {"%d|%u", {I32(INT32_MIN), I32(-1)}, "-2147483648|4294967295"},
      {"%x %X", {I32(0xBEEF), I32(0xBEEF)}, "beef BEEF"},
      {"%5d|%-5d|%05d|%.3d", {I32(-42), I32(-42), I32(-42), I32(5)}, "  -42|-42  |-0042|005"},
      {"%+d|% d|%08X", {I32(7), I32(7), I32(0x1F)}, "+7| 7|0000001F"},
      {"%*d|%-*d|%*d|", {N(5), I32(42), N(4), I32(7), N(-3), I32(1)}, "   42|7   |1  |"},
      {"%ld %lu", {I64(-1), I64(-1)}, "-1 18446744073709551615"},
      {"%lx %Lx", {I64(0x1122334455667788), I64(0x100000000)}, "1122334455667788 100000000"},
      {"%p", {N(0xCAFE)}, "CAFE"},
      {"%c%c%c", {N('o'), N('k'), N(0xE9)}, "ok\xC3\xA9"},
      {"100%% done", {}, "100% done"},
      {"%q %d", {I32(3)}, "%q 3"},
      {"%d 50%", {I32(1)}, "1 50%"},
      {"%d 50%l", {I32(1)}, "1 50%l"},
      {"%r|%r|%r|%r",
       {N(0), N(2), Err(14), Err(29)},
       "Success|Warning Delete Failure|Not Found|Reserved (29)"},
      {"%r", {N(6)}, "00000006"},
      {"%a|%-6a|%.3a|%7a", {N(0x3000), N(0x3000), N(0x3000), N(0x3000)}, "board|board |boa|  board"},
      {"%s|%S", {N(0x4000), N(0x4100)}, "Caf\xC3\xA9 \xF0\x9F\x98\x80|x\xEF\xBF\xBDy"},
      {"%a %s", {N(0), N(0x9999)}, "<null string> <null string>"},
      {"%g", {N(0x5000)}, "FC00558C-3554-4033-99FF-09949A1687A8"},
      {"%t", {N(0x6000)}, "03/07/2016  09:05"},
      {"%g %t", {N(0), N(0x9999)}, "<null guid> <null time>"},
  };
  for (const ExpansionCase &testCase : cases) {
    SCOPED_TRACE(testCase.format);
    EXPECT_EQ(Expand(testCase.format, testCase.args), testCase.expected);
  }
  // A status outside the name table shows its low 32 bits, so the error bit shows only
  // in the 32-bit layout: the not-available-yet status, then error 34.
  EXPECT_EQ(Expand("%r|%r", {Err(0x20000002), Err(34)}),
            Width() == 64 ? "20000002|00000022" : "A0000002|80000022");
}

TEST_P(StatusCodeListenerTest, ArgumentsPastTheAreaReadAsZero) {
  // An area full of 0x11 bytes holds 96 / slot values; the conversion after them reads
  // 0, and in the 32-bit layout so does a 64-bit value that would straddle the end, as
  // the module's own argument cursor behaves.
  const Bytes area(kArgumentAreaSize, 0x11);
  const size_t slots = kArgumentAreaSize / (Width() / 8);
  std::string format;
  std::string expected;
  for (size_t index = 0; index < slots; index++) {
    format += "%x ";
    expected += "11111111 ";
  }
  EXPECT_EQ(listener_.ExpandDebug(ReportDebug(area, format + "%x")), expected + "0");
  if (Width() == 32) {
    std::string straddling;
    for (size_t index = 0; index + 1 < slots; index++) {
      straddling += "%x ";
    }
    // The straddling read uses up the area: the 4 bytes left are not read afterwards.
    EXPECT_EQ(listener_.ExpandDebug(ReportDebug(area, straddling + "%lx %x")),
              expected.substr(0, expected.size() - 9) + "0 0");
  }
}

TEST_P(StatusCodeListenerTest, ExpandDebugRejectsRecordsThatAreNotWellFormedDebugMessages) {
  const Bytes message = DebugPayload({}, "text");
  Bytes unterminated = message;
  unterminated.back() = '!';
  const Bytes fixedPartOnly(message.begin(), message.begin() + 100);

  EXPECT_EQ(listener_.ExpandDebug(Report(kDebugType, kDebugValue, DataBlock(kDebugGuidBytes, message))),
            "text");
  EXPECT_FALSE(
      listener_.ExpandDebug(Report(kProgressType, kDebugValue, DataBlock(kDebugGuidBytes, message))));
  EXPECT_FALSE(
      listener_.ExpandDebug(Report(kDebugType, kDebugValue, DataBlock(kSpecificGuidBytes, message))));
  EXPECT_FALSE(
      listener_.ExpandDebug(Report(kDebugType, kDebugValue, DataBlock(kDebugGuidBytes, unterminated))));
  EXPECT_FALSE(
      listener_.ExpandDebug(Report(kDebugType, kDebugValue, DataBlock(kDebugGuidBytes, fixedPartOnly))));
  listener_.Record(kDebugType, kDebugValue, 0, nullptr, nullptr);
  EXPECT_FALSE(listener_.ExpandDebug(listener_.Records().back()));
}

// An assertion record written out as each width's module lays it out: the fixed
// block (garbage but for the line), the file name, the expression.
TEST_P(StatusCodeListenerTest, AssertionRecordDecodesFileLineAndExpression) {
  Bytes payload(20, 0xEE);
  AppendLittleEndian(payload, 123, 4);
  payload.resize(FixedBlock(), 0xEE);
  for (const char *text : {"RebootLoopPei.c", "Count < 3"}) {
    payload.insert(payload.end(), text, text + std::strlen(text) + 1);
  }

  const StatusCodeRecord &record = ReportAssertion(payload);
  const std::optional<DecodedAssertion> assertion = listener_.DecodeAssertion(record);
  ASSERT_TRUE(assertion);
  EXPECT_EQ(assertion->file, "RebootLoopPei.c");
  EXPECT_EQ(assertion->line, 123u);
  EXPECT_EQ(assertion->expression, "Count < 3");
  EXPECT_EQ(listener_.Render(record), "ASSERT RebootLoopPei.c(123): Count < 3");
}

TEST_P(StatusCodeListenerTest, AssertionWithEmptyExpressionDecodes) {
  // A file name too long for the record leaves the expression empty.
  Bytes payload(FixedBlock(), 0);
  payload[20] = 9;
  const std::string file(198 - FixedBlock(), 'f');
  payload.insert(payload.end(), file.begin(), file.end());
  payload.insert(payload.end(), {0, 0});
  ASSERT_EQ(payload.size(), 200u);

  const std::optional<DecodedAssertion> assertion = listener_.DecodeAssertion(ReportAssertion(payload));
  ASSERT_TRUE(assertion);
  EXPECT_EQ(assertion->file, file);
  EXPECT_EQ(assertion->line, 9u);
  EXPECT_EQ(assertion->expression, "");
}

TEST_P(StatusCodeListenerTest, TruncatedOrGarbledAssertionPayloadDecodesToNothing) {
  Bytes whole(FixedBlock(), 0);
  for (const char *text : {"A.c", "x"}) {
    whole.insert(whole.end(), text, text + std::strlen(text) + 1);
  }
  const struct {
    const char *what;
    size_t keep;
  } cuts[] = {
      {"shorter than the fixed block", FixedBlock() - 1},  {"fixed block only", FixedBlock()},
      {"file name without terminator", FixedBlock() + 3},  {"no expression", FixedBlock() + 4},
      {"expression without terminator", FixedBlock() + 5},
  };
  for (const auto &cut : cuts) {
    SCOPED_TRACE(cut.what);
    const Bytes payload(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut.keep));
    EXPECT_FALSE(listener_.DecodeAssertion(ReportAssertion(payload)));
  }
  EXPECT_TRUE(listener_.DecodeAssertion(ReportAssertion(whole)));
  EXPECT_FALSE(listener_.DecodeAssertion(Report(kProgressType, 0, DataBlock(kSpecificGuidBytes, whole))));
  EXPECT_FALSE(listener_.DecodeAssertion(Report(kAssertionType, 0, DataBlock(kDebugGuidBytes, whole))));
}

TEST_P(StatusCodeListenerTest, RenderNamesTypeValueAndCallerOfOtherCodes) {
  EXPECT_EQ(
      listener_.Render(Report(kProgressType, 0x03050001, DataBlock(kSpecificGuidBytes, {1}))),
      "STATUS CODE type 0x00000001 value 0x03050001 instance 0 caller FC00558C-3554-4033-99FF-09949A1687A8");
  // A debug-class code whose record does not decode is shown the same way.
  listener_.Record(kDebugType, kDebugValue, 2, nullptr, nullptr);
  EXPECT_EQ(listener_.Render(listener_.Records().back()),
            "STATUS CODE type 0x00000003 value 0x03050000 instance 2 caller none");
}

TEST_P(StatusCodeListenerTest, DebugTextAndAssertionsCollectTheirRecordsInOrder) {
  Bytes assertion(FixedBlock(), 0);
  assertion[20] = 42;
  for (const char *text : {"M.c", "Ok"}) {
    assertion.insert(assertion.end(), text, text + std::strlen(text) + 1);
  }
  ReportDebug(PackArguments(Width(), {I32(1)}), "first %d\n");
  Report(kProgressType, 0x03050001, DataBlock(kSpecificGuidBytes, {}));
  ReportAssertion(assertion);
  ReportDebug({}, "second\n");
  ReportAssertion(assertion);

  EXPECT_EQ(listener_.DebugText(), "first 1\nsecond\n");
  const std::vector<DecodedAssertion> assertions = listener_.Assertions();
  ASSERT_EQ(assertions.size(), 2u);
  EXPECT_EQ(assertions[0].file, "M.c");
  EXPECT_EQ(assertions[1].line, 42u);
  EXPECT_EQ(assertions[1].expression, "Ok");

  listener_.Clear();
  EXPECT_TRUE(listener_.Records().empty());
  EXPECT_EQ(listener_.DebugText(), "");
}

// Module code linked into this build reports host pointers; the listener of the
// build's own width reads the strings through them.
TEST(StatusCodeListenerNativeTest, StringsAreReadThroughHostPointers) {
  const board::NativeMemory memory;
  constexpr unsigned kNativeWidth = sizeof(void *) * 8;
  StatusCodeListener listener(kNativeWidth, memory);
  static const char ascii[] = "RebootLoopPei";
  static const char16_t utf16[] = u"Entry";

  Bytes area;
  AppendLittleEndian(area, reinterpret_cast<uintptr_t>(ascii), kNativeWidth / 8);
  AppendLittleEndian(area, reinterpret_cast<uintptr_t>(utf16), kNativeWidth / 8);
  AppendLittleEndian(area, 0, kNativeWidth / 8);
  const Bytes block = DataBlock(kDebugGuidBytes, DebugPayload(area, "%a %s Start %a\n"));
  listener.Record(kDebugType, kDebugValue, 0, &kCallerId,
                  reinterpret_cast<const EFI_STATUS_CODE_DATA *>(block.data()));

  EXPECT_EQ(listener.DebugText(), "RebootLoopPei Entry Start <null string>\n");
}

TEST(StatusCodeListenerConstructionTest, WidthOtherThan32Or64IsRejected) {
  const board::NativeMemory memory;
  EXPECT_THROW(StatusCodeListener(16, memory), std::invalid_argument);
}

} // namespace
