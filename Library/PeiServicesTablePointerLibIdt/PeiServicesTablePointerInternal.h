// Reading the PEI services pointer without the check, for the status-code path: an
// assertion there would report through the very pointer that is missing.
#ifndef PEI_SERVICES_TABLE_POINTER_INTERNAL_H_
#define PEI_SERVICES_TABLE_POINTER_INTERNAL_H_

#include "PiPei.h"

// The value below the IDT base, null included.
CONST EFI_PEI_SERVICES **EFIAPI PeekPeiServicesTablePointer(VOID);

#endif // PEI_SERVICES_TABLE_POINTER_INTERNAL_H_
