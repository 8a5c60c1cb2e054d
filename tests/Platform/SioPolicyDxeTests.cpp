// SioPolicyDxe at load: three service globals, no runtime services needed, its own
// caller id on every status code.
#include "BoardFixture.h"
#include "Guid/CallerIds.h"
#include "Library/DebugLib.h"
#include "Library/ModuleEntryPoint.h"
#include "Library/UefiBootServicesTableLib.h"
#include "ReportStatusCodeLibInternal.h"

namespace {

class SioPolicyDxeLoadTest : public ::testing::Test {
protected:
  SioPolicyDxeLoadTest() {
    gImageHandle = nullptr;
    gST = nullptr;
    gBS = nullptr;
    mStatusCodeProtocol = nullptr;
    board_.Dxe().InstallStatusCodeProtocol();
  }

  board::Board board_;
};

TEST_F(SioPolicyDxeLoadTest, LoadsWithoutRuntimeServicesOrConfigurationTables) {
  board_.Dxe().SystemTable()->RuntimeServices = nullptr;
  EFI_HANDLE image = board_.Dxe().NewImageHandle();
  EXPECT_EQ(_ModuleEntryPoint(image, board_.Dxe().SystemTable()), EFI_SUCCESS);
  EXPECT_EQ(gImageHandle, image);
  EXPECT_EQ(gST, board_.Dxe().SystemTable());
  EXPECT_EQ(gBS, &board_.Dxe().BootServices());
  EXPECT_EQ(board_.HaltCount(), 0u);
}

TEST_F(SioPolicyDxeLoadTest, MissingBootServicesHalt) {
  board_.Dxe().SystemTable()->BootServices = nullptr;
  EXPECT_EQ(
      RunModuleCode([&] { _ModuleEntryPoint(board_.Dxe().NewImageHandle(), board_.Dxe().SystemTable()); }),
      Outcome::Halted);
  EXPECT_EQ(gBS, nullptr);
}

TEST_F(SioPolicyDxeLoadTest, StatusCodesCarryTheModuleCallerId) {
  ASSERT_EQ(_ModuleEntryPoint(board_.Dxe().NewImageHandle(), board_.Dxe().SystemTable()), EFI_SUCCESS);
  DebugMessage(DEBUG_ERROR, "policy %d\n", 3);
  ASSERT_EQ(board_.Listener().Records().size(), 1u);
  EXPECT_TRUE(SameGuid(board_.Listener().Records()[0].callerId, gSioPolicyDxeCallerIdGuid));
  EXPECT_EQ(board_.Listener().DebugText(), "policy 3\n");
}

} // namespace
