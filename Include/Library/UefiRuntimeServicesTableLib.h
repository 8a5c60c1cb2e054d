// The runtime services of the system table.
#ifndef UEFI_RUNTIME_SERVICES_TABLE_LIB_H_
#define UEFI_RUNTIME_SERVICES_TABLE_LIB_H_

#include "Uefi.h"

extern EFI_RUNTIME_SERVICES *gRT;

// Sets gRT from SystemTable; asserts when it is null.
EFI_STATUS EFIAPI UefiRuntimeServicesTableLibConstructor(EFI_HANDLE ImageHandle,
                                                         EFI_SYSTEM_TABLE *SystemTable);

#endif // UEFI_RUNTIME_SERVICES_TABLE_LIB_H_
