// The string-instruction work of the memory unit, after the public checks.
#ifndef MEM_LIB_INTERNAL_H_
#define MEM_LIB_INTERNAL_H_

#include "Base.h"

// Copies Length bytes: ascending in natural-width units then bytes, unless the
// destination starts inside the source above its first byte, in which case one byte
// at a time descending. Leaves the direction flag clear.
VOID *EFIAPI InternalMemCopyMem(VOID *DestinationBuffer, CONST VOID *SourceBuffer, UINTN Length);

// Writes Length zero bytes: 8-byte units then bytes, ascending.
VOID *EFIAPI InternalMemZeroMem(VOID *Buffer, UINTN Length);

#endif // MEM_LIB_INTERNAL_H_
