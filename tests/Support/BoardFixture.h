// Running module code on the virtual board in a test, and reading what it left there.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Board.h"
#include "RunEnd.h"

// Caller id of the library tests' own module.
inline constexpr EFI_GUID kTestModuleCallerId = {
    0x5E1F0C3A, 0x7B42, 0x4D1E, {0x9A, 0x61, 0x2C, 0x88, 0x40, 0x17, 0xE3, 0x5B}};

enum class Outcome { Returned, Halted, Reset, Stuck };

// Runs module code and tells how its run ended.
template <class Code>
Outcome RunModuleCode(Code &&code) {
  try {
    code();
    return Outcome::Returned;
  } catch (const board::ModuleHalted &) {
    return Outcome::Halted;
  } catch (const board::BoardReset &) {
    return Outcome::Reset;
  } catch (const board::ProcessorStuck &) {
    return Outcome::Stuck;
  }
}

// Runs module code that must halt on a failed check; returns the decoded assertion it
// reported last (a test failure when it did not halt or reported none).
template <class Code>
std::optional<board::DecodedAssertion> RunToHalt(board::Board &board, Code &&code) {
  Outcome outcome = RunModuleCode(code);
  EXPECT_EQ(outcome, Outcome::Halted);
  std::vector<board::DecodedAssertion> assertions = board.Listener().Assertions();
  EXPECT_FALSE(assertions.empty()) << "the halt left no assertion record";
  if (outcome != Outcome::Halted || assertions.empty()) {
    return std::nullopt;
  }
  return assertions.back();
}

// The bytes of a buffer, for exact comparisons.
std::vector<uint8_t> BytesOf(const void *data, size_t size);
// Registry form of a GUID, for messages.
std::string GuidText(const EFI_GUID &guid);
bool SameGuid(const EFI_GUID &a, const EFI_GUID &b);
