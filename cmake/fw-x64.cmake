# Firmware build of the boot-services drivers: 64-bit PE32+ images, linked by lld-link.
set(FW_BUILD fw-x64 CACHE STRING "" FORCE)
set(FW_TARGET_TRIPLE x86_64-unknown-windows)
set(FW_MACHINE x64)
include(${CMAKE_CURRENT_LIST_DIR}/FirmwareToolchain.cmake)
