// SioPolicyDxe: the SuperIO probe and the LPC policy protocol.
#ifndef SIO_POLICY_DXE_H_
#define SIO_POLICY_DXE_H_

#include "Uefi.h"

// The driver's entry function, run after the constructor.
EFI_STATUS EFIAPI InitializeLpcPolicy(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

#endif // SIO_POLICY_DXE_H_
