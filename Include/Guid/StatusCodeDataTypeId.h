// GUIDs naming the format of status-code extended data.
#ifndef GUID_STATUS_CODE_DATA_TYPE_ID_H_
#define GUID_STATUS_CODE_DATA_TYPE_ID_H_

#include "Base.h"

// Debug message record: level, packed arguments, unexpanded format.
inline constexpr EFI_GUID gEfiStatusCodeDataTypeDebugGuid = {
    0x9A4E9246, 0xD553, 0x11D5, {0x87, 0xE2, 0x00, 0x06, 0x29, 0x45, 0xC3, 0xB9}};

// Data specific to the code; assertion records and data reported without a GUID.
inline constexpr EFI_GUID gEfiStatusCodeSpecificDataGuid = {
    0x335984BD, 0xE805, 0x409A, {0xB8, 0xF8, 0xD2, 0x7E, 0xCE, 0x5F, 0xF7, 0xA6}};

#endif // GUID_STATUS_CODE_DATA_TYPE_ID_H_
