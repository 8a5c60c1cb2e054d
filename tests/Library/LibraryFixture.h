// A board prepared so that the library, linked into the test module, reaches it: in
// the 64-bit build the service globals point at the board's tables and the status-code
// protocol is installed; in the 32-bit build the PEI services pointer sits below the
// board's IDT.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "BoardFixture.h"

// A failed check as its record names it.
struct Check {
  std::string file;
  std::string expression;
  bool operator==(const Check &) const = default;
};

inline std::ostream &operator<<(std::ostream &out, const Check &check) {
  return out << check.file << ": " << check.expression;
}

class LibraryTest : public ::testing::Test {
protected:
  LibraryTest();
  ~LibraryTest() override;

  // Payload bytes (after the 20-byte data header) of every record the listener kept.
  std::vector<std::vector<uint8_t>> Payloads() const;
  const board::StatusCodeRecord &LastRecord() const;
  // Every failed check on record, in order.
  std::vector<Check> ReportedChecks() const;

  board::Board board_;
};

// The natural width of this build in bytes: the slot of a 32-bit argument, a pointer,
// a status.
inline constexpr size_t kSlot = sizeof(UINTN);
