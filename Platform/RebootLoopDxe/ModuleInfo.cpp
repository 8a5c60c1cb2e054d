// What the build fixes for RebootLoopDxe: its caller id, its debug level mask and the
// constructors that fill its service globals, in order.
#include "Guid/CallerIds.h"
#include "Library/DebugLib.h"
#include "Library/DxeServicesTableLib.h"
#include "Library/HobLib.h"
#include "Library/ModuleEntryPoint.h"
#include "Library/ReportStatusCodeLib.h"
#include "Library/UefiBootServicesTableLib.h"
#include "Library/UefiRuntimeServicesTableLib.h"
#include "RebootLoopDxe.h"

CONST EFI_GUID gEfiCallerIdGuid = gRebootLoopDxeCallerIdGuid;
CONST UINT32 DEBUG_LEVEL_MASK = 0x80400042;

EFI_STATUS EFIAPI RunLibraryConstructors(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  static CONST LIBRARY_CONSTRUCTOR Constructors[] = {
      UefiBootServicesTableLibConstructor,    // gImageHandle, gST, gBS
      UefiRuntimeServicesTableLibConstructor, // gRT
      DxeHobLibConstructor,                   // mHobList
      DxeServicesTableLibConstructor,         // gDS
  };
  return RunConstructorList(Constructors, ARRAY_SIZE(Constructors), ImageHandle, SystemTable);
}

EFI_STATUS EFIAPI ProcessModuleEntryPointList(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  return RebootLoopDxeEntry(ImageHandle, SystemTable);
}
