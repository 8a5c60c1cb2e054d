// Configuration-table GUID of the DXE services table.
#ifndef GUID_DXE_SERVICES_H_
#define GUID_DXE_SERVICES_H_

#include "Base.h"

inline constexpr EFI_GUID gEfiDxeServicesTableGuid = {
    0x05AD34BA, 0x6F02, 0x4214, {0x95, 0x2E, 0x4D, 0xA0, 0x39, 0x8E, 0x2B, 0xB9}};

#endif // GUID_DXE_SERVICES_H_
