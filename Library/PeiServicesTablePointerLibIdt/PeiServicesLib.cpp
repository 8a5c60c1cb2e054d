// PPI lookup through the PEI services pointer.
#include "Library/PeiServicesTablePointerLib.h"

EFI_STATUS EFIAPI LocatePeiPpi(CONST EFI_GUID *Guid, VOID **Ppi) {
  CONST EFI_PEI_SERVICES **PeiServices = ReadPeiServicesTablePointer();
  if (PeiServices == nullptr) {
    return EFI_NOT_FOUND; // reached only when a debugger released the pointer's check
  }
  return (*PeiServices)->LocatePpi(PeiServices, Guid, 0, nullptr, Ppi);
}
