// Copy with the processor's repeated string moves.
#include "MemLibInternal.h"

VOID *EFIAPI InternalMemCopyMem(VOID *DestinationBuffer, CONST VOID *SourceBuffer, UINTN Length) {
  UINTN Destination = (UINTN)DestinationBuffer;
  UINTN Source = (UINTN)SourceBuffer;

  if (Source >= Destination || Source + Length - 1 < Destination) {
    UINTN Units = Length / sizeof(UINTN);
    UINTN Bytes = Length % sizeof(UINTN);
#if defined(MDE_CPU_X64)
    __asm__ __volatile__("rep movsq" : "+D"(Destination), "+S"(Source), "+c"(Units) : : "memory");
#else
    __asm__ __volatile__("rep movsl" : "+D"(Destination), "+S"(Source), "+c"(Units) : : "memory");
#endif
    __asm__ __volatile__("rep movsb" : "+D"(Destination), "+S"(Source), "+c"(Bytes) : : "memory");
  } else {
    // The destination starts inside the source: copy from the last byte down.
    Destination += Length - 1;
    Source += Length - 1;
    __asm__ __volatile__("std\n\trep movsb\n\tcld"
                         : "+D"(Destination), "+S"(Source), "+c"(Length)
                         :
                         : "memory", "cc");
  }
  return DestinationBuffer;
}
