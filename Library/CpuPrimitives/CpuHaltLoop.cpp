// The halt loop of a failed check; a debugger ends it by writing *Released.
#include "Library/CpuPrimitives.h"

VOID EFIAPI CpuHaltLoop(volatile UINTN *Released) {
  while (*Released == 0) {
    __asm__ __volatile__("pause");
  }
}
