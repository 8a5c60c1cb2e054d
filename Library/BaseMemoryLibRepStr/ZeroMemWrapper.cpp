// ZeroMem: the checks of the public fill, then the string-instruction fill.
#include "Library/BaseMemoryLib.h"
#include "Library/DebugLib.h"
#include "MemLibInternal.h"

VOID *EFIAPI ZeroMem(VOID *Buffer, UINTN Length) {
  ASSERT_OR_RETURN(!(Buffer == NULL_POINTER && Length > 0), Buffer);
  ASSERT_OR_RETURN(Length <= (MAX_ADDRESS - (UINTN)Buffer + 1), Buffer);
  return InternalMemZeroMem(Buffer, Length);
}
