// GUID copy and compare as two unaligned 64-bit halves.
#include "Library/BaseLib.h"
#include "Library/BaseMemoryLib.h"

EFI_GUID *EFIAPI CopyGuid(EFI_GUID *DestinationGuid, CONST EFI_GUID *SourceGuid) {
  WriteUnaligned64((UINT64 *)DestinationGuid, ReadUnaligned64((CONST UINT64 *)SourceGuid));
  WriteUnaligned64((UINT64 *)DestinationGuid + 1, ReadUnaligned64((CONST UINT64 *)SourceGuid + 1));
  return DestinationGuid;
}

BOOLEAN EFIAPI CompareGuid(CONST EFI_GUID *Guid1, CONST EFI_GUID *Guid2) {
  UINT64 LowPartOfGuid1 = ReadUnaligned64((CONST UINT64 *)Guid1);
  UINT64 LowPartOfGuid2 = ReadUnaligned64((CONST UINT64 *)Guid2);
  UINT64 HighPartOfGuid1 = ReadUnaligned64((CONST UINT64 *)Guid1 + 1);
  UINT64 HighPartOfGuid2 = ReadUnaligned64((CONST UINT64 *)Guid2 + 1);
  return (BOOLEAN)(LowPartOfGuid1 == LowPartOfGuid2 && HighPartOfGuid1 == HighPartOfGuid2);
}
