// BmcBoardTag: the board-identity report to the BMC.
#ifndef BMC_BOARD_TAG_H_
#define BMC_BOARD_TAG_H_

#include "PiPei.h"

// The module's entry function.
EFI_STATUS EFIAPI BmcBoardTagEntry(EFI_PEI_FILE_HANDLE FileHandle, CONST EFI_PEI_SERVICES **PeiServices);

#endif // BMC_BOARD_TAG_H_
