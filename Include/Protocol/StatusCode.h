// The status-code protocol of the boot-services phase.
#ifndef PROTOCOL_STATUS_CODE_H_
#define PROTOCOL_STATUS_CODE_H_

#include "Base.h"
#include "Pi/StatusCode.h"

typedef EFI_STATUS(EFIAPI *EFI_REPORT_STATUS_CODE)(EFI_STATUS_CODE_TYPE Type, EFI_STATUS_CODE_VALUE Value,
                                                   UINT32 Instance, CONST EFI_GUID *CallerId,
                                                   CONST EFI_STATUS_CODE_DATA *Data);

typedef struct {
  EFI_REPORT_STATUS_CODE ReportStatusCode;
} EFI_STATUS_CODE_PROTOCOL;

inline constexpr EFI_GUID gEfiStatusCodeRuntimeProtocolGuid = {
    0xD2B2B828, 0x0826, 0x48A7, {0xB3, 0xDF, 0x98, 0x3C, 0x00, 0x60, 0x24, 0xF0}};

#endif // PROTOCOL_STATUS_CODE_H_
