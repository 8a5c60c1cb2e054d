// The store-IDTR instruction.
#include "Library/CpuPrimitives.h"

VOID EFIAPI CpuStoreIdtr(IA32_DESCRIPTOR *Idtr) {
  __asm__ __volatile__("sidt %0" : "=m"(*Idtr));
}
