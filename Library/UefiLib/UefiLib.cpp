// Configuration-table lookup and the ready-to-boot event.
#include "Library/UefiLib.h"
#include "Guid/EventGroup.h"
#include "Library/BaseMemoryLib.h"
#include "Library/DebugLib.h"
#include "Library/UefiBootServicesTableLib.h"

EFI_STATUS EFIAPI LocateConfigurationTable(CONST EFI_GUID *TableGuid, VOID **Table) {
  ASSERT_OR_RETURN(TableGuid != NULL_POINTER, EFI_INVALID_PARAMETER);
  ASSERT_OR_RETURN(Table != NULL_POINTER, EFI_INVALID_PARAMETER);

  *Table = nullptr;
  for (UINTN Index = 0; Index < gST->NumberOfTableEntries; Index++) {
    if (CompareGuid(TableGuid, &gST->ConfigurationTable[Index].VendorGuid)) {
      *Table = gST->ConfigurationTable[Index].VendorTable;
      return EFI_SUCCESS;
    }
  }
  return EFI_NOT_FOUND;
}

VOID EFIAPI EmptyNotify(EFI_EVENT Event, VOID *Context) {
  (VOID) Event;
  (VOID) Context;
}

EFI_STATUS EFIAPI CreateReadyToBootEvent(EFI_TPL NotifyTpl, EFI_EVENT_NOTIFY NotifyFunction,
                                         VOID *NotifyContext, EFI_EVENT *ReadyToBootEvent) {
  ASSERT_OR_RETURN(ReadyToBootEvent != NULL_POINTER, EFI_INVALID_PARAMETER);

  // Event groups came with revision 2.0 of the firmware interface.
  if (gST->Hdr.Revision < EFI_2_00_SYSTEM_TABLE_REVISION) {
    DebugMessage(DEBUG_ERROR, "EFI1.1 can't support ReadyToBootEvent!");
    ASSERT(FALSE);
    return EFI_UNSUPPORTED;
  }

  return gBS->CreateEventEx(EVT_NOTIFY_SIGNAL, NotifyTpl,
                            NotifyFunction != nullptr ? NotifyFunction : EmptyNotify, NotifyContext,
                            &gEfiEventReadyToBootGuid, ReadyToBootEvent);
}
