// The runtime services of the system table.
#include "Library/UefiRuntimeServicesTableLib.h"
#include "Library/DebugLib.h"

EFI_RUNTIME_SERVICES *gRT = nullptr;

EFI_STATUS EFIAPI UefiRuntimeServicesTableLibConstructor(EFI_HANDLE ImageHandle,
                                                         EFI_SYSTEM_TABLE *SystemTable) {
  (VOID) ImageHandle;
  gRT = SystemTable->RuntimeServices;
  ASSERT_OR_RETURN(gRT != NULL_POINTER, EFI_INVALID_PARAMETER);
  return EFI_SUCCESS;
}
