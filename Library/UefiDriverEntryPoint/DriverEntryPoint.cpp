// Entry point of a boot-services driver: the library constructors fill the service
// globals, then the module's own entry function runs and its status is returned.
#include "Library/ModuleEntryPoint.h"

extern "C" EFI_STATUS EFIAPI _ModuleEntryPoint(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  EFI_STATUS Status = RunLibraryConstructors(ImageHandle, SystemTable);
  if (EFI_ERROR(Status)) {
    return Status; // reached only when a debugger released a constructor's failed check
  }
  return ProcessModuleEntryPointList(ImageHandle, SystemTable);
}

EFI_STATUS EFIAPI RunConstructorList(CONST LIBRARY_CONSTRUCTOR *Constructors, UINTN Count,
                                     EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  for (UINTN Index = 0; Index < Count; Index++) {
    EFI_STATUS Status = Constructors[Index](ImageHandle, SystemTable);
    if (EFI_ERROR(Status)) {
      return Status;
    }
  }
  return EFI_SUCCESS;
}
