// Status codes of the boot-services drivers, handed to the status-code protocol. The
// data block comes from pool at TPL_NOTIFY and below, from the stack above.
#include "Library/ReportStatusCodeLib.h"
#include "Library/DebugLib.h"
#include "Library/StatusCodeBlock.h"
#include "Library/UefiBootServicesTableLib.h"
#include "ReportStatusCodeLibInternal.h"

EFI_STATUS_CODE_PROTOCOL *mStatusCodeProtocol = nullptr;

static EFI_STATUS SendStatusCode(EFI_STATUS_CODE_TYPE Type, EFI_STATUS_CODE_VALUE Value, UINT32 Instance,
                                 CONST EFI_GUID *CallerId, CONST EFI_STATUS_CODE_DATA *Data) {
  if (!IsReportedStatusCodeClass(Type)) {
    return EFI_UNSUPPORTED;
  }

  if (mStatusCodeProtocol == nullptr) {
    if (gBS == nullptr || gBS->LocateProtocol == nullptr) {
      return EFI_UNSUPPORTED;
    }
    EFI_STATUS Status = gBS->LocateProtocol((EFI_GUID *)&gEfiStatusCodeRuntimeProtocolGuid, nullptr,
                                            (VOID **)&mStatusCodeProtocol);
    if (EFI_ERROR(Status)) {
      mStatusCodeProtocol = nullptr;
    }
    if (mStatusCodeProtocol == nullptr) {
      return EFI_UNSUPPORTED;
    }
  }
  return mStatusCodeProtocol->ReportStatusCode(Type, Value, Instance, CallerId, Data);
}

EFI_STATUS EFIAPI ReportStatusCodeWithData(EFI_STATUS_CODE_TYPE Type, EFI_STATUS_CODE_VALUE Value,
                                           CONST EFI_GUID *DataGuid, CONST VOID *ExtendedData,
                                           UINTN ExtendedDataSize) {
  ASSERT(!((ExtendedData == NULL_POINTER) && (ExtendedDataSize != 0)));
  ASSERT(!((ExtendedData != NULL_POINTER) && (ExtendedDataSize == 0)));
  if (ExtendedData == nullptr) {
    ExtendedDataSize = 0; // never describe bytes that are not there
  }
  // The header's 16-bit size field cannot describe more.
  if (ExtendedDataSize > MAX_UINT16) {
    return EFI_INVALID_PARAMETER;
  }

  if (gBS == nullptr || gBS->AllocatePool == nullptr || gBS->FreePool == nullptr) {
    return EFI_UNSUPPORTED;
  }

  // The current priority, found by raising to the top and restoring at once.
  EFI_TPL Tpl = gBS->RaiseTPL(TPL_HIGH_LEVEL);
  gBS->RestoreTPL(Tpl);

  UINT64 Buffer[STATUS_CODE_STACK_BLOCK_SIZE / sizeof(UINT64)];
  EFI_STATUS_CODE_DATA *StatusCodeData = nullptr;
  if (Tpl <= TPL_NOTIFY) {
    if (EFI_ERROR(gBS->AllocatePool(EfiBootServicesData, sizeof(EFI_STATUS_CODE_DATA) + ExtendedDataSize,
                                    (VOID **)&StatusCodeData))) {
      StatusCodeData = nullptr;
    }
  }
  BOOLEAN FromPool = StatusCodeData != nullptr;
  if (!FromPool) {
    if (ExtendedDataSize > STATUS_CODE_MAX_STACK_DATA) {
      DebugMessage(DEBUG_ERROR, "Status code extended data is too large to be reported!\n");
      return EFI_OUT_OF_RESOURCES;
    }
    StatusCodeData = (EFI_STATUS_CODE_DATA *)Buffer;
  }

  FillStatusCodeBlock(StatusCodeData, DataGuid, ExtendedData, ExtendedDataSize);

  EFI_STATUS Status = SendStatusCode(Type, Value, 0, &gEfiCallerIdGuid, StatusCodeData);

  if (FromPool) {
    gBS->FreePool(StatusCodeData);
  }
  return Status;
}
