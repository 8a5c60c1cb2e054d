// Pool memory of the boot-services phase.
#include "Library/MemoryAllocationLib.h"
#include "Library/BaseMemoryLib.h"
#include "Library/UefiBootServicesTableLib.h"

VOID *EFIAPI AllocateBootPool(UINTN Size) {
  VOID *Memory;
  EFI_STATUS Status = gBS->AllocatePool(EfiBootServicesData, Size, &Memory);
  if (EFI_ERROR(Status)) {
    return nullptr;
  }
  return Memory;
}

VOID *EFIAPI AllocateZeroedBootPool(UINTN Size) {
  VOID *Memory = AllocateBootPool(Size);
  if (Memory != nullptr) {
    Memory = ZeroMem(Memory, Size);
  }
  return Memory;
}
