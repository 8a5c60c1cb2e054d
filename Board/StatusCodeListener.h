// The platform's status-code listener: keeps every status code a module reports, byte
// for byte, and turns debug and assertion records into text for people to read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "GuestMemory.h"
#include "Pi/StatusCode.h"

namespace board {

struct StatusCodeRecord {
  uint32_t type = 0;
  uint32_t value = 0;
  uint32_t instance = 0;
  EFI_GUID callerId{};
  bool hasCallerId = false;
  // The whole data block as reported: the 20-byte header, then header.Size bytes.
  // Empty when the code came without data.
  std::vector<uint8_t> data;

  // The data after the header (empty without data).
  std::vector<uint8_t> Payload() const;
  // The GUID of the data header; all zero without data.
  EFI_GUID DataType() const;
};

struct DecodedAssertion {
  std::string file;
  uint32_t line = 0;
  std::string expression;
};

class StatusCodeListener {
public:
  // width: 32 or 64, the module width whose records this listener decodes (argument
  // slot sizes and the assertion record's fixed block differ between them). Any other
  // width throws std::invalid_argument.
  StatusCodeListener(unsigned width, const GuestMemory &memory);

  // Keeps one status code. data may be null.
  void Record(uint32_t type, uint32_t value, uint32_t instance, const EFI_GUID *callerId,
              const EFI_STATUS_CODE_DATA *data);

  const std::vector<StatusCodeRecord> &Records() const { return records_; }
  void Clear() { records_.clear(); }

  // Debug records (debug class, debug-message data GUID): the format expanded with the
  // record's arguments, e.g. "RebootLoopPei Entry Start\n".
  std::optional<std::string> ExpandDebug(const StatusCodeRecord &record) const;
  // Assertion records (error class, code-specific data GUID): file, line, expression.
  std::optional<DecodedAssertion> DecodeAssertion(const StatusCodeRecord &record) const;
  // One line of text for any record: the expanded message, "ASSERT <file>(<line>): <expression>",
  // or a generic line naming type, value and caller id.
  std::string Render(const StatusCodeRecord &record) const;

  // Text of all debug records in order, concatenated.
  std::string DebugText() const;
  // The assertion records in order.
  std::vector<DecodedAssertion> Assertions() const;

private:
  unsigned width_;
  const GuestMemory &memory_;
  std::vector<StatusCodeRecord> records_;
};

} // namespace board
