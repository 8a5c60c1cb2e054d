// The boot-services core as the DXE drivers see it: the system table (revision
// configurable, configuration tables), boot services (tracked pool with failure
// injection, task priority, protocol database, events and event groups) and the
// status-code protocol, installable at any point of a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "Protocol/StatusCode.h"
#include "StatusCodeListener.h"
#include "Uefi.h"

namespace board {

class DxeCore {
public:
  explicit DxeCore(StatusCodeListener &listener);
  ~DxeCore();
  DxeCore(const DxeCore &) = delete;
  DxeCore &operator=(const DxeCore &) = delete;

  // The system table handed to a driver's entry point; tests may change its fields
  // (a null RuntimeServices, say) before the driver runs.
  EFI_SYSTEM_TABLE *SystemTable() { return &systemTable_; }
  EFI_BOOT_SERVICES &BootServices() { return bootServices_; }
  // A fresh image handle for a driver about to be started.
  EFI_HANDLE NewImageHandle();

  void SetRevision(uint32_t revision) { systemTable_.Hdr.Revision = revision; }
  // Appends an entry; the same GUID may be listed twice.
  void AddConfigurationTable(const EFI_GUID &guid, void *table);

  // Pool. A failure plan makes the next `count` allocations fail after `skip` succeed.
  void FailAllocations(size_t count, size_t skip = 0) {
    failSkip_ = skip;
    failCount_ = count;
  }
  size_t OutstandingPoolBlocks() const { return pool_.size(); }
  size_t AllocationCount() const { return allocations_; }

  // Task priority. Tests may set the level a driver's code is called at.
  EFI_TPL CurrentTpl() const { return tpl_; }
  void SetTpl(EFI_TPL tpl) { tpl_ = tpl; }

  // Protocols.
  EFI_STATUS InstallProtocol(EFI_HANDLE *handle, const EFI_GUID &guid, void *interface);
  void *FindProtocol(const EFI_GUID &guid) const;
  size_t LocateProtocolCalls(const EFI_GUID &guid) const;
  // Installs the board's status-code protocol, which hands codes to the listener.
  void InstallStatusCodeProtocol();

  // Events. Signalling a group notifies every signal event in it, as the boot manager
  // does for ready-to-boot.
  struct Event {
    uint32_t type;
    EFI_TPL notifyTpl;
    EFI_EVENT_NOTIFY notifyFunction;
    const void *notifyContext;
    bool inGroup;
    EFI_GUID group;
    bool signaled;
    size_t notifications;
  };
  void SignalGroup(const EFI_GUID &group);
  const Event *FindEvent(EFI_EVENT event) const;
  std::vector<EFI_EVENT> EventsInGroup(const EFI_GUID &group) const;

private:
  static DxeCore &Current();

  static EFI_TPL EFIAPI RaiseTplService(EFI_TPL newTpl);
  static VOID EFIAPI RestoreTplService(EFI_TPL oldTpl);
  static EFI_STATUS EFIAPI AllocatePoolService(EFI_MEMORY_TYPE type, UINTN size, VOID **buffer);
  static EFI_STATUS EFIAPI FreePoolService(VOID *buffer);
  static EFI_STATUS EFIAPI CreateEventService(UINT32 type, EFI_TPL notifyTpl, EFI_EVENT_NOTIFY notifyFunction,
                                              VOID *notifyContext, EFI_EVENT *event);
  static EFI_STATUS EFIAPI SignalEventService(EFI_EVENT event);
  static EFI_STATUS EFIAPI CloseEventService(EFI_EVENT event);
  static EFI_STATUS EFIAPI InstallProtocolInterfaceService(EFI_HANDLE *handle, EFI_GUID *protocol,
                                                           EFI_INTERFACE_TYPE interfaceType, VOID *interface);
  static EFI_STATUS EFIAPI LocateProtocolService(EFI_GUID *protocol, VOID *registration, VOID **interface);
  static VOID EFIAPI CopyMemService(VOID *destination, VOID *source, UINTN length);
  static VOID EFIAPI SetMemService(VOID *buffer, UINTN size, UINT8 value);
  static EFI_STATUS EFIAPI CreateEventExService(UINT32 type, EFI_TPL notifyTpl,
                                                EFI_EVENT_NOTIFY notifyFunction, CONST VOID *notifyContext,
                                                CONST EFI_GUID *eventGroup, EFI_EVENT *event);
  static EFI_STATUS EFIAPI ReportStatusCodeService(EFI_STATUS_CODE_TYPE type, EFI_STATUS_CODE_VALUE value,
                                                   UINT32 instance, const EFI_GUID *callerId,
                                                   const EFI_STATUS_CODE_DATA *data);

  EFI_STATUS CreateEvent(uint32_t type, EFI_TPL notifyTpl, EFI_EVENT_NOTIFY notifyFunction,
                         const void *context, const EFI_GUID *group, EFI_EVENT *event);
  void Signal(Event &event);
  // Runs the pending notifications whose level is above the current one, highest first.
  void DispatchNotifications();

  StatusCodeListener &listener_;
  EFI_SYSTEM_TABLE systemTable_{};
  EFI_BOOT_SERVICES bootServices_{};
  EFI_RUNTIME_SERVICES runtimeServices_{};
  EFI_STATUS_CODE_PROTOCOL statusCodeProtocol_{};
  std::vector<EFI_CONFIGURATION_TABLE> configurationTables_;

  std::map<void *, size_t> pool_;
  size_t allocations_ = 0;
  size_t failSkip_ = 0;
  size_t failCount_ = 0;

  EFI_TPL tpl_ = TPL_APPLICATION;

  struct Handle {
    std::vector<std::pair<EFI_GUID, void *>> protocols;
  };
  std::vector<std::unique_ptr<Handle>> handles_;
  std::vector<std::pair<EFI_GUID, size_t>> locateCalls_;

  std::vector<std::unique_ptr<Event>> events_;
  bool dispatching_ = false;
  DxeCore *previous_ = nullptr;
};

} // namespace board
