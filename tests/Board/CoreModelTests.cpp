// The PEI and DXE core models: what they accept, refuse, and in which order they call
// back into module code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Board.h"
#include "RunEnd.h"

namespace {

constexpr EFI_GUID kPpiA = {0xA, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
constexpr EFI_GUID kPpiB = {0xB, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};

std::vector<std::string> gCalls;

EFI_STATUS EFIAPI FirstNotify(EFI_PEI_SERVICES **, EFI_PEI_NOTIFY_DESCRIPTOR *, VOID *ppi) {
  gCalls.push_back("first:" + std::to_string(*static_cast<int *>(ppi)));
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI SecondNotify(EFI_PEI_SERVICES **, EFI_PEI_NOTIFY_DESCRIPTOR *, VOID *ppi) {
  gCalls.push_back("second:" + std::to_string(*static_cast<int *>(ppi)));
  return EFI_SUCCESS;
}

TEST(PeiCoreModel, NotificationsRunInRegistrationOrderAlsoForEarlierPpis) {
  board::Board board;
  gCalls.clear();
  int early = 1;
  int late = 2;
  EFI_PEI_PPI_DESCRIPTOR earlyPpi = {EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
                                     const_cast<EFI_GUID *>(&kPpiA), &early};
  ASSERT_EQ(board.Pei().InstallPpi(&earlyPpi), EFI_SUCCESS);

  EFI_PEI_NOTIFY_DESCRIPTOR notifies[] = {
      {EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK, const_cast<EFI_GUID *>(&kPpiB), SecondNotify},
      {EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
       const_cast<EFI_GUID *>(&kPpiA), FirstNotify},
  };
  const EFI_PEI_SERVICES **services = board.Pei().Services();
  ASSERT_EQ((*services)->NotifyPpi(services, notifies), EFI_SUCCESS);
  EXPECT_EQ(gCalls, std::vector<std::string>{"first:1"}) << "the PPI installed before is notified at once";

  EFI_PEI_PPI_DESCRIPTOR latePpi = {EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
                                    const_cast<EFI_GUID *>(&kPpiB), &late};
  ASSERT_EQ((*services)->InstallPpi(services, &latePpi), EFI_SUCCESS);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"first:1", "second:2"}));

  // A list whose entry is not a PPI installs nothing.
  EFI_PEI_PPI_DESCRIPTOR bad[] = {
      {EFI_PEI_PPI_DESCRIPTOR_PPI, const_cast<EFI_GUID *>(&kPpiB), &late},
      {EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST, const_cast<EFI_GUID *>(&kPpiB), &late}};
  EXPECT_EQ(board.Pei().InstallPpi(bad), EFI_INVALID_PARAMETER);
  VOID *ppi = nullptr;
  EXPECT_EQ(board.Pei().LocatePpi(&kPpiB, 1, nullptr, &ppi), EFI_NOT_FOUND);
  EXPECT_EQ(gCalls.size(), 2u);
}

std::vector<EFI_TPL> gNotifyLevels;

VOID EFIAPI RecordLevel(EFI_EVENT, VOID *) {
  gNotifyLevels.push_back(board::Board::Current().Dxe().CurrentTpl());
}

TEST(DxeCoreModel, GroupSignalNotifiesEveryMemberHighestLevelFirstAtItsLevel) {
  board::Board board;
  gNotifyLevels.clear();
  EFI_BOOT_SERVICES &bs = board.Dxe().BootServices();
  EFI_EVENT callback = nullptr;
  EFI_EVENT notify = nullptr;
  EFI_EVENT other = nullptr;
  ASSERT_EQ(bs.CreateEventEx(EVT_NOTIFY_SIGNAL, TPL_CALLBACK, RecordLevel, nullptr, &kPpiA, &callback),
            EFI_SUCCESS);
  ASSERT_EQ(bs.CreateEventEx(EVT_NOTIFY_SIGNAL, TPL_NOTIFY, RecordLevel, nullptr, &kPpiA, &notify),
            EFI_SUCCESS);
  ASSERT_EQ(bs.CreateEventEx(EVT_NOTIFY_SIGNAL, TPL_NOTIFY, RecordLevel, nullptr, &kPpiB, &other),
            EFI_SUCCESS);

  // Raised to TPL_NOTIFY, nothing runs until the level comes down.
  EFI_TPL old = bs.RaiseTPL(TPL_NOTIFY);
  ASSERT_EQ(bs.SignalEvent(callback), EFI_SUCCESS);
  EXPECT_TRUE(gNotifyLevels.empty());
  bs.RestoreTPL(old);
  EXPECT_EQ(gNotifyLevels, (std::vector<EFI_TPL>{TPL_NOTIFY, TPL_CALLBACK}));
  EXPECT_EQ(board.Dxe().CurrentTpl(), (EFI_TPL)TPL_APPLICATION);
}

TEST(DxeCoreModel, RefusesWhatTheInterfaceForbids) {
  board::Board board;
  EFI_BOOT_SERVICES &bs = board.Dxe().BootServices();
  EFI_EVENT event = nullptr;
  EXPECT_EQ(bs.CreateEventEx(EVT_NOTIFY_SIGNAL, TPL_CALLBACK, nullptr, nullptr, &kPpiA, &event),
            EFI_INVALID_PARAMETER);
  EXPECT_EQ(bs.CreateEventEx(EVT_NOTIFY_SIGNAL, TPL_APPLICATION, RecordLevel, nullptr, &kPpiA, &event),
            EFI_INVALID_PARAMETER);
  EXPECT_EQ(bs.CreateEventEx(EVT_NOTIFY_SIGNAL, TPL_CALLBACK, RecordLevel, nullptr, &kPpiA, nullptr),
            EFI_INVALID_PARAMETER);

  int local = 0;
  EXPECT_EQ(bs.FreePool(&local), EFI_INVALID_PARAMETER) << "not a pool block";
  VOID *block = nullptr;
  ASSERT_EQ(bs.AllocatePool(EfiBootServicesData, 8, &block), EFI_SUCCESS);
  EXPECT_EQ(bs.FreePool(block), EFI_SUCCESS);
  EXPECT_EQ(bs.FreePool(block), EFI_INVALID_PARAMETER) << "freed twice";
  EXPECT_EQ(bs.AllocatePool(EfiMaxMemoryType, 8, &block), EFI_INVALID_PARAMETER);

  bs.RaiseTPL(TPL_NOTIFY);
  EXPECT_THROW(bs.RaiseTPL(TPL_CALLBACK), board::BoardFault) << "a raise may not lower the level";
  EXPECT_THROW(board.Dxe().SystemTable()->RuntimeServices->SetTime(), board::BoardFault);
}

TEST(DxeCoreModel, FailureInjectionSkipsThenRefuses) {
  board::Board board;
  EFI_BOOT_SERVICES &bs = board.Dxe().BootServices();
  board.Dxe().FailAllocations(2, 1);
  VOID *blocks[4] = {};
  const EFI_STATUS expected[4] = {EFI_SUCCESS, EFI_OUT_OF_RESOURCES, EFI_OUT_OF_RESOURCES, EFI_SUCCESS};
  for (int index = 0; index < 4; index++) {
    EXPECT_EQ(bs.AllocatePool(EfiBootServicesData, 16, &blocks[index]), expected[index]) << index;
  }
  EXPECT_EQ(board.Dxe().OutstandingPoolBlocks(), 2u);
}

} // namespace
