// What the build fixes for SioPolicyDxe: its caller id, its debug level mask and the
// constructor that fills its service globals.
#include "Guid/CallerIds.h"
#include "Library/DebugLib.h"
#include "Library/ModuleEntryPoint.h"
#include "Library/ReportStatusCodeLib.h"
#include "Library/UefiBootServicesTableLib.h"
#include "SioPolicyDxe.h"

CONST EFI_GUID gEfiCallerIdGuid = gSioPolicyDxeCallerIdGuid;
CONST UINT32 DEBUG_LEVEL_MASK = 0x80400042;

EFI_STATUS EFIAPI RunLibraryConstructors(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  static CONST LIBRARY_CONSTRUCTOR Constructors[] = {
      UefiBootServicesTableLibConstructor, // gImageHandle, gST, gBS
  };
  return RunConstructorList(Constructors, ARRAY_SIZE(Constructors), ImageHandle, SystemTable);
}

EFI_STATUS EFIAPI ProcessModuleEntryPointList(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  return InitializeLpcPolicy(ImageHandle, SystemTable);
}
