// Entry point of a pre-memory module: no constructors, the module's entry function
// runs with the file handle and the services pointer the PEI core hands over.
#include "Library/ModuleEntryPoint.h"

extern "C" EFI_STATUS EFIAPI _ModulePeiEntryPoint(EFI_PEI_FILE_HANDLE FileHandle,
                                                  CONST EFI_PEI_SERVICES **PeiServices) {
  return ProcessModuleEntryPointList(FileHandle, PeiServices);
}
