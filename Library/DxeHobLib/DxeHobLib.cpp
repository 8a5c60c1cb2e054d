// The HOB list of the boot-services phase, from the configuration table.
#include "Library/HobLib.h"
#include "Guid/HobList.h"
#include "Library/DebugLib.h"
#include "Library/UefiLib.h"

VOID *mHobList = nullptr;

EFI_STATUS EFIAPI DxeHobLibConstructor(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable) {
  (VOID) ImageHandle;
  (VOID) SystemTable;
  EFI_STATUS Status = LocateConfigurationTable(&gEfiHobListGuid, &mHobList);
  ASSERT_EFI_ERROR(Status);
  ASSERT_OR_RETURN(mHobList != NULL_POINTER, EFI_NOT_FOUND);
  return EFI_SUCCESS;
}

VOID *EFIAPI GetHobList(VOID) {
  return mHobList;
}
