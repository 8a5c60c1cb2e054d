// State of the boot-services status-code reporter.
#ifndef DXE_REPORT_STATUS_CODE_LIB_INTERNAL_H_
#define DXE_REPORT_STATUS_CODE_LIB_INTERNAL_H_

#include "Protocol/StatusCode.h"

// The status-code protocol, none until the first code reported after the platform
// installed it; kept for the life of the driver.
extern EFI_STATUS_CODE_PROTOCOL *mStatusCodeProtocol;

#endif // DXE_REPORT_STATUS_CODE_LIB_INTERNAL_H_
