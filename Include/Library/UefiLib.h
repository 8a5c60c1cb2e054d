// Configuration-table lookup and the ready-to-boot event.
#ifndef UEFI_LIB_H_
#define UEFI_LIB_H_

#include "Uefi.h"

// Finds the first configuration-table entry whose GUID is TableGuid. Returns
// EFI_SUCCESS with *Table set to its table, or EFI_NOT_FOUND with *Table null.
// Asserts on a null TableGuid or Table.
EFI_STATUS EFIAPI LocateConfigurationTable(CONST EFI_GUID *TableGuid, VOID **Table);

// Creates a signal event in the ready-to-boot group (EmptyNotify when NotifyFunction is
// null) and returns the status of CreateEventEx. Asserts on a null ReadyToBootEvent;
// on firmware older than revision 2.0 it reports that, asserts and returns
// EFI_UNSUPPORTED.
EFI_STATUS EFIAPI CreateReadyToBootEvent(EFI_TPL NotifyTpl, EFI_EVENT_NOTIFY NotifyFunction,
                                         VOID *NotifyContext, EFI_EVENT *ReadyToBootEvent);

// A notification that does nothing.
VOID EFIAPI EmptyNotify(EFI_EVENT Event, VOID *Context);

#endif // UEFI_LIB_H_
