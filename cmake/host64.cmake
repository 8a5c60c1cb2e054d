# Host build of the boot-services flavour: the library and modules in 64 bits, linked
# with the virtual board, the tests and the tools.
set(FW_BUILD host64 CACHE STRING "" FORCE)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_COMPILER gcc)
