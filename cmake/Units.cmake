# Build rules shared by the library units and the modules.

# Options every source of the firmware tree (Include/, Library/, Platform/) compiles with.
add_library(fw_tree INTERFACE)
target_include_directories(fw_tree INTERFACE ${PROJECT_SOURCE_DIR}/Include)
target_compile_options(fw_tree INTERFACE -Wall -Wextra -Werror)

if(FW_FIRMWARE)
  # Freestanding: no library headers but the compiler's own, no exceptions, RTTI,
  # thread-safe statics, stack probes or unwind tables; small code.
  target_compile_options(fw_tree INTERFACE
    -ffreestanding -nostdlibinc -fno-exceptions -fno-rtti -fno-threadsafe-statics
    -fno-stack-protector -mno-stack-arg-probe -fno-asynchronous-unwind-tables -fno-unwind-tables
    -fno-common -ffunction-sections -fdata-sections -Os)
  if(FW_WIDTH EQUAL 32)
    # Pre-memory code runs before anything sets up SSE or the FPU.
    target_compile_options(fw_tree INTERFACE -mno-sse -mno-mmx -mno-80387)
  else()
    target_compile_options(fw_tree INTERFACE -mno-red-zone)
  endif()
else()
  # Host builds: ordinary g++, optionally under AddressSanitizer and UndefinedBehaviorSanitizer.
  option(FW_SANITIZE "build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
  if(FW_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
  target_compile_options(fw_tree INTERFACE -O1 -g)
endif()

# fw_unit(<Unit> WIDTHS <32 and/or 64> SOURCES <files...> [DEPENDS <units...>] [FIRMWARE_ONLY]
#         [SHARES_INTERNALS])
# A library unit, built only in the widths that use it. SHARES_INTERNALS lets the units
# and tests that link it include the internal headers of its folder.
function(fw_unit NAME)
  cmake_parse_arguments(U "FIRMWARE_ONLY;SHARES_INTERNALS" "" "WIDTHS;SOURCES;DEPENDS" ${ARGN})
  if(NOT FW_WIDTH IN_LIST U_WIDTHS)
    return()
  endif()
  if(U_FIRMWARE_ONLY AND NOT FW_FIRMWARE)
    return()
  endif()
  add_library(${NAME} STATIC ${U_SOURCES})
  target_link_libraries(${NAME} PUBLIC fw_tree ${U_DEPENDS})
  if(U_SHARES_INTERNALS)
    target_include_directories(${NAME} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
endfunction()

# fw_module(<Module> WIDTH <32|64> SOURCES <files...> UNITS <units...>)
# A deliverable. The firmware build links it into images/<Module>.efi; a host build
# makes it an object library that the board and the tests link.
function(fw_module NAME)
  cmake_parse_arguments(M "" "WIDTH" "SOURCES;UNITS" ${ARGN})
  if(NOT FW_WIDTH EQUAL M_WIDTH)
    return()
  endif()
  if(FW_FIRMWARE)
    # The sources compile once into an object library; every image of the module links
    # those same objects.
    add_library(${NAME}Objects OBJECT ${M_SOURCES})
    target_link_libraries(${NAME}Objects PRIVATE fw_tree ${M_UNITS})
    add_executable(${NAME})
    target_link_libraries(${NAME} PRIVATE ${NAME}Objects fw_tree ${M_UNITS} CompilerIntrinsicsLib)
    set_target_properties(${NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/images SUFFIX .efi)
    set(common /nodefaultlib /driver /subsystem:efi_boot_service_driver /align:32 /filealign:32 /opt:ref /opt:icf
               /timestamp:0 /WX)
    if(M_WIDTH EQUAL 32)
      # Executes in place at its flash address: fixed base, no relocations.
      set(flags ${common} /machine:x86 /entry:_ModulePeiEntryPoint /base:${FLASH_BASE_${NAME}} /fixed
                /dynamicbase:no /safeseh:no)
    else()
      # Loaded anywhere by the DXE core: relocatable.
      set(flags ${common} /machine:x64 /entry:_ModuleEntryPoint /dynamicbase /highentropyva:no)
      # The same objects linked at a second base, with the same flags but /base, go to
      # images/second-base/. The image check compares the two images byte by byte to
      # prove that every absolute address in the image has a base relocation.
      add_executable(${NAME}SecondBase)
      target_link_libraries(${NAME}SecondBase PRIVATE ${NAME}Objects fw_tree ${M_UNITS} CompilerIntrinsicsLib)
      set_target_properties(${NAME}SecondBase PROPERTIES OUTPUT_NAME ${NAME} SUFFIX .efi
                            RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/images/second-base)
      set(second_flags ${flags} /base:0x40000000)
      list(JOIN second_flags " " second_flags)
      set_target_properties(${NAME}SecondBase PROPERTIES LINK_FLAGS "${second_flags}")
      list(APPEND flags /base:0)
    endif()
    list(JOIN flags " " flags)
    set_target_properties(${NAME} PROPERTIES LINK_FLAGS "${flags}")
  else()
    # Objects, not an archive: the module's own definitions (caller id, constructors,
    # entry function) are linked whole into whatever test runs the module.
    add_library(${NAME} OBJECT ${M_SOURCES})
    target_link_libraries(${NAME} PUBLIC fw_tree ${M_UNITS})
  endif()
endfunction()
