// BmcBoardTag's entry on the board's PEI core: its status codes carry the module's
// caller id.
#include "BoardFixture.h"
#include "Guid/CallerIds.h"
#include "Library/ModuleEntryPoint.h"

namespace {

TEST(BmcBoardTagEntry, ReportsUnderItsCallerId) {
  board::Board board;
  EXPECT_EQ(_ModulePeiEntryPoint(nullptr, board.Pei().Services()), EFI_SUCCESS);
  ASSERT_FALSE(board.Listener().Records().empty());
  for (const board::StatusCodeRecord &record : board.Listener().Records()) {
    EXPECT_TRUE(SameGuid(record.callerId, gBmcBoardTagCallerIdGuid)) << GuidText(record.callerId);
  }
}

} // namespace
