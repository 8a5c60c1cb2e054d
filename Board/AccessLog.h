// The ordered log of every access module code makes to the board's hardware, so
// tests can state exact sequences.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace board {

enum class AccessKind { IoRead, IoWrite, MmioRead, MmioWrite };

struct Access {
  AccessKind kind;
  uint64_t address;
  unsigned width; // bytes
  uint64_t value;

  bool operator==(const Access &) const = default;
};

std::string ToString(const Access &access);

class AccessLog {
public:
  void Add(const Access &access) { entries_.push_back(access); }
  const std::vector<Access> &Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

private:
  std::vector<Access> entries_;
};

} // namespace board
