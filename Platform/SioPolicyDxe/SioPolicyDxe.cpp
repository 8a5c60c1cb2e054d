// SioPolicyDxe entry function.
#include "SioPolicyDxe.h"

EFI_STATUS EFIAPI InitializeLpcPolicy(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  (VOID) ImageHandle;
  (VOID) SystemTable;
  return EFI_SUCCESS;
}
