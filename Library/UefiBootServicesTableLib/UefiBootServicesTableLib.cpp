// The driver's image handle, system table and boot services.
#include "Library/UefiBootServicesTableLib.h"
#include "Library/DebugLib.h"

EFI_HANDLE gImageHandle = nullptr;
EFI_SYSTEM_TABLE *gST = nullptr;
EFI_BOOT_SERVICES *gBS = nullptr;

EFI_STATUS EFIAPI UefiBootServicesTableLibConstructor(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  gImageHandle = ImageHandle;
  ASSERT_OR_RETURN(gImageHandle != NULL_POINTER, EFI_INVALID_PARAMETER);
  gST = SystemTable;
  ASSERT_OR_RETURN(gST != NULL_POINTER, EFI_INVALID_PARAMETER);
  gBS = SystemTable->BootServices;
  ASSERT_OR_RETURN(gBS != NULL_POINTER, EFI_INVALID_PARAMETER);
  return EFI_SUCCESS;
}
