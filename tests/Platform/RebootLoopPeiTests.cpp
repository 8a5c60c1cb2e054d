// RebootLoopPei's entry on the board's PEI core: its messages reach the listener
// through the services pointer below the IDT, under the module's caller id.
#include "BoardFixture.h"
#include "Guid/CallerIds.h"
#include "Library/ModuleEntryPoint.h"

namespace {

TEST(RebootLoopPeiEntry, ReportsUnderItsCallerIdAndReturnsSuccess) {
  board::Board board;
  EXPECT_EQ(_ModulePeiEntryPoint(nullptr, board.Pei().Services()), EFI_SUCCESS);
  EXPECT_EQ(board.Listener().DebugText(), "RebootLoopPei Entry Start\nRebootLoopPei Entry End\n");
  for (const board::StatusCodeRecord &record : board.Listener().Records()) {
    EXPECT_TRUE(SameGuid(record.callerId, gRebootLoopPeiCallerIdGuid)) << GuidText(record.callerId);
  }
}

} // namespace
