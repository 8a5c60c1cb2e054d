// CopyMem: the checks of the public copy, then the string-instruction copy.
#include "Library/BaseMemoryLib.h"
#include "Library/DebugLib.h"
#include "MemLibInternal.h"

VOID *EFIAPI CopyMem(VOID *DestinationBuffer, CONST VOID *SourceBuffer, UINTN Length) {
  if (Length == 0) {
    return DestinationBuffer;
  }
  ASSERT_OR_RETURN((Length - 1) <= (MAX_ADDRESS - (UINTN)DestinationBuffer), DestinationBuffer);
  ASSERT_OR_RETURN((Length - 1) <= (MAX_ADDRESS - (UINTN)SourceBuffer), DestinationBuffer);

  if (DestinationBuffer == SourceBuffer) {
    return DestinationBuffer;
  }
  return InternalMemCopyMem(DestinationBuffer, SourceBuffer, Length);
}
