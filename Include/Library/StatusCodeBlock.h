// What both status-code reporters share: which classes of code are handed on, and how
// a data block is laid out behind its header.
#ifndef STATUS_CODE_BLOCK_H_
#define STATUS_CODE_BLOCK_H_

#include "Guid/StatusCodeDataTypeId.h"
#include "Library/BaseMemoryLib.h"
#include "Pi/StatusCode.h"

// Progress, error and debug codes are reported; any other class is not.
inline BOOLEAN IsReportedStatusCodeClass(EFI_STATUS_CODE_TYPE Type) {
  UINT32 Class = Type & EFI_STATUS_CODE_TYPE_MASK;
  return (BOOLEAN)(Class == EFI_PROGRESS_CODE || Class == EFI_ERROR_CODE || Class == EFI_DEBUG_CODE);
}

// Writes the header (size 20, the data size, DataGuid or the code-specific data GUID)
// and copies ExtendedDataSize bytes of ExtendedData, when present, behind it. Block
// holds at least 20 + ExtendedDataSize bytes; ExtendedDataSize fits 16 bits.
inline VOID FillStatusCodeBlock(EFI_STATUS_CODE_DATA *Block, CONST EFI_GUID *DataGuid,
                                CONST VOID *ExtendedData, UINTN ExtendedDataSize) {
  Block->HeaderSize = (UINT16)sizeof(EFI_STATUS_CODE_DATA);
  Block->Size = (UINT16)ExtendedDataSize;
  CopyGuid(&Block->Type, DataGuid != nullptr ? DataGuid : &gEfiStatusCodeSpecificDataGuid);
  if (ExtendedData != nullptr) {
    CopyMem(Block + 1, ExtendedData, ExtendedDataSize);
  }
}

#endif // STATUS_CODE_BLOCK_H_
