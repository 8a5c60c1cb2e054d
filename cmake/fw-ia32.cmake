# Firmware build of the pre-memory modules: 32-bit PE32 images, linked by lld-link.
set(FW_BUILD fw-ia32 CACHE STRING "" FORCE)
set(FW_TARGET_TRIPLE i686-unknown-windows)
set(FW_MACHINE x86)
include(${CMAKE_CURRENT_LIST_DIR}/FirmwareToolchain.cmake)
