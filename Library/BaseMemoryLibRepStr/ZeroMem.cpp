// Zero fill with the processor's repeated string stores.
#include "MemLibInternal.h"

VOID *EFIAPI InternalMemZeroMem(VOID *Buffer, UINTN Length) {
  UINTN Destination = (UINTN)Buffer;
  UINTN Units = Length / sizeof(UINT64);
  UINTN Bytes = Length % sizeof(UINT64);
  __asm__ __volatile__("rep stosq" : "+D"(Destination), "+c"(Units) : "a"((UINTN)0) : "memory");
  __asm__ __volatile__("rep stosb" : "+D"(Destination), "+c"(Bytes) : "a"((UINTN)0) : "memory");
  return Buffer;
}
