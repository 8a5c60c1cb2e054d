#include "LibraryFixture.h"

std::vector<std::vector<uint8_t>> LibraryTest::Payloads() const {
  std::vector<std::vector<uint8_t>> payloads;
  for (const board::StatusCodeRecord &record : board_.Listener().Records()) {
    payloads.push_back(record.Payload());
  }
  return payloads;
}

const board::StatusCodeRecord &LibraryTest::LastRecord() const {
  static const board::StatusCodeRecord kNone{};
  const auto &records = board_.Listener().Records();
  EXPECT_FALSE(records.empty()) << "no status code was reported";
  return records.empty() ? kNone : records.back();
}

std::vector<Check> LibraryTest::ReportedChecks() const {
  std::vector<Check> checks;
  for (const board::DecodedAssertion &assertion : board_.Listener().Assertions()) {
    checks.push_back({assertion.file, assertion.expression});
  }
  return checks;
}
