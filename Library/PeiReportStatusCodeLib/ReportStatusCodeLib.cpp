// Status codes of the pre-memory modules, handed to the PEI services. Executes in
// place: no writable data, every buffer on the stack, the services pointer read anew.
#include "Library/ReportStatusCodeLib.h"
#include "Library/DebugLib.h"
#include "Library/StatusCodeBlock.h"
#include "PeiServicesTablePointerInternal.h"

static EFI_STATUS SendStatusCode(EFI_STATUS_CODE_TYPE Type, EFI_STATUS_CODE_VALUE Value, UINT32 Instance,
                                 CONST EFI_GUID *CallerId, CONST EFI_STATUS_CODE_DATA *Data) {
  if (!IsReportedStatusCodeClass(Type)) {
    return EFI_UNSUPPORTED;
  }

  // Without a services pointer there is nowhere to report to. Checking it here, not by
  // assertion, keeps the assertion that reports a missing pointer from recursing.
  CONST EFI_PEI_SERVICES **PeiServices = PeekPeiServicesTablePointer();
  if (PeiServices == nullptr) {
    return EFI_UNSUPPORTED;
  }
  EFI_STATUS Status = (*PeiServices)->ReportStatusCode(PeiServices, Type, Value, Instance, CallerId, Data);
  if (Status == EFI_NOT_AVAILABLE_YET) {
    return EFI_SUCCESS; // no listener yet: not the module's failure
  }
  return Status;
}

EFI_STATUS EFIAPI ReportStatusCodeWithData(EFI_STATUS_CODE_TYPE Type, EFI_STATUS_CODE_VALUE Value,
                                           CONST EFI_GUID *DataGuid, CONST VOID *ExtendedData,
                                           UINTN ExtendedDataSize) {
  ASSERT(!((ExtendedData == NULL_POINTER) && (ExtendedDataSize != 0)));
  ASSERT(!((ExtendedData != NULL_POINTER) && (ExtendedDataSize == 0)));
  if (ExtendedData == nullptr) {
    ExtendedDataSize = 0; // never describe bytes that are not there
  }

  if (ExtendedDataSize > STATUS_CODE_MAX_STACK_DATA) {
    DebugMessage(DEBUG_ERROR, "Status code extended data is too large to be reported!\n");
    return EFI_OUT_OF_RESOURCES;
  }

  UINT64 Buffer[STATUS_CODE_STACK_BLOCK_SIZE / sizeof(UINT64)];
  EFI_STATUS_CODE_DATA *StatusCodeData = (EFI_STATUS_CODE_DATA *)Buffer;
  FillStatusCodeBlock(StatusCodeData, DataGuid, ExtendedData, ExtendedDataSize);

  return SendStatusCode(Type, Value, 0, &gEfiCallerIdGuid, StatusCodeData);
}
