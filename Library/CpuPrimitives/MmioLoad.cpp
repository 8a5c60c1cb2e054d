// Memory-mapped loads: one volatile access of the given width, fenced from the
// compiler's reordering of the accesses around it.
#include "Library/CpuPrimitives.h"

UINT8 EFIAPI MmioLoad8(UINTN Address) {
  __asm__ __volatile__("" : : : "memory");
  UINT8 Value = *(volatile UINT8 *)Address;
  __asm__ __volatile__("" : : : "memory");
  return Value;
}

UINT16 EFIAPI MmioLoad16(UINTN Address) {
  __asm__ __volatile__("" : : : "memory");
  UINT16 Value = *(volatile UINT16 *)Address;
  __asm__ __volatile__("" : : : "memory");
  return Value;
}

UINT32 EFIAPI MmioLoad32(UINTN Address) {
  __asm__ __volatile__("" : : : "memory");
  UINT32 Value = *(volatile UINT32 *)Address;
  __asm__ __volatile__("" : : : "memory");
  return Value;
}
