# Host build of the pre-memory flavour: the library and modules in 32 bits, linked with
# the virtual board and the tests.
set(FW_BUILD host32 CACHE STRING "" FORCE)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
