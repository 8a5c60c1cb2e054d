// The interrupt descriptor table register, read for the PEI services pointer.
#include "Library/BaseLib.h"
#include "Library/DebugLib.h"

VOID EFIAPI ReadIdtr(IA32_DESCRIPTOR *Idtr) {
  ASSERT_OR_RETURN(Idtr != NULL_POINTER, );
  CpuStoreIdtr(Idtr);
}
