// RebootLoopDxe: reset cycling at ready-to-boot and the end-of-run prompt.
#ifndef REBOOT_LOOP_DXE_H_
#define REBOOT_LOOP_DXE_H_

#include "Uefi.h"

// The driver's entry function, run after the constructors.
EFI_STATUS EFIAPI RebootLoopDxeEntry(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

#endif // REBOOT_LOOP_DXE_H_
