// Waits for an INIT or reset to take the processor.
#include "Library/CpuPrimitives.h"

VOID EFIAPI CpuDeadLoop(VOID) {
  for (;;) {
    __asm__ __volatile__("pause");
  }
}
