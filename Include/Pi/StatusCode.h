// Status codes of the platform-initialisation interface: the type and value words,
// the data header that carries a code's extended data, and the record layouts this
// tree reports (debug messages and assertions).
#ifndef PI_STATUS_CODE_H_
#define PI_STATUS_CODE_H_

#include "Base.h"

typedef UINT32 EFI_STATUS_CODE_TYPE;
typedef UINT32 EFI_STATUS_CODE_VALUE;

// Low byte of the type: the class of code.
#define EFI_STATUS_CODE_TYPE_MASK 0x000000FF
#define EFI_PROGRESS_CODE 0x00000001
#define EFI_ERROR_CODE 0x00000002
#define EFI_DEBUG_CODE 0x00000003

// Severity of an error code, in the top byte of the type.
#define EFI_ERROR_MINOR 0x40000000
#define EFI_ERROR_MAJOR 0x80000000
#define EFI_ERROR_UNRECOVERED 0x90000000

// Value: class, subclass and operation.
#define EFI_SOFTWARE 0x03000000
#define EFI_SOFTWARE_DXE_BS_DRIVER (EFI_SOFTWARE | 0x00050000)
#define EFI_SW_EC_ILLEGAL_SOFTWARE_STATE 0x00000007

// The header in front of every code's extended data.
typedef struct {
  UINT16 HeaderSize;
  UINT16 Size;
  EFI_GUID Type;
} EFI_STATUS_CODE_DATA;
static_assert(sizeof(EFI_STATUS_CODE_DATA) == 20 && offsetof(EFI_STATUS_CODE_DATA, Size) == 2 &&
              offsetof(EFI_STATUS_CODE_DATA, Type) == 4);

// Largest extended data that fits the 512-byte block kept on the stack.
#define STATUS_CODE_STACK_BLOCK_SIZE 512
#define STATUS_CODE_MAX_STACK_DATA (STATUS_CODE_STACK_BLOCK_SIZE - sizeof(EFI_STATUS_CODE_DATA))

//
// Debug message record: level, packed arguments, unexpanded format.
//
#define DEBUG_ARGUMENT_AREA_SIZE 96
#define DEBUG_MAX_FORMAT_CHARACTERS 103
#define DEBUG_RECORD_FIXED_SIZE (4 + DEBUG_ARGUMENT_AREA_SIZE)
#define DEBUG_RECORD_MAX_SIZE (DEBUG_RECORD_FIXED_SIZE + DEBUG_MAX_FORMAT_CHARACTERS + 1)

typedef struct {
  UINT32 DebugLevel;
  UINT8 ArgumentArea[DEBUG_ARGUMENT_AREA_SIZE];
  CHAR8 FormatString[DEBUG_MAX_FORMAT_CHARACTERS + 1];
} DEBUG_MESSAGE_RECORD;
static_assert(sizeof(DEBUG_MESSAGE_RECORD) == 204 && offsetof(DEBUG_MESSAGE_RECORD, ArgumentArea) == 4 &&
              offsetof(DEBUG_MESSAGE_RECORD, FormatString) == 100);

//
// Assertion record: a fixed block with the line at offset 20, then the file name and
// the expression, each NUL-terminated, at most 200 bytes in all. The fixed block is
// 40 bytes in 64-bit modules and 32 bytes in 32-bit modules.
//
#define ASSERTION_RECORD_MAX_SIZE 200
#define ASSERTION_RECORD_LINE_OFFSET 20

typedef struct {
  UINT8 Reserved0[ASSERTION_RECORD_LINE_OFFSET];
  UINT32 Line;
  UINT8 Reserved1[sizeof(UINTN) == 8 ? 16 : 8];
} ASSERTION_RECORD_HEADER;
#if defined(MDE_CPU_X64)
static_assert(sizeof(ASSERTION_RECORD_HEADER) == 40);
#else
static_assert(sizeof(ASSERTION_RECORD_HEADER) == 32);
#endif
static_assert(offsetof(ASSERTION_RECORD_HEADER, Line) == ASSERTION_RECORD_LINE_OFFSET);

// Debug levels.
#define DEBUG_INIT 0x00000001
#define DEBUG_WARN 0x00000002
#define DEBUG_INFO 0x00000040
#define DEBUG_VERBOSE 0x00400000
#define DEBUG_ERROR 0x80000000

#endif // PI_STATUS_CODE_H_
