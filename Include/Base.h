// Base types of the firmware tree: fixed-width integers, the natural width of the
// processor, status values, GUIDs and the calling convention of firmware services.
//
// The firmware tree is freestanding: nothing here depends on a C or C++ library
// beyond the compiler's own <stdint.h>/<stddef.h>.
#ifndef BASE_H_
#define BASE_H_

#include <stddef.h>
#include <stdint.h>

//
// Processor binding. UINTN follows the width of the module: 64 bits for the
// boot-services drivers (X64), 32 bits for the pre-memory modules (IA32).
// UINT64 is spelled with `long long` because `long` is 32 bits in the firmware
// targets (LLP64) and 64 bits on the Linux host (LP64).
//
#if defined(__x86_64__)
#define MDE_CPU_X64 1
#define EFIAPI __attribute__((ms_abi))
#elif defined(__i386__)
#define MDE_CPU_IA32 1
#define EFIAPI
#else
#error "the firmware tree is built for IA32 or X64 only"
#endif

typedef unsigned long long UINT64;
typedef long long INT64;
typedef unsigned int UINT32;
typedef int INT32;
typedef unsigned short UINT16;
typedef short INT16;
typedef unsigned char UINT8;
typedef signed char INT8;
typedef unsigned char BOOLEAN;
typedef char CHAR8;
typedef char16_t CHAR16;
typedef void VOID;

#if defined(MDE_CPU_X64)
typedef unsigned long long UINTN;
typedef long long INTN;
#define MAX_BIT 0x8000000000000000ULL
#define MAX_ADDRESS 0xFFFFFFFFFFFFFFFFULL
#else
typedef unsigned int UINTN;
typedef int INTN;
#define MAX_BIT 0x80000000
#define MAX_ADDRESS 0xFFFFFFFF
#endif

static_assert(sizeof(UINT64) == 8 && sizeof(UINT32) == 4 && sizeof(UINT16) == 2 && sizeof(UINT8) == 1);
static_assert(sizeof(CHAR16) == 2 && sizeof(BOOLEAN) == 1);
static_assert(sizeof(UINTN) == sizeof(void *) && sizeof(INTN) == sizeof(void *));

// The spelling of these constants is part of the assertion texts that modules report
// (an assertion reports its expression after macro expansion), so the formatter
// must leave them alone.
// clang-format off
#define TRUE ((BOOLEAN)(1==1))
#define FALSE ((BOOLEAN)(0==1))
#define NULL_POINTER ((void *) 0)
// clang-format on

#define CONST const
#define STATIC static
#define IN
#define OUT
#define OPTIONAL

#define MAX_UINT8 0xFF
#define MAX_UINT16 0xFFFF
#define MAX_UINT32 0xFFFFFFFFU

#define ARRAY_SIZE(Array) (sizeof(Array) / sizeof((Array)[0]))

//
// Status values: natural width, 0 is success, the top bit marks an error.
//
typedef UINTN RETURN_STATUS;
typedef RETURN_STATUS EFI_STATUS;

#define ENCODE_ERROR(Code) ((RETURN_STATUS)(MAX_BIT | (Code)))
#define ENCODE_WARNING(Code) ((RETURN_STATUS)(Code))
#define RETURN_ERROR(Status) (((INTN)(RETURN_STATUS)(Status)) < 0)
#define EFI_ERROR(Status) RETURN_ERROR(Status)

#define EFI_SUCCESS ((RETURN_STATUS)0)
#define EFI_LOAD_ERROR ENCODE_ERROR(1)
#define EFI_INVALID_PARAMETER ENCODE_ERROR(2)
#define EFI_UNSUPPORTED ENCODE_ERROR(3)
#define EFI_BAD_BUFFER_SIZE ENCODE_ERROR(4)
#define EFI_BUFFER_TOO_SMALL ENCODE_ERROR(5)
#define EFI_NOT_READY ENCODE_ERROR(6)
#define EFI_DEVICE_ERROR ENCODE_ERROR(7)
#define EFI_WRITE_PROTECTED ENCODE_ERROR(8)
#define EFI_OUT_OF_RESOURCES ENCODE_ERROR(9)
#define EFI_VOLUME_CORRUPTED ENCODE_ERROR(10)
#define EFI_VOLUME_FULL ENCODE_ERROR(11)
#define EFI_NO_MEDIA ENCODE_ERROR(12)
#define EFI_MEDIA_CHANGED ENCODE_ERROR(13)
#define EFI_NOT_FOUND ENCODE_ERROR(14)
#define EFI_ACCESS_DENIED ENCODE_ERROR(15)
#define EFI_NO_RESPONSE ENCODE_ERROR(16)
#define EFI_NO_MAPPING ENCODE_ERROR(17)
#define EFI_TIMEOUT ENCODE_ERROR(18)
#define EFI_NOT_STARTED ENCODE_ERROR(19)
#define EFI_ALREADY_STARTED ENCODE_ERROR(20)
#define EFI_ABORTED ENCODE_ERROR(21)
#define EFI_ICMP_ERROR ENCODE_ERROR(22)
#define EFI_TFTP_ERROR ENCODE_ERROR(23)
#define EFI_PROTOCOL_ERROR ENCODE_ERROR(24)
#define EFI_INCOMPATIBLE_VERSION ENCODE_ERROR(25)
#define EFI_SECURITY_VIOLATION ENCODE_ERROR(26)
#define EFI_CRC_ERROR ENCODE_ERROR(27)
#define EFI_END_OF_MEDIA ENCODE_ERROR(28)
#define EFI_END_OF_FILE ENCODE_ERROR(31)
#define EFI_INVALID_LANGUAGE ENCODE_ERROR(32)
#define EFI_COMPROMISED_DATA ENCODE_ERROR(33)

#define EFI_WARN_UNKNOWN_GLYPH ENCODE_WARNING(1)
#define EFI_WARN_DELETE_FAILURE ENCODE_WARNING(2)
#define EFI_WARN_WRITE_FAILURE ENCODE_WARNING(3)
#define EFI_WARN_BUFFER_TOO_SMALL ENCODE_WARNING(4)
#define EFI_WARN_STALE_DATA ENCODE_WARNING(5)

// Platform-initialisation status: the service exists but no listener is ready yet.
#define EFI_NOT_AVAILABLE_YET ENCODE_ERROR(0x20000000 | 2)

//
// GUIDs: 16 bytes, the first three fields little-endian.
//
typedef struct {
  UINT32 Data1;
  UINT16 Data2;
  UINT16 Data3;
  UINT8 Data4[8];
} EFI_GUID;
typedef EFI_GUID GUID;
static_assert(sizeof(EFI_GUID) == 16);

//
// Handles, events and task priorities.
//
typedef VOID *EFI_HANDLE;
typedef VOID *EFI_EVENT;
typedef UINTN EFI_TPL;
typedef UINT64 EFI_PHYSICAL_ADDRESS;
typedef UINT64 EFI_VIRTUAL_ADDRESS;

#define TPL_APPLICATION 4
#define TPL_CALLBACK 8
#define TPL_NOTIFY 16
#define TPL_HIGH_LEVEL 31

#endif // BASE_H_
