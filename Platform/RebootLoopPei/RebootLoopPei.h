// RebootLoopPei: reset cycling before and after memory initialisation.
#ifndef REBOOT_LOOP_PEI_H_
#define REBOOT_LOOP_PEI_H_

#include "PiPei.h"

// The module's entry function.
EFI_STATUS EFIAPI RebootLoopPeiEntry(EFI_PEI_FILE_HANDLE FileHandle, CONST EFI_PEI_SERVICES **PeiServices);

#endif // REBOOT_LOOP_PEI_H_
