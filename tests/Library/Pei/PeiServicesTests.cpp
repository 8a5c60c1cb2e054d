// The PEI services pointer below the IDT, PPI lookup through it, and the status-code
// path of the pre-memory flavour.
#include <vector>

#include "Library/BaseLib.h"
#include "Library/DebugLib.h"
#include "Library/PeiServicesTablePointerLib.h"
#include "Library/ReportStatusCodeLib.h"
#include "LibraryFixture.h"

namespace {

class PeiServicesTest : public LibraryTest {};

TEST_F(PeiServicesTest, ServicesPointerIsReadBelowTheIdtOnEveryUse) {
  EXPECT_EQ(ReadPeiServicesTablePointer(), board_.Pei().Services());

  // Another value below the IDT is seen at once: nothing is cached.
  EFI_PEI_SERVICES *table = &board_.Pei().Table();
  board_.Pei().SetValueBelowIdt(reinterpret_cast<uintptr_t>(&table));
  EXPECT_EQ(ReadPeiServicesTablePointer(), const_cast<const EFI_PEI_SERVICES **>(&table));
}

TEST_F(PeiServicesTest, IdtrImageIsLimitThenBase) {
  IA32_DESCRIPTOR idtr{};
  ReadIdtr(&idtr);
  EXPECT_EQ(idtr.Base, board_.Pei().IdtBase());
  EXPECT_EQ(idtr.Limit, 256 * 8 - 1);

  auto assertion = RunToHalt(board_, [] { ReadIdtr(nullptr); });
  ASSERT_TRUE(assertion);
  EXPECT_EQ(assertion->file, "ReadIdtr.cpp");
  EXPECT_EQ(assertion->expression, "Idtr != ((void *) 0)");
}

// With no services pointer there is no way to report the failed check: the module
// halts without a record (and without recursing through its own status-code path).
TEST_F(PeiServicesTest, NullServicesPointerHaltsWithoutARecord) {
  board_.Pei().SetValueBelowIdt(0);
  EXPECT_EQ(RunModuleCode([] { ReadPeiServicesTablePointer(); }), Outcome::Halted);
  EXPECT_EQ(board_.HaltCount(), 1u);
  EXPECT_TRUE(board_.Listener().Records().empty());

  // A debugger letting it go sees a null pointer come back, and a PPI lookup that
  // finds nothing instead of calling through it.
  board_.ReleaseHalts(true);
  EXPECT_EQ(ReadPeiServicesTablePointer(), nullptr);
  VOID *ppi = nullptr;
  EXPECT_EQ(LocatePeiPpi(&kTestModuleCallerId, &ppi), EFI_NOT_FOUND);

  // Once the pointer is back, the record of the next check reaches the listener.
  board_.Pei().SetValueBelowIdt(reinterpret_cast<uintptr_t>(board_.Pei().Services()));
  ReadIdtr(nullptr);
  ASSERT_EQ(board_.Listener().Assertions().size(), 1u);
}

TEST_F(PeiServicesTest, PpiLookupReturnsTheServiceStatusUnchanged) {
  static const EFI_GUID kPpiGuid = {
      0x7BF5FECC, 0xC5B5, 0x4B25, {0x81, 0x1B, 0xB4, 0xB5, 0x0B, 0x28, 0x79, 0xF7}};
  int interface = 0;
  VOID *ppi = &ppi;
  EXPECT_EQ(LocatePeiPpi(&kPpiGuid, &ppi), EFI_NOT_FOUND);

  EFI_PEI_PPI_DESCRIPTOR descriptor = {EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
                                       const_cast<EFI_GUID *>(&kPpiGuid), &interface};
  ASSERT_EQ(board_.Pei().InstallPpi(&descriptor), EFI_SUCCESS);
  EXPECT_EQ(LocatePeiPpi(&kPpiGuid, &ppi), EFI_SUCCESS);
  EXPECT_EQ(ppi, &interface);
}

TEST_F(PeiServicesTest, NoListenerYetCountsAsSuccess) {
  static const UINT8 kData[3] = {1, 2, 3};
  const struct {
    EFI_STATUS answer;
    EFI_STATUS result;
  } cases[] = {
      {EFI_SUCCESS, EFI_SUCCESS}, {EFI_NOT_AVAILABLE_YET, EFI_SUCCESS}, {EFI_DEVICE_ERROR, EFI_DEVICE_ERROR}};
  for (const auto &c : cases) {
    board_.Pei().AnswerStatusCodes(c.answer);
    EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 1, nullptr, kData, sizeof(kData)), c.result);
  }
  EXPECT_EQ(EFI_NOT_AVAILABLE_YET, 0xA0000002u);
}

TEST_F(PeiServicesTest, DataAbove492BytesIsRefusedWithAMessage) {
  std::vector<UINT8> data(493, 0x5A);
  EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 1, nullptr, data.data(), 492), EFI_SUCCESS);
  EXPECT_EQ(board_.Listener().Records().back().Payload(), std::vector<UINT8>(492, 0x5A));
  board_.Listener().Clear();
  EXPECT_EQ(ReportStatusCodeWithData(EFI_PROGRESS_CODE, 1, nullptr, data.data(), 493), EFI_OUT_OF_RESOURCES);
  EXPECT_EQ(board_.Listener().DebugText(), "Status code extended data is too large to be reported!\n");
  EXPECT_EQ(board_.Listener().Records().size(), 1u);
}

} // namespace
