#include "LibraryFixture.h"
#include "Library/UefiBootServicesTableLib.h"
#include "Library/UefiRuntimeServicesTableLib.h"
#include "ReportStatusCodeLibInternal.h"

LibraryTest::LibraryTest() {
  mStatusCodeProtocol = nullptr; // a fresh load of the module: the protocol not yet found
  board_.Dxe().InstallStatusCodeProtocol();
  gImageHandle = board_.Dxe().NewImageHandle();
  gST = board_.Dxe().SystemTable();
  gBS = gST->BootServices;
  gRT = gST->RuntimeServices;
}

LibraryTest::~LibraryTest() {
  mStatusCodeProtocol = nullptr;
  gImageHandle = nullptr;
  gST = nullptr;
  gBS = nullptr;
  gRT = nullptr;
}
