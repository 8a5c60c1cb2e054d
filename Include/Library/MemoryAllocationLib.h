// Pool memory of the boot-services phase (EfiBootServicesData), released by its user
// with gBS->FreePool.
#ifndef MEMORY_ALLOCATION_LIB_H_
#define MEMORY_ALLOCATION_LIB_H_

#include "Uefi.h"

// Size bytes of pool, or null when the pool refuses (its status is not reported).
VOID *EFIAPI AllocateBootPool(UINTN Size);

// As AllocateBootPool, then zero-filled; null (and nothing filled) when refused.
VOID *EFIAPI AllocateZeroedBootPool(UINTN Size);

#endif // MEMORY_ALLOCATION_LIB_H_
