// Memory copy, fill and compare with the processor's string instructions, and GUID
// copy and compare at any alignment.
#ifndef BASE_MEMORY_LIB_H_
#define BASE_MEMORY_LIB_H_

#include "Base.h"

// Copies Length bytes, overlapping buffers included; returns DestinationBuffer.
// Length 0 returns at once. Asserts when either buffer would reach past the top of the
// address space.
VOID *EFIAPI CopyMem(VOID *DestinationBuffer, CONST VOID *SourceBuffer, UINTN Length);

// Writes Length zero bytes at Buffer and returns Buffer (64-bit modules). Asserts on a
// null Buffer with a non-zero Length and on a range past the top of the address space.
VOID *EFIAPI ZeroMem(VOID *Buffer, UINTN Length);

// Compares Length bytes (32-bit modules): 0 when equal, else the first differing
// destination byte minus the source byte. Equal addresses return 0 unchecked.
INTN EFIAPI CompareMem(CONST VOID *DestinationBuffer, CONST VOID *SourceBuffer, UINTN Length);

// Copies a GUID as two unaligned 64-bit halves; returns DestinationGuid.
EFI_GUID *EFIAPI CopyGuid(EFI_GUID *DestinationGuid, CONST EFI_GUID *SourceGuid);

// TRUE when all 16 bytes agree.
BOOLEAN EFIAPI CompareGuid(CONST EFI_GUID *Guid1, CONST EFI_GUID *Guid2);

#endif // BASE_MEMORY_LIB_H_
