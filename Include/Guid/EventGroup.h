// Event groups the boot manager signals.
#ifndef GUID_EVENT_GROUP_H_
#define GUID_EVENT_GROUP_H_

#include "Base.h"

inline constexpr EFI_GUID gEfiEventReadyToBootGuid = {
    0x7CE88FB3, 0x4BD7, 0x4679, {0x87, 0xA8, 0xA8, 0xD8, 0xDE, 0xE5, 0x0D, 0x2B}};

#endif // GUID_EVENT_GROUP_H_
