// The PEI services pointer of a pre-memory module, kept by the PEI core in the four
// bytes below the base of the interrupt descriptor table and read anew on every use.
#ifndef PEI_SERVICES_TABLE_POINTER_LIB_H_
#define PEI_SERVICES_TABLE_POINTER_LIB_H_

#include "PiPei.h"

// The EFI_PEI_SERVICES ** value below the IDT base; asserts when it is null.
CONST EFI_PEI_SERVICES **EFIAPI ReadPeiServicesTablePointer(VOID);

// The first instance of the PPI named Guid, through the PEI services' LocatePpi;
// returns its status unchanged.
EFI_STATUS EFIAPI LocatePeiPpi(CONST EFI_GUID *Guid, VOID **Ppi);

#endif // PEI_SERVICES_TABLE_POINTER_LIB_H_
