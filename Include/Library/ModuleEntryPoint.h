// The entry glue every module links. The image's entry point is _ModuleEntryPoint;
// each module's glue supplies the two hooks below.
#ifndef MODULE_ENTRY_POINT_H_
#define MODULE_ENTRY_POINT_H_

#include "PiPei.h"
#include "Uefi.h"

// Boot-services drivers: fills the module's service globals, in the module's order.
// Returns the first failure, reached only when a debugger released a failed check.
EFI_STATUS EFIAPI RunLibraryConstructors(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

// Boot-services drivers: runs Count constructors in order and stops at the first
// failure (reached only when a debugger released a failed check); returns its status.
typedef EFI_STATUS(EFIAPI *LIBRARY_CONSTRUCTOR)(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);
EFI_STATUS EFIAPI RunConstructorList(CONST LIBRARY_CONSTRUCTOR *Constructors, UINTN Count,
                                     EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

// Boot-services drivers: the module's own entry function.
EFI_STATUS EFIAPI ProcessModuleEntryPointList(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

// Pre-memory modules: the module's own entry function.
EFI_STATUS EFIAPI ProcessModuleEntryPointList(EFI_PEI_FILE_HANDLE FileHandle,
                                              CONST EFI_PEI_SERVICES **PeiServices);

// The image entry points: constructors then the module's entry function (driver), or
// the module's entry function directly (pre-memory module).
extern "C" EFI_STATUS EFIAPI _ModuleEntryPoint(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);
extern "C" EFI_STATUS EFIAPI _ModulePeiEntryPoint(EFI_PEI_FILE_HANDLE FileHandle,
                                                  CONST EFI_PEI_SERVICES **PeiServices);

#endif // MODULE_ENTRY_POINT_H_
