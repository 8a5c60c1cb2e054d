// The identity of the module that the library tests link the library into: a caller id
// of its own and the level mask every deliverable uses.
#include "BoardFixture.h"
#include "Library/DebugLib.h"
#include "Library/ReportStatusCodeLib.h"

CONST EFI_GUID gEfiCallerIdGuid = kTestModuleCallerId;
CONST UINT32 DEBUG_LEVEL_MASK = 0x80400042;
