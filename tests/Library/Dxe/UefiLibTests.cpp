// Configuration tables, the ready-to-boot event, pool allocation and the status-code
// path of the boot-services flavour.
#include <cstring>
#include <vector>

#include "Guid/EventGroup.h"
#include "Guid/StatusCodeDataTypeId.h"
#include "Library/DebugLib.h"
#include "Library/MemoryAllocationLib.h"
#include "Library/ReportStatusCodeLib.h"
#include "Library/UefiBootServicesTableLib.h"
#include "Library/UefiLib.h"
#include "LibraryFixture.h"
#include "ReportStatusCodeLibInternal.h"

namespace {

constexpr EFI_GUID kTableA = {0x11111111, 0x2222, 0x3333, {0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB}};
constexpr EFI_GUID kTableB = {0x11111111, 0x2222, 0x3333, {0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBC}};

class UefiLibTest : public LibraryTest {};

TEST_F(UefiLibTest, ConfigurationTableLookupTakesTheFirstMatch) {
  int first = 0;
  int second = 0;
  int other = 0;
  board_.Dxe().AddConfigurationTable(kTableB, &other);
  board_.Dxe().AddConfigurationTable(kTableA, &first);
  board_.Dxe().AddConfigurationTable(kTableA, &second);

  VOID *table = nullptr;
  EXPECT_EQ(LocateConfigurationTable(&kTableA, &table), EFI_SUCCESS);
  EXPECT_EQ(table, &first);
  EXPECT_EQ(LocateConfigurationTable(&kTableB, &table), EFI_SUCCESS);
  EXPECT_EQ(table, &other);

  // A GUID that differs only in its last byte is not a match.
  constexpr EFI_GUID kMissing = {
      0x11111111, 0x2222, 0x3333, {0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBD}};
  table = &first;
  EXPECT_EQ(LocateConfigurationTable(&kMissing, &table), EFI_NOT_FOUND);
  EXPECT_EQ(table, nullptr);
}

TEST_F(UefiLibTest, ConfigurationTableLookupWithNoEntriesFindsNothing) {
  VOID *table = &table;
  EXPECT_EQ(LocateConfigurationTable(&kTableA, &table), EFI_NOT_FOUND);
  EXPECT_EQ(table, nullptr);
}

TEST_F(UefiLibTest, ConfigurationTableLookupChecksItsArguments) {
  VOID *table = nullptr;
  auto noGuid = RunToHalt(board_, [&] { LocateConfigurationTable(nullptr, &table); });
  ASSERT_TRUE(noGuid);
  EXPECT_EQ(noGuid->file, "UefiLib.cpp");
  EXPECT_EQ(noGuid->expression, "TableGuid != ((void *) 0)");
  auto noTable = RunToHalt(board_, [&] { LocateConfigurationTable(&kTableA, nullptr); });
  ASSERT_TRUE(noTable);
  EXPECT_EQ(noTable->expression, "Table != ((void *) 0)");
}

VOID EFIAPI CountNotify(EFI_EVENT, VOID *Context) {
  ++*static_cast<int *>(Context);
}

TEST_F(UefiLibTest, ReadyToBootEventJoinsTheGroupAndIsNotifiedWhenSignalled) {
  int notifications = 0;
  EFI_EVENT event = nullptr;
  ASSERT_EQ(CreateReadyToBootEvent(TPL_CALLBACK, CountNotify, &notifications, &event), EFI_SUCCESS);

  const board::DxeCore::Event *created = board_.Dxe().FindEvent(event);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->type, (uint32_t)EVT_NOTIFY_SIGNAL);
  EXPECT_EQ(created->notifyTpl, (EFI_TPL)TPL_CALLBACK);
  EXPECT_TRUE(created->inGroup && SameGuid(created->group, gEfiEventReadyToBootGuid));

  board_.Dxe().SignalGroup(gEfiEventReadyToBootGuid);
  board_.Dxe().SignalGroup(gEfiEventReadyToBootGuid);
  EXPECT_EQ(notifications, 2) << "the event stays in the group for every signal";
}

TEST_F(UefiLibTest, ReadyToBootEventWithoutNotifyFunctionGetsTheEmptyOne) {
  EFI_EVENT event = nullptr;
  ASSERT_EQ(CreateReadyToBootEvent(TPL_CALLBACK, nullptr, nullptr, &event), EFI_SUCCESS);
  const board::DxeCore::Event *created = board_.Dxe().FindEvent(event);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->notifyFunction, EmptyNotify);
  board_.Dxe().SignalGroup(gEfiEventReadyToBootGuid);
  EXPECT_EQ(created->notifications, 1u);
}

// Event groups came with revision 2.0: exactly 0x00020000 creates the event, anything
// below halts with the message.
TEST_F(UefiLibTest, ReadyToBootEventNeedsRevisionTwo) {
  const struct {
    uint32_t revision;
    bool created;
  } cases[] = {{0x00020000, true}, {0x0002001E, true}, {0x0001000A, false}, {0x0001FFFF, false}};
  for (const auto &c : cases) {
    board_.Listener().Clear();
    board_.Dxe().SetRevision(c.revision);
    EFI_EVENT event = nullptr;
    if (c.created) {
      EXPECT_EQ(CreateReadyToBootEvent(TPL_CALLBACK, nullptr, nullptr, &event), EFI_SUCCESS)
          << std::hex << c.revision;
      EXPECT_TRUE(board_.Listener().Records().empty());
      continue;
    }
    auto assertion =
        RunToHalt(board_, [&] { CreateReadyToBootEvent(TPL_CALLBACK, nullptr, nullptr, &event); });
    ASSERT_TRUE(assertion) << std::hex << c.revision;
    EXPECT_EQ(board_.Listener().DebugText(), "EFI1.1 can't support ReadyToBootEvent!");
    EXPECT_EQ(assertion->file, "UefiLib.cpp");
    EXPECT_EQ(assertion->expression, "((BOOLEAN)(0==1))");
  }
  // Past a released halt the creation reports it is unsupported and creates nothing.
  board_.ReleaseHalts(true);
  EFI_EVENT event = nullptr;
  EXPECT_EQ(CreateReadyToBootEvent(TPL_CALLBACK, nullptr, nullptr, &event), EFI_UNSUPPORTED);
  EXPECT_TRUE(board_.Dxe().EventsInGroup(gEfiEventReadyToBootGuid).size() == 2u);
}

TEST_F(UefiLibTest, ReadyToBootEventNeedsSomewhereToPutTheEvent) {
  auto assertion = RunToHalt(board_, [] { CreateReadyToBootEvent(TPL_CALLBACK, nullptr, nullptr, nullptr); });
  ASSERT_TRUE(assertion);
  EXPECT_EQ(assertion->expression, "ReadyToBootEvent != ((void *) 0)");
}

TEST_F(UefiLibTest, PoolAllocationsAreZeroedOrNull) {
  auto *block = static_cast<UINT8 *>(AllocateZeroedBootPool(37));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::vector<UINT8>(block, block + 37), std::vector<UINT8>(37, 0));
  EXPECT_EQ(board_.Dxe().OutstandingPoolBlocks(), 1u);
  gBS->FreePool(block);

  // A refused allocation yields null, and no zero fill runs on it (which would fail
  // its null check).
  board_.Dxe().FailAllocations(2);
  EXPECT_EQ(AllocateBootPool(16), nullptr);
  EXPECT_EQ(AllocateZeroedBootPool(16), nullptr);
  EXPECT_TRUE(board_.Listener().Records().empty());
  EXPECT_EQ(board_.Dxe().OutstandingPoolBlocks(), 0u);
}

//
// The status-code path of the boot-services flavour.
//
TEST_F(UefiLibTest, StatusCodeProtocolIsLocatedOnlyUntilFound) {
  mStatusCodeProtocol = nullptr;
  board::Board late; // a board whose status-code protocol comes later in the run
  gST = late.Dxe().SystemTable();
  gBS = gST->BootServices;

  EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 1, nullptr, nullptr, 0), EFI_UNSUPPORTED);
  DebugMessage(DEBUG_ERROR, "lost\n");
  EXPECT_EQ(late.Dxe().LocateProtocolCalls(gEfiStatusCodeRuntimeProtocolGuid), 2u) << "every code looks anew";
  EXPECT_TRUE(late.Listener().Records().empty());

  late.Dxe().InstallStatusCodeProtocol();
  DebugMessage(DEBUG_ERROR, "one\n");
  DebugMessage(DEBUG_ERROR, "two\n");
  EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 1, nullptr, nullptr, 0), EFI_SUCCESS);
  EXPECT_EQ(late.Dxe().LocateProtocolCalls(gEfiStatusCodeRuntimeProtocolGuid), 3u) << "found once, then kept";
  EXPECT_EQ(late.Listener().DebugText(), "one\ntwo\n");
  EXPECT_EQ(late.Listener().Records().size(), 3u);
}

TEST_F(UefiLibTest, StatusCodesNeedBootServices) {
  EFI_BOOT_SERVICES *services = gBS;
  gBS = nullptr;
  EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 1, nullptr, nullptr, 0), EFI_UNSUPPORTED);
  gBS = services;
  board_.Dxe().BootServices().FreePool = nullptr;
  EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 1, nullptr, nullptr, 0), EFI_UNSUPPORTED);
  EXPECT_TRUE(board_.Listener().Records().empty());
}

// The data block comes from pool at TPL_NOTIFY and below and from a 512-byte stack
// block above, where 492 bytes of data fit and 493 do not.
TEST_F(UefiLibTest, StatusCodeDataBlockFollowsTheTaskPriority) {
  std::vector<UINT8> data(493);
  for (size_t index = 0; index < data.size(); index++) {
    data[index] = static_cast<UINT8>(index * 7);
  }
  const struct {
    EFI_TPL tpl;
    size_t size;
    bool failPool;
    EFI_STATUS status;
    size_t poolAllocations;
  } cases[] = {
      {TPL_APPLICATION, 493, false, EFI_SUCCESS, 1},
      {TPL_NOTIFY, 493, false, EFI_SUCCESS, 1},
      {TPL_HIGH_LEVEL, 492, false, EFI_SUCCESS, 0},
      {TPL_HIGH_LEVEL, 493, false, EFI_OUT_OF_RESOURCES, 0},
      // A refused pool block falls back to the stack; the message about data too large
      // for it then comes through pool again.
      {TPL_CALLBACK, 492, true, EFI_SUCCESS, 1},
      {TPL_CALLBACK, 493, true, EFI_OUT_OF_RESOURCES, 2},
  };
  for (const auto &c : cases) {
    board::Board board;
    mStatusCodeProtocol = nullptr;
    board.Dxe().InstallStatusCodeProtocol();
    gST = board.Dxe().SystemTable();
    gBS = gST->BootServices;
    board.Dxe().SetTpl(c.tpl);
    if (c.failPool) {
      board.Dxe().FailAllocations(1);
    }

    EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 5, nullptr, data.data(), c.size), c.status)
        << c.tpl << " " << c.size;
    EXPECT_EQ(board.Dxe().AllocationCount(), c.poolAllocations) << c.tpl << " " << c.size;
    EXPECT_EQ(board.Dxe().OutstandingPoolBlocks(), 0u);
    EXPECT_EQ(board.Dxe().CurrentTpl(), c.tpl) << "the priority is only probed";
    const auto &records = board.Listener().Records();
    ASSERT_EQ(records.size(), 1u);
    if (c.status == EFI_SUCCESS) {
      EXPECT_EQ(records[0].Payload(), std::vector<UINT8>(data.begin(), data.begin() + c.size));
    } else {
      EXPECT_EQ(board.Listener().DebugText(), "Status code extended data is too large to be reported!\n");
    }
  }
}

TEST_F(UefiLibTest, StatusCodeDataThatTheSizeFieldCannotDescribeIsRefused) {
  std::vector<UINT8> data(0x10000);
  EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 5, nullptr, data.data(), data.size()),
            EFI_INVALID_PARAMETER);
  EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 5, nullptr, data.data(), 0xFFFF), EFI_SUCCESS);
  EXPECT_EQ(LastRecord().Payload().size(), 0xFFFFu);
}

} // namespace
