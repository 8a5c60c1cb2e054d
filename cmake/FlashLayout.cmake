# Where the execute-in-place pre-memory images sit in flash. Each image is linked to
# run at this address and nowhere else (no relocations); the flash layout of a board
# must place the image here. The image check reads the same values.
set(FLASH_BASE_RebootLoopPei 0xFFE80000)
set(FLASH_BASE_BmcBoardTag 0xFFE90000)
