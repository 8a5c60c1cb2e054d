# Shared part of the two firmware toolchains: clang for a Windows (PE/COFF) target,
# freestanding, linked by lld-link into EFI images. Nothing from a C or C++ library is
# linked; the memcpy/memset the compiler may emit come from CompilerIntrinsicsLib.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_FLAGS_INIT "--target=${FW_TARGET_TRIPLE}")
set(CMAKE_AR llvm-ar)
set(CMAKE_RANLIB llvm-ranlib)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_CXX_OUTPUT_EXTENSION .obj)
set(CMAKE_STATIC_LIBRARY_SUFFIX .lib)
set(CMAKE_CXX_LINK_EXECUTABLE "lld-link <LINK_FLAGS> <OBJECTS> <LINK_LIBRARIES> /out:<TARGET>")
