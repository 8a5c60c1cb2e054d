// Port input: one `in` instruction.
#include "Library/CpuPrimitives.h"

UINT8 EFIAPI IoRead8(UINTN Port) {
  UINT8 Value;
  __asm__ __volatile__("inb %w1, %b0" : "=a"(Value) : "Nd"((UINT16)Port) : "memory");
  return Value;
}
