// RebootLoopDxe entry function.
#include "RebootLoopDxe.h"

EFI_STATUS EFIAPI RebootLoopDxeEntry(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  (VOID) ImageHandle;
  (VOID) SystemTable;
  return EFI_SUCCESS;
}
