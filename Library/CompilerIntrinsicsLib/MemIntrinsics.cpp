// The memcpy and memset that the compiler may emit for structure copies and
// zero-initialisation. Written with string instructions so that the compiler cannot
// turn them back into calls to themselves.
#include "Base.h"

extern "C" void *memcpy(void *Destination, const void *Source, size_t Count) {
  void *Result = Destination;
  __asm__ __volatile__("rep movsb" : "+D"(Destination), "+S"(Source), "+c"(Count) : : "memory");
  return Result;
}

extern "C" void *memset(void *Destination, int Value, size_t Count) {
  void *Result = Destination;
  __asm__ __volatile__("rep stosb" : "+D"(Destination), "+c"(Count) : "a"(Value) : "memory");
  return Result;
}
