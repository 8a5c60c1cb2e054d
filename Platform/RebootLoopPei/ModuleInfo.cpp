// What the build fixes for RebootLoopPei: its caller id and its debug level mask.
#include "Guid/CallerIds.h"
#include "Library/DebugLib.h"
#include "Library/ModuleEntryPoint.h"
#include "Library/ReportStatusCodeLib.h"
#include "RebootLoopPei.h"

CONST EFI_GUID gEfiCallerIdGuid = gRebootLoopPeiCallerIdGuid;
CONST UINT32 DEBUG_LEVEL_MASK = 0x80400042;

EFI_STATUS EFIAPI ProcessModuleEntryPointList(EFI_PEI_FILE_HANDLE FileHandle,
                                              CONST EFI_PEI_SERVICES **PeiServices) {
  return RebootLoopPeiEntry(FileHandle, PeiServices);
}
