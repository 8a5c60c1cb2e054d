// Debug messages and assertions, reported as status codes.
//
// DebugMessage packs the unexpanded format and its raw arguments into a debug record
// and reports it; ReportAssertion reports the file, line and expression of a failed
// check and halts the module. Neither writes text anywhere: the platform's status-code
// listeners expand the records.
#ifndef DEBUG_LIB_H_
#define DEBUG_LIB_H_

#include "Base.h"
#include "Library/ArgList.h"
#include "Pi/StatusCode.h"

// Levels a module lets through; a message whose level shares no bit with it is
// dropped. Each module defines it in its own data.
extern CONST UINT32 DEBUG_LEVEL_MASK;

// The core of DebugMessage: builds and reports the record for Format, taking the
// arguments through Marker. Asserts on a null Format and on arguments that do not fit
// the record's argument area (the message is then dropped).
VOID EFIAPI DebugMessageList(UINTN ErrorLevel, CONST CHAR8 *Format, ARG_LIST *Marker);

// Reports an assertion record (file name without folders, line, expression text) and
// halts in a dead loop. Returns only when a debugger releases the loop.
VOID EFIAPI ReportAssertion(CONST CHAR8 *FileName, UINTN LineNumber, CONST CHAR8 *Description);

// A debug message with a literal format, checked against its arguments when compiled.
template <class... Args>
inline VOID DebugMessage(UINTN ErrorLevel, DEBUG_FORMAT<NON_DEDUCED<Args>...> Format, Args... Arguments) {
  ARG_PACK<Args...> Pack(Arguments...);
  ARG_LIST List = Pack.List();
  DebugMessageList(ErrorLevel, Format.Text, &List);
}

// A debug message whose format is known only at run time.
template <class... Args>
inline VOID DebugMessage(UINTN ErrorLevel, RUNTIME_FORMAT Format, Args... Arguments) {
  ARG_PACK<Args...> Pack(Arguments...);
  ARG_LIST List = Pack.List();
  DebugMessageList(ErrorLevel, Format.Text, &List);
}

// A check: when Expression is false, the module reports it and halts. The reported
// text is the expression after macro expansion, so NULL_POINTER reads "((void *) 0)"
// and MAX_ADDRESS the module's top address.
#define ASSERT(Expression) ASSERT_EXPANDED_(Expression)
#define ASSERT_EXPANDED_(Expression)                                                                         \
  do {                                                                                                       \
    if (!(Expression)) {                                                                                     \
      ReportAssertion(__FILE_NAME__, __LINE__, #Expression);                                                 \
    }                                                                                                        \
  } while (0)

// A check after which the caller cannot go on safely: when Expression is false, the
// module reports it and halts; should a debugger release the halt, the function
// returns Result instead of running into the bad argument.
#define ASSERT_OR_RETURN(Expression, Result) ASSERT_OR_RETURN_EXPANDED_(Expression, Result)
#define ASSERT_OR_RETURN_EXPANDED_(Expression, Result)                                                       \
  do {                                                                                                       \
    if (!(Expression)) {                                                                                     \
      ReportAssertion(__FILE_NAME__, __LINE__, #Expression);                                                 \
      return Result;                                                                                         \
    }                                                                                                        \
  } while (0)

// A status that must not be an error: on an error, the error-level message with the
// status, then the check "!EFI_ERROR (<name>)". Warnings pass.
#define ASSERT_EFI_ERROR(StatusParameter)                                                                    \
  do {                                                                                                       \
    if (EFI_ERROR(StatusParameter)) {                                                                        \
      DebugMessage(DEBUG_ERROR, "\nASSERT_EFI_ERROR (Status = %r)\n", (EFI_STATUS)(StatusParameter));        \
      ReportAssertion(__FILE_NAME__, __LINE__, "!EFI_ERROR (" #StatusParameter ")");                         \
    }                                                                                                        \
  } while (0)

#endif // DEBUG_LIB_H_
