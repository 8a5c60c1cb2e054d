// Debug records and assertion records, byte for byte, in the width of the build.
#include <cstring>
#include <functional>
#include <string>

#include "Guid/StatusCodeDataTypeId.h"
#include "Library/DebugLib.h"
#include "Library/ReportStatusCodeLib.h"
#include "LibraryFixture.h"

namespace {

struct Slot {
  size_t size;
  uint64_t value;
};

// The payload a module must report for a debug message: level, the argument area with
// the given slots packed from its start (the rest zero), the format and its NUL.
std::vector<uint8_t> DebugPayload(uint32_t level, const std::vector<Slot> &slots, const std::string &format) {
  std::vector<uint8_t> payload(DEBUG_RECORD_FIXED_SIZE, 0);
  std::memcpy(payload.data(), &level, sizeof(level));
  size_t offset = 4;
  for (const Slot &slot : slots) {
    for (size_t index = 0; index < slot.size; index++) {
      payload.at(offset + index) = static_cast<uint8_t>(slot.value >> (8 * index));
    }
    offset += slot.size;
  }
  payload.insert(payload.end(), format.begin(), format.end());
  payload.push_back(0);
  return payload;
}

uint64_t Address(const void *pointer) {
  return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
}

class DebugLibTest : public LibraryTest {};

TEST_F(DebugLibTest, DebugRecordCarriesTypeValueGuidAndCallerId) {
  DebugMessage(DEBUG_ERROR, "Entry Start\n");

  const board::StatusCodeRecord &record = LastRecord();
  EXPECT_EQ(record.type, EFI_DEBUG_CODE);
  EXPECT_EQ(record.value, 0x03050000u);
  EXPECT_EQ(record.instance, 0u);
  EXPECT_TRUE(SameGuid(record.callerId, kTestModuleCallerId)) << GuidText(record.callerId);
  EXPECT_TRUE(SameGuid(record.DataType(), gEfiStatusCodeDataTypeDebugGuid)) << GuidText(record.DataType());
  ASSERT_GE(record.data.size(), 4u);
  EXPECT_EQ(record.data[0] | record.data[1] << 8, 20);                 // header size
  EXPECT_EQ(size_t(record.data[2] | record.data[3] << 8), 101u + 12u); // n + 101
  EXPECT_EQ(record.Payload(), DebugPayload(DEBUG_ERROR, {}, "Entry Start\n"));
}

// Each case sends one message with a run-time format; the record must hold exactly
// these slots. kSlot is 8 in 64-bit modules and 4 in 32-bit modules.
TEST_F(DebugLibTest, ArgumentsArePackedInTheSlotsOfTheModuleWidth) {
  static const CHAR8 kText[] = "text";
  static const CHAR16 kWide[] = u"wide";
  static const EFI_GUID kGuid = kTestModuleCallerId;
  struct Case {
    const char *format;
    std::function<void(const char *)> send;
    std::vector<Slot> slots;
  };
  const Case cases[] = {
      {"%d", [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, -5); }, {{kSlot, 0xFFFFFFFBu}}},
      {"%ld",
       [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, (INT64)-5); },
       {{8, 0xFFFFFFFFFFFFFFFBull}}},
      {"%x and %LX",
       [](const char *f) {
         DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, 0x12345678u, 0x1122334455667788ull);
       },
       {{kSlot, 0x12345678u}, {8, 0x1122334455667788ull}}},
      {"%u%u",
       [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, 1u, 2u); },
       {{kSlot, 1}, {kSlot, 2}}},
      {"%p",
       [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, (void *)0x1234); },
       {{kSlot, 0x1234}}},
      {"%lp",
       [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, (UINT64)0xABCD); },
       {{8, 0xABCD}}},
      {"%*d",
       [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, (UINTN)7, 42); },
       {{kSlot, 7}, {kSlot, 42}}},
      {"%-08.3x|%+ 5d",
       [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, 0xABu, 3); },
       {{kSlot, 0xAB}, {kSlot, 3}}},
      {"%a %s %S %g %t",
       [](const char *f) {
         DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, kText, kWide, kWide, &kGuid, (void *)0x10);
       },
       {{kSlot, Address(kText)},
        {kSlot, Address(kWide)},
        {kSlot, Address(kWide)},
        {kSlot, Address(&kGuid)},
        {kSlot, 0x10}}},
      {"%c%r",
       [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, (UINTN)'A', EFI_NOT_FOUND); },
       {{kSlot, 'A'}, {kSlot, EFI_NOT_FOUND}}},
      // No argument: a doubled '%', a conversion the record does not know, a format
      // ending in a bare '%' or in "%l".
      {"100%% done %f", [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, 1); }, {}},
      {"tail %", [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, 1); }, {}},
      {"tail %l", [](const char *f) { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{f}, 1); }, {}},
  };
  for (const Case &c : cases) {
    board_.Listener().Clear();
    c.send(c.format);
    ASSERT_EQ(board_.Listener().Records().size(), 1u) << c.format;
    EXPECT_EQ(LastRecord().Payload(), DebugPayload(DEBUG_ERROR, c.slots, c.format)) << c.format;
  }
}

TEST_F(DebugLibTest, FormatLongerThan103CharactersIsDroppedSilently) {
  const std::string longest(103, 'x');
  DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{longest.c_str()});
  ASSERT_EQ(board_.Listener().Records().size(), 1u);
  EXPECT_EQ(LastRecord().Payload().size(), 204u);
  EXPECT_EQ(LastRecord().Payload(), DebugPayload(DEBUG_ERROR, {}, longest));

  const std::string tooLong(104, 'x');
  DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{tooLong.c_str()});
  EXPECT_EQ(board_.Listener().Records().size(), 1u);
  EXPECT_EQ(board_.HaltCount(), 0u);
}

TEST_F(DebugLibTest, LevelMustShareABitWithTheMask) {
  const struct {
    UINTN level;
    bool reported;
  } cases[] = {{0x80000000, true},  {0x00400000, true},  {0x00000040, true}, {0x00000002, true},
               {0x00000100, false}, {0x00000001, false}, {0x7FBFFFBD, false}};
  for (const auto &c : cases) {
    board_.Listener().Clear();
    DebugMessage(c.level, "level\n");
    EXPECT_EQ(board_.Listener().Records().size(), c.reported ? 1u : 0u) << std::hex << c.level;
  }
}

// The argument area holds 96 bytes: twelve 8-byte slots in 64-bit modules, twenty-four
// 4-byte slots in 32-bit modules. One argument more is a failed check and no message.
TEST_F(DebugLibTest, ArgumentAreaOverflowAssertsAndDropsTheMessage) {
  const size_t fit = DEBUG_ARGUMENT_AREA_SIZE / kSlot;
  auto send = [](const std::string &format) {
    DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{format.c_str()}, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,
                 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25);
  };
  std::string format;
  std::vector<Slot> slots;
  for (size_t index = 0; index < fit; index++) {
    format += "%d";
    slots.push_back({kSlot, index + 1});
  }
  send(format);
  ASSERT_EQ(board_.Listener().Records().size(), 1u);
  EXPECT_EQ(LastRecord().Payload(), DebugPayload(DEBUG_ERROR, slots, format));

  board_.Listener().Clear();
  auto assertion = RunToHalt(board_, [&] { send(format + "%d"); });
  ASSERT_TRUE(assertion);
  EXPECT_EQ(assertion->file, "DebugLib.cpp");
  EXPECT_EQ(assertion->expression, "(CHAR8 *)BaseListMarker <= FormatString");

  // A debugger letting the halt go sees the message dropped.
  board_.Listener().Clear();
  board_.ReleaseHalts(true);
  send(format + "%d");
  ASSERT_EQ(board_.Listener().Records().size(), 1u);
  EXPECT_TRUE(board_.Listener().DecodeAssertion(LastRecord()).has_value());
}

TEST_F(DebugLibTest, NullFormatIsAFailedCheck) {
  auto assertion = RunToHalt(board_, [] { DebugMessage(DEBUG_ERROR, RUNTIME_FORMAT{nullptr}); });
  ASSERT_TRUE(assertion);
  EXPECT_EQ(assertion->file, "DebugLib.cpp");
  EXPECT_EQ(assertion->expression, "Format != ((void *) 0)");
}

TEST_F(DebugLibTest, AssertEfiErrorReportsTheStatusThenTheCheck) {
  board_.ReleaseHalts(true);
  EFI_STATUS Status = EFI_WARN_BUFFER_TOO_SMALL;
  ASSERT_EFI_ERROR(Status);
  Status = EFI_SUCCESS;
  ASSERT_EFI_ERROR(Status);
  EXPECT_TRUE(board_.Listener().Records().empty()) << "success and warnings pass";

  Status = EFI_NOT_FOUND;
  ASSERT_EFI_ERROR(Status);
  const unsigned line = __LINE__ - 1;
  ASSERT_EQ(board_.Listener().Records().size(), 2u);
  EXPECT_EQ(Payloads()[0],
            DebugPayload(DEBUG_ERROR, {{kSlot, EFI_NOT_FOUND}}, "\nASSERT_EFI_ERROR (Status = %r)\n"));
  auto assertion = board_.Listener().DecodeAssertion(board_.Listener().Records()[1]);
  ASSERT_TRUE(assertion);
  EXPECT_EQ(assertion->file, "DebugLibTests.cpp");
  EXPECT_EQ(assertion->line, line);
  EXPECT_EQ(assertion->expression, "!EFI_ERROR (Status)");
  EXPECT_EQ(board_.HaltCount(), 1u);
}

//
// Assertion records.
//
constexpr size_t kAssertionFixedBlock = sizeof(UINTN) == 8 ? 40 : 32;

std::vector<uint8_t> AssertionPayload(uint32_t line, const std::string &file, const std::string &expression) {
  std::vector<uint8_t> payload(kAssertionFixedBlock, 0);
  std::memcpy(&payload[20], &line, sizeof(line));
  payload.insert(payload.end(), file.begin(), file.end());
  payload.push_back(0);
  payload.insert(payload.end(), expression.begin(), expression.end());
  payload.push_back(0);
  return payload;
}

TEST_F(DebugLibTest, AssertionRecordHoldsLineFileAndExpression) {
  board_.ReleaseHalts(true);
  ReportAssertion("Module.c", 0x12345, "Value > 1");

  const board::StatusCodeRecord &record = LastRecord();
  EXPECT_EQ(record.type, 0x90000002u);
  EXPECT_EQ(record.value, 0x03050007u);
  EXPECT_EQ(record.instance, 0u);
  EXPECT_TRUE(SameGuid(record.callerId, kTestModuleCallerId));
  EXPECT_TRUE(SameGuid(record.DataType(), gEfiStatusCodeSpecificDataGuid)) << GuidText(record.DataType());
  EXPECT_EQ(record.Payload(), AssertionPayload(0x12345, "Module.c", "Value > 1"));
  EXPECT_EQ(board_.HaltCount(), 1u);
}

TEST_F(DebugLibTest, AssertionRecordIsCutAt200Bytes) {
  board_.ReleaseHalts(true);
  const std::string longFile(300, 'f');
  const std::string file100(100, 'g');
  const std::string expression100(100, 'e');
  const struct {
    std::string file;
    std::string expression;
    std::string keptFile;
    std::string keptExpression;
  } cases[] = {
      // The file name alone overflows: 199 - B bytes with its NUL, the expression empty.
      {longFile, "x", longFile.substr(0, 198 - kAssertionFixedBlock), ""},
      // The expression is cut to what is left after the file name.
      {file100, expression100, file100, expression100.substr(0, 200 - kAssertionFixedBlock - 101 - 1)},
      // Exactly 200 bytes: nothing cut.
      {file100, std::string(200 - kAssertionFixedBlock - 101 - 1, 'h'), file100,
       std::string(200 - kAssertionFixedBlock - 101 - 1, 'h')},
  };
  for (const auto &c : cases) {
    board_.Listener().Clear();
    ReportAssertion(c.file.c_str(), 7, c.expression.c_str());
    ASSERT_EQ(LastRecord().Payload().size(), 200u);
    EXPECT_EQ(LastRecord().Payload(), AssertionPayload(7, c.keptFile, c.keptExpression));
  }
}

//
// The reporter's own checks.
//
TEST_F(DebugLibTest, ReporterChecksThatDataAndSizeAgree) {
  static const UINT8 kData[4] = {1, 2, 3, 4};
  auto missingData =
      RunToHalt(board_, [] { ReportStatusCodeWithData(EFI_PROGRESS_CODE, 1, nullptr, nullptr, 4); });
  ASSERT_TRUE(missingData);
  EXPECT_EQ(missingData->file, "ReportStatusCodeLib.cpp");
  EXPECT_EQ(missingData->expression, "!((ExtendedData == ((void *) 0)) && (ExtendedDataSize != 0))");

  auto missingSize =
      RunToHalt(board_, [] { ReportStatusCodeWithData(EFI_PROGRESS_CODE, 1, nullptr, kData, 0); });
  ASSERT_TRUE(missingSize);
  EXPECT_EQ(missingSize->expression, "!((ExtendedData != ((void *) 0)) && (ExtendedDataSize == 0))");

  // Past a released check, a missing data block is reported as no data, never as
  // bytes that are not there.
  board_.Listener().Clear();
  board_.ReleaseHalts(true);
  EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 1, nullptr, nullptr, 4), EFI_SUCCESS);
  EXPECT_EQ(LastRecord().data.size(), sizeof(EFI_STATUS_CODE_DATA));
}

TEST_F(DebugLibTest, ReporterWrapsDataInAHeaderWithTheGivenOrDefaultGuid) {
  static const UINT8 kData[5] = {0xA, 0xB, 0xC, 0xD, 0xE};
  EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 0x1234, &gEfiStatusCodeDataTypeDebugGuid, kData, 5),
            EFI_SUCCESS);
  EXPECT_TRUE(SameGuid(LastRecord().DataType(), gEfiStatusCodeDataTypeDebugGuid));
  EXPECT_EQ(LastRecord().Payload(), BytesOf(kData, 5));
  EXPECT_EQ(LastRecord().value, 0x1234u);

  EXPECT_EQ(ReportStatusCodeWithData(EFI_ERROR_CODE, 1, nullptr, kData, 2), EFI_SUCCESS);
  EXPECT_TRUE(SameGuid(LastRecord().DataType(), gEfiStatusCodeSpecificDataGuid));
  EXPECT_EQ(LastRecord().Payload(), BytesOf(kData, 2));
}

TEST_F(DebugLibTest, OnlyProgressErrorAndDebugCodesAreSent) {
  static const UINT8 kData[1] = {1};
  for (uint32_t type : {0x00000000u, 0x00000004u, 0x000000FFu, 0x80000005u}) {
    EXPECT_EQ(ReportStatusCodeWithData(type, 1, nullptr, kData, 1), EFI_UNSUPPORTED) << std::hex << type;
  }
  EXPECT_TRUE(board_.Listener().Records().empty());
  for (uint32_t type :
       {uint32_t(EFI_PROGRESS_CODE), uint32_t(EFI_ERROR_CODE | EFI_ERROR_MAJOR), uint32_t(EFI_DEBUG_CODE)}) {
    EXPECT_EQ(ReportStatusCodeWithData(type, 1, nullptr, kData, 1), EFI_SUCCESS) << std::hex << type;
  }
  EXPECT_EQ(board_.Listener().Records().size(), 3u);
}

} // namespace
