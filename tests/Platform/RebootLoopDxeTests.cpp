// RebootLoopDxe at load: its entry point fills its six service globals in order, halts
// on each missing piece of the platform, and reports under its own caller id.
#include <functional>
#include <string>

#include "BoardFixture.h"
#include "Guid/CallerIds.h"
#include "Guid/DxeServices.h"
#include "Guid/HobList.h"
#include "Library/DxeServicesTableLib.h"
#include "Library/HobLib.h"
#include "Library/ModuleEntryPoint.h"
#include "Library/UefiBootServicesTableLib.h"
#include "Library/UefiRuntimeServicesTableLib.h"
#include "ReportStatusCodeLibInternal.h"

extern VOID *mHobList;

namespace {

class RebootLoopDxeLoadTest : public ::testing::Test {
protected:
  RebootLoopDxeLoadTest() {
    // A fresh load of the image: its globals as linked.
    gImageHandle = nullptr;
    gST = nullptr;
    gBS = nullptr;
    gRT = nullptr;
    gDS = nullptr;
    mHobList = nullptr;
    mStatusCodeProtocol = nullptr;
    board_.Dxe().InstallStatusCodeProtocol();
  }

  EFI_STATUS Load() { return _ModuleEntryPoint(board_.Dxe().NewImageHandle(), board_.Dxe().SystemTable()); }

  board::Board board_;
  int hobList_ = 0;
  int dxeServices_ = 0;
};

TEST_F(RebootLoopDxeLoadTest, EntryFillsTheGlobalsAndReturnsTheEntryFunctionStatus) {
  board_.Dxe().AddConfigurationTable(gEfiHobListGuid, &hobList_);
  board_.Dxe().AddConfigurationTable(gEfiDxeServicesTableGuid, &dxeServices_);
  EFI_HANDLE image = board_.Dxe().NewImageHandle();

  EXPECT_EQ(_ModuleEntryPoint(image, board_.Dxe().SystemTable()), EFI_SUCCESS);
  EXPECT_EQ(gImageHandle, image);
  EXPECT_EQ(gST, board_.Dxe().SystemTable());
  EXPECT_EQ(gBS, &board_.Dxe().BootServices());
  EXPECT_EQ(gRT, board_.Dxe().SystemTable()->RuntimeServices);
  EXPECT_EQ(GetHobList(), &hobList_);
  EXPECT_EQ(static_cast<void *>(gDS), &dxeServices_);
  EXPECT_TRUE(board_.Listener().Records().empty());
  EXPECT_EQ(board_.Dxe().OutstandingPoolBlocks(), 0u);
}

// Each case leaves out one piece of the platform. The globals filled before the halt
// show the order; the record shows the check. Before gBS is known nothing can be
// reported, so the first checks halt without a record.
TEST_F(RebootLoopDxeLoadTest, EachMissingPieceHaltsAtItsCheck) {
  struct Case {
    const char *name;
    std::function<void(board::Board &, int *, int *)> arrange;
    bool recorded;
    const char *file;
    const char *expression;
    const char *debugText;
    int filledBeforeHalt; // how many of the six globals are set when it halts
  };
  const Case cases[] = {
      {"no system table", [](board::Board &, int *, int *) {}, false, nullptr, nullptr, "", 1},
      {"no boot services",
       [](board::Board &b, int *, int *) { b.Dxe().SystemTable()->BootServices = nullptr; }, false, nullptr,
       nullptr, "", 2},
      {"no runtime services",
       [](board::Board &b, int *, int *) { b.Dxe().SystemTable()->RuntimeServices = nullptr; }, true,
       "UefiRuntimeServicesTableLib.cpp", "gRT != ((void *) 0)", "", 3},
      {"no HOB list", [](board::Board &, int *, int *) {}, true, "DxeHobLib.cpp", "!EFI_ERROR (Status)",
       "\nASSERT_EFI_ERROR (Status = Not Found)\n", 4},
      {"null HOB list",
       [](board::Board &b, int *, int *) { b.Dxe().AddConfigurationTable(gEfiHobListGuid, nullptr); }, true,
       "DxeHobLib.cpp", "mHobList != ((void *) 0)", "", 4},
      {"no DXE services",
       [](board::Board &b, int *hob, int *) { b.Dxe().AddConfigurationTable(gEfiHobListGuid, hob); }, true,
       "DxeServicesTableLib.cpp", "!EFI_ERROR (Status)", "\nASSERT_EFI_ERROR (Status = Not Found)\n", 5},
      {"null DXE services",
       [](board::Board &b, int *hob, int *) {
         b.Dxe().AddConfigurationTable(gEfiHobListGuid, hob);
         b.Dxe().AddConfigurationTable(gEfiDxeServicesTableGuid, nullptr);
       },
       true, "DxeServicesTableLib.cpp", "gDS != ((void *) 0)", "", 5},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    board::Board board;
    mStatusCodeProtocol = nullptr;
    board.Dxe().InstallStatusCodeProtocol();
    gImageHandle = nullptr, gST = nullptr, gBS = nullptr, gRT = nullptr, gDS = nullptr, mHobList = nullptr;
    c.arrange(board, &hobList_, &dxeServices_);
    EFI_SYSTEM_TABLE *systemTable =
        std::string(c.name) == "no system table" ? nullptr : board.Dxe().SystemTable();

    EXPECT_EQ(RunModuleCode([&] { _ModuleEntryPoint(board.Dxe().NewImageHandle(), systemTable); }),
              Outcome::Halted);
    const void *globals[] = {gImageHandle, gST, gBS, gRT, mHobList, gDS};
    int filled = 0;
    while (filled < 6 && globals[filled] != nullptr) {
      filled++;
    }
    EXPECT_EQ(filled, c.filledBeforeHalt);
    EXPECT_EQ(board.Listener().DebugText(), c.debugText);
    auto assertions = board.Listener().Assertions();
    if (!c.recorded) {
      EXPECT_TRUE(assertions.empty());
      continue;
    }
    ASSERT_EQ(assertions.size(), 1u);
    EXPECT_EQ(assertions[0].file, c.file);
    EXPECT_EQ(assertions[0].expression, c.expression);
    EXPECT_TRUE(SameGuid(board.Listener().Records().back().callerId, gRebootLoopDxeCallerIdGuid));
  }
}

TEST_F(RebootLoopDxeLoadTest, NullImageHandleHaltsFirst) {
  EXPECT_EQ(RunModuleCode([&] { _ModuleEntryPoint(nullptr, board_.Dxe().SystemTable()); }), Outcome::Halted);
  EXPECT_EQ(gST, nullptr) << "nothing after the image handle is filled";
  EXPECT_EQ(board_.HaltCount(), 1u);
}

// A debugger that lets the halts go sees each check of a constructor in turn, and the
// load then fail without running the entry function on a half-filled set of globals.
TEST_F(RebootLoopDxeLoadTest, ReleasedHaltsShowTheCodeAfterEachCheck) {
  board_.ReleaseHalts(true);
  EXPECT_EQ(Load(), EFI_NOT_FOUND);
  auto assertions = board_.Listener().Assertions();
  ASSERT_EQ(assertions.size(), 2u);
  EXPECT_EQ(assertions[0].expression, "!EFI_ERROR (Status)");
  EXPECT_EQ(assertions[1].expression, "mHobList != ((void *) 0)");
  EXPECT_EQ(gDS, nullptr) << "the constructors stop at the failed one";
  EXPECT_EQ(board_.HaltCount(), 2u);
}

} // namespace
