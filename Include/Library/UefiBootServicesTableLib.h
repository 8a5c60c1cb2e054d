// The boot-services driver's image handle, system table and boot services, filled by
// the constructor before the driver's entry function runs.
#ifndef UEFI_BOOT_SERVICES_TABLE_LIB_H_
#define UEFI_BOOT_SERVICES_TABLE_LIB_H_

#include "Uefi.h"

extern EFI_HANDLE gImageHandle;
extern EFI_SYSTEM_TABLE *gST;
extern EFI_BOOT_SERVICES *gBS;

// Sets gImageHandle, gST and gBS in that order, asserting on each null value.
EFI_STATUS EFIAPI UefiBootServicesTableLibConstructor(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

#endif // UEFI_BOOT_SERVICES_TABLE_LIB_H_
