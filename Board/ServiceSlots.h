// Filling the members of a firmware service table with one function.
#pragma once

#include <cstddef>
#include <cstring>

namespace board {

// Stores function in every pointer-sized member of table from byte offset first up to
// end. The service tables are arrays of function pointers after their header, so the
// board first points every member at a stub that reports the unexpected call.
template <class Table, class Function>
void FillServiceSlots(Table *table, size_t first, size_t end, Function *function) {
  auto *bytes = reinterpret_cast<unsigned char *>(table);
  for (size_t offset = first; offset + sizeof(function) <= end; offset += sizeof(function)) {
    std::memcpy(bytes + offset, &function, sizeof(function));
  }
}

} // namespace board
