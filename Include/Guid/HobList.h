// Configuration-table GUID of the hand-off block list.
#ifndef GUID_HOB_LIST_H_
#define GUID_HOB_LIST_H_

#include "Base.h"

inline constexpr EFI_GUID gEfiHobListGuid = {
    0x7739F24C, 0x93D7, 0x11D4, {0x9A, 0x3A, 0x00, 0x90, 0x27, 0x3F, 0xC1, 0x4D}};

#endif // GUID_HOB_LIST_H_
