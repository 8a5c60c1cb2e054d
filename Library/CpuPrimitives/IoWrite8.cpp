// Port output: one `out` instruction.
#include "Library/CpuPrimitives.h"

UINT8 EFIAPI IoWrite8(UINTN Port, UINT8 Value) {
  __asm__ __volatile__("outb %b0, %w1" : : "a"(Value), "Nd"((UINT16)Port) : "memory");
  return Value;
}
