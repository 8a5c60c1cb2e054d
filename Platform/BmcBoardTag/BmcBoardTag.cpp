// BmcBoardTag entry function.
#include "BmcBoardTag.h"
#include "Library/DebugLib.h"

EFI_STATUS EFIAPI BmcBoardTagEntry(EFI_PEI_FILE_HANDLE FileHandle, CONST EFI_PEI_SERVICES **PeiServices) {
  (VOID) FileHandle;
  (VOID) PeiServices;
  DebugMessage(DEBUG_ERROR, "Bmc_BoardTag: Start \n");
  return EFI_SUCCESS;
}
