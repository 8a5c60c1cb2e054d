// The hand-off block list of the boot-services phase, found in the configuration
// table. Nothing in this tree walks it there; its presence is checked at load.
#ifndef HOB_LIB_H_
#define HOB_LIB_H_

#include "Uefi.h"

// Finds the HOB list; asserts when the lookup fails or yields null.
EFI_STATUS EFIAPI DxeHobLibConstructor(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

// The start of the HOB list found by the constructor.
VOID *EFIAPI GetHobList(VOID);

#endif // HOB_LIB_H_
