// RebootLoopPei entry function.
#include "RebootLoopPei.h"
#include "Library/DebugLib.h"

EFI_STATUS EFIAPI RebootLoopPeiEntry(EFI_PEI_FILE_HANDLE FileHandle, CONST EFI_PEI_SERVICES **PeiServices) {
  (VOID) FileHandle;
  (VOID) PeiServices;
  DebugMessage(DEBUG_ERROR, "RebootLoopPei Entry Start\n");
  DebugMessage(DEBUG_ERROR, "RebootLoopPei Entry End\n");
  return EFI_SUCCESS;
}
