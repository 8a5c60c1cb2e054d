// What the build fixes for BmcBoardTag: its caller id and its debug level mask.
#include "BmcBoardTag.h"
#include "Guid/CallerIds.h"
#include "Library/DebugLib.h"
#include "Library/ModuleEntryPoint.h"
#include "Library/ReportStatusCodeLib.h"

CONST EFI_GUID gEfiCallerIdGuid = gBmcBoardTagCallerIdGuid;
CONST UINT32 DEBUG_LEVEL_MASK = 0x80400042;

EFI_STATUS EFIAPI ProcessModuleEntryPointList(EFI_PEI_FILE_HANDLE FileHandle,
                                              CONST EFI_PEI_SERVICES **PeiServices) {
  return BmcBoardTagEntry(FileHandle, PeiServices);
}
