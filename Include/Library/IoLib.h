// Port and memory-mapped I/O.
#ifndef IO_LIB_H_
#define IO_LIB_H_

#include "Base.h"
#include "Library/CpuPrimitives.h"

// One 16-bit store of Value at Address, neither split, merged nor moved; returns
// Value. Asserts on an odd Address.
UINT16 EFIAPI MmioWrite16(UINTN Address, UINT16 Value);

#endif // IO_LIB_H_
