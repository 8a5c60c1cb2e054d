// The DXE services table, found in the configuration table. Nothing in this tree
// calls through it; its presence is checked at load.
#ifndef DXE_SERVICES_TABLE_LIB_H_
#define DXE_SERVICES_TABLE_LIB_H_

#include "Uefi.h"

typedef struct EFI_DXE_SERVICES EFI_DXE_SERVICES;

extern EFI_DXE_SERVICES *gDS;

// Finds the DXE services table; asserts when the lookup fails or yields null.
EFI_STATUS EFIAPI DxeServicesTableLibConstructor(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

#endif // DXE_SERVICES_TABLE_LIB_H_
