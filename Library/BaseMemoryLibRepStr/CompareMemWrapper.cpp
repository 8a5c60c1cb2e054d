// CompareMem: byte comparison, the first difference decides.
#include "Library/BaseMemoryLib.h"
#include "Library/DebugLib.h"

INTN EFIAPI CompareMem(CONST VOID *DestinationBuffer, CONST VOID *SourceBuffer, UINTN Length) {
  if (DestinationBuffer == SourceBuffer) {
    return 0;
  }
  ASSERT_OR_RETURN(DestinationBuffer != NULL_POINTER, 0);
  ASSERT_OR_RETURN((Length - 1) <= (MAX_ADDRESS - (UINTN)DestinationBuffer), 0);
  ASSERT_OR_RETURN((Length - 1) <= (MAX_ADDRESS - (UINTN)SourceBuffer), 0);

  CONST UINT8 *Destination = (CONST UINT8 *)DestinationBuffer;
  CONST UINT8 *Source = (CONST UINT8 *)SourceBuffer;
  for (UINTN Index = 0; Index < Length; Index++) {
    if (Destination[Index] != Source[Index]) {
      return (INTN)Destination[Index] - (INTN)Source[Index];
    }
  }
  return 0;
}
