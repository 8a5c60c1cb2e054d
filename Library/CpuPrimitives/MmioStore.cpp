// Memory-mapped stores: one volatile access of the given width, fenced from the
// compiler's reordering of the accesses around it.
#include "Library/CpuPrimitives.h"

VOID EFIAPI MmioStore8(UINTN Address, UINT8 Value) {
  __asm__ __volatile__("" : : : "memory");
  *(volatile UINT8 *)Address = Value;
  __asm__ __volatile__("" : : : "memory");
}

VOID EFIAPI MmioStore16(UINTN Address, UINT16 Value) {
  __asm__ __volatile__("" : : : "memory");
  *(volatile UINT16 *)Address = Value;
  __asm__ __volatile__("" : : : "memory");
}

VOID EFIAPI MmioStore32(UINTN Address, UINT32 Value) {
  __asm__ __volatile__("" : : : "memory");
  *(volatile UINT32 *)Address = Value;
  __asm__ __volatile__("" : : : "memory");
}
