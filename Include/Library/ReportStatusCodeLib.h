// Reporting status codes with extended data, under the module's caller id.
#ifndef REPORT_STATUS_CODE_LIB_H_
#define REPORT_STATUS_CODE_LIB_H_

#include "Base.h"
#include "Pi/StatusCode.h"

// The caller id of the module, defined in each module's own data.
extern CONST EFI_GUID gEfiCallerIdGuid;

// Wraps ExtendedData in a status-code data header (GUID DataGuid, or the
// code-specific data GUID when DataGuid is null) and reports it with instance 0.
// Asserts when ExtendedData and ExtendedDataSize disagree (one null/zero, not the
// other). Returns the status of the hand-over, or
//   EFI_UNSUPPORTED       no status-code service, or a type that is not a progress,
//                         error or debug code;
//   EFI_OUT_OF_RESOURCES  more than 492 bytes and no pool block to hold them.
EFI_STATUS EFIAPI ReportStatusCodeWithData(EFI_STATUS_CODE_TYPE Type, EFI_STATUS_CODE_VALUE Value,
                                           CONST EFI_GUID *DataGuid, CONST VOID *ExtendedData,
                                           UINTN ExtendedDataSize);

#endif // REPORT_STATUS_CODE_LIB_H_
