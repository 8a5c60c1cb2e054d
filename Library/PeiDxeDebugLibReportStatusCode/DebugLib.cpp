// Debug messages and assertions as status codes. A debug message leaves the module as
// a record of its level, its raw arguments and its unexpanded format; a failed check
// as a record of file, line and expression, after which the module halts.
#include "Library/DebugLib.h"
#include "Guid/StatusCodeDataTypeId.h"
#include "Library/BaseLib.h"
#include "Library/BaseMemoryLib.h"
#include "Library/CpuPrimitives.h"
#include "Library/ReportStatusCodeLib.h"

VOID EFIAPI DebugMessageList(UINTN ErrorLevel, CONST CHAR8 *Format, ARG_LIST *Marker) {
  ASSERT_OR_RETURN(Format != NULL_POINTER, );

  if (((UINT32)ErrorLevel & DEBUG_LEVEL_MASK) == 0) {
    return;
  }

  // A format too long for the record is dropped without a word.
  UINTN FormatLength = AsciiStrLen(Format);
  if (FormatLength + DEBUG_RECORD_FIXED_SIZE + 1 > DEBUG_RECORD_MAX_SIZE) {
    return;
  }

  DEBUG_MESSAGE_RECORD Record = {};
  Record.DebugLevel = (UINT32)ErrorLevel;
  AsciiStrCpyS(Record.FormatString, sizeof(Record.FormatString), Format);

  // Pack the arguments the format names into the argument area, in the slot sizes of
  // the module's width. The marker moves over the whole record so that an argument
  // that would spill into the format string is caught before it is written.
  UINT8 *BaseListMarker = (UINT8 *)&Record + DEBUG_RECORD_FIXED_SIZE - DEBUG_ARGUMENT_AREA_SIZE;
  CHAR8 *FormatString = Record.FormatString;
  auto PutArgument = [&](UINTN Size, UINT64 Value) -> BOOLEAN {
    UINT8 *Slot = BaseListMarker;
    BaseListMarker += Size;
    ASSERT_OR_RETURN((CHAR8 *)BaseListMarker <= FormatString, FALSE);
    for (UINTN Index = 0; Index < Size; Index++) {
      Slot[Index] = (UINT8)(Value >> (8 * Index));
    }
    return TRUE;
  };

  BOOLEAN Packed = WalkDebugFormat(Format, [&](CHAR8 Conversion, BOOLEAN Long) -> BOOLEAN {
    switch (Conversion) {
    case 'p':
    case 'd':
    case 'u':
    case 'x':
    case 'X':
      if (Long) {
        return PutArgument(sizeof(UINT64), ArgNextUint64(Marker));
      }
      if (Conversion == 'p') {
        return PutArgument(sizeof(UINTN), ArgNextUintn(Marker));
      }
      return PutArgument(sizeof(UINTN), ArgNextUint32(Marker));
    case '*':
    case 's':
    case 'S':
    case 'a':
    case 'g':
    case 't':
    case 'c':
    case 'r':
      return PutArgument(sizeof(UINTN), ArgNextUintn(Marker));
    default:
      return TRUE; // takes no argument
    }
  });
  if (!Packed) {
    return;
  }

  ReportStatusCodeWithData(EFI_DEBUG_CODE, EFI_SOFTWARE_DXE_BS_DRIVER, &gEfiStatusCodeDataTypeDebugGuid,
                           &Record, FormatLength + DEBUG_RECORD_FIXED_SIZE + 1);
}

VOID EFIAPI ReportAssertion(CONST CHAR8 *FileName, UINTN LineNumber, CONST CHAR8 *Description) {
  UINT64 Buffer[ASSERTION_RECORD_MAX_SIZE / sizeof(UINT64)] = {};
  UINT8 *Record = (UINT8 *)Buffer;

  // Cut the expression first, then the file name, to keep the record at 200 bytes.
  UINTN HeaderSize = sizeof(ASSERTION_RECORD_HEADER);
  UINTN FileNameSize = AsciiStrSize(FileName);
  UINTN DescriptionSize = AsciiStrSize(Description);
  if (HeaderSize + FileNameSize + DescriptionSize > ASSERTION_RECORD_MAX_SIZE) {
    if (HeaderSize + FileNameSize < ASSERTION_RECORD_MAX_SIZE) {
      DescriptionSize = ASSERTION_RECORD_MAX_SIZE - HeaderSize - FileNameSize;
    } else {
      FileNameSize = ASSERTION_RECORD_MAX_SIZE - 1 - HeaderSize;
      DescriptionSize = 1;
    }
  }

  ((ASSERTION_RECORD_HEADER *)Record)->Line = (UINT32)LineNumber;
  CopyMem(Record + HeaderSize, FileName, FileNameSize - 1);
  Record[HeaderSize + FileNameSize - 1] = '\0';
  CopyMem(Record + HeaderSize + FileNameSize, Description, DescriptionSize - 1);
  Record[HeaderSize + FileNameSize + DescriptionSize - 1] = '\0';

  ReportStatusCodeWithData(EFI_ERROR_CODE | EFI_ERROR_UNRECOVERED,
                           EFI_SOFTWARE_DXE_BS_DRIVER | EFI_SW_EC_ILLEGAL_SOFTWARE_STATE, nullptr, Record,
                           HeaderSize + FileNameSize + DescriptionSize);

  // Halt until a debugger releases the loop.
  volatile UINTN Released = 0;
  CpuHaltLoop(&Released);
}
