// The DXE services table, from the configuration table.
#include "Library/DxeServicesTableLib.h"
#include "Guid/DxeServices.h"
#include "Library/DebugLib.h"
#include "Library/UefiLib.h"

EFI_DXE_SERVICES *gDS = nullptr;

EFI_STATUS EFIAPI DxeServicesTableLibConstructor(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  (VOID) ImageHandle;
  (VOID) SystemTable;
  EFI_STATUS Status = LocateConfigurationTable(&gEfiDxeServicesTableGuid, (VOID **)&gDS);
  ASSERT_EFI_ERROR(Status);
  ASSERT_OR_RETURN(gDS != NULL_POINTER, EFI_NOT_FOUND);
  return EFI_SUCCESS;
}
