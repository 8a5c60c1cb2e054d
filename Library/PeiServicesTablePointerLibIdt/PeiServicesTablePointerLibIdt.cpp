// The PEI services pointer, read from the four bytes below the IDT base on every use.
#include "Library/PeiServicesTablePointerLib.h"
#include "Library/BaseLib.h"
#include "Library/DebugLib.h"
#include "PeiServicesTablePointerInternal.h"

CONST EFI_PEI_SERVICES **EFIAPI PeekPeiServicesTablePointer(VOID) {
  IA32_DESCRIPTOR Idtr;
  ReadIdtr(&Idtr);
  UINT32 Pointer;
  __builtin_memcpy(&Pointer, (CONST VOID *)(Idtr.Base - sizeof(Pointer)), sizeof(Pointer));
  return (CONST EFI_PEI_SERVICES **)(UINTN)Pointer;
}

CONST EFI_PEI_SERVICES **EFIAPI ReadPeiServicesTablePointer(VOID) {
  CONST EFI_PEI_SERVICES **PeiServices = PeekPeiServicesTablePointer();
  ASSERT(PeiServices != NULL_POINTER);
  return PeiServices;
}
