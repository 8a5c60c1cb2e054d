#include "DxeCore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "RunEnd.h"
#include "ServiceSlots.h"

namespace board {

namespace {

// The services of a boot-services table carry no context, so they reach the core of
// the board that is running: the one constructed last.
DxeCore *gActiveCore = nullptr;

bool SameGuid(const EFI_GUID &a, const EFI_GUID &b) {
  return std::memcmp(&a, &b, sizeof(EFI_GUID)) == 0;
}

void EFIAPI UnusedBootService() {
  throw BoardFault("module called a boot service the board does not provide");
}
void EFIAPI UnusedRuntimeService() {
  throw BoardFault("module called a runtime service the board does not provide");
}

bool IsNotifyTpl(EFI_TPL tpl) {
  return tpl == TPL_CALLBACK || tpl == TPL_NOTIFY || tpl == TPL_HIGH_LEVEL;
}

} // namespace

DxeCore::DxeCore(StatusCodeListener &listener) : listener_(listener) {
  FillServiceSlots(&bootServices_, offsetof(EFI_BOOT_SERVICES, RaiseTPL), sizeof(bootServices_),
                   UnusedBootService);
  bootServices_.Hdr.Signature = EFI_BOOT_SERVICES_SIGNATURE;
  bootServices_.Hdr.Revision = EFI_2_00_SYSTEM_TABLE_REVISION;
  bootServices_.Hdr.HeaderSize = sizeof(bootServices_);
  bootServices_.Reserved = nullptr;
  bootServices_.RaiseTPL = RaiseTplService;
  bootServices_.RestoreTPL = RestoreTplService;
  bootServices_.AllocatePool = AllocatePoolService;
  bootServices_.FreePool = FreePoolService;
  bootServices_.CreateEvent = CreateEventService;
  bootServices_.SignalEvent = SignalEventService;
  bootServices_.CloseEvent = CloseEventService;
  bootServices_.InstallProtocolInterface = InstallProtocolInterfaceService;
  bootServices_.LocateProtocol = LocateProtocolService;
  bootServices_.CopyMem = CopyMemService;
  bootServices_.SetMem = SetMemService;
  bootServices_.CreateEventEx = CreateEventExService;

  FillServiceSlots(&runtimeServices_, offsetof(EFI_RUNTIME_SERVICES, GetTime), sizeof(runtimeServices_),
                   UnusedRuntimeService);
  runtimeServices_.Hdr.Signature = EFI_RUNTIME_SERVICES_SIGNATURE;
  runtimeServices_.Hdr.Revision = EFI_2_00_SYSTEM_TABLE_REVISION;
  runtimeServices_.Hdr.HeaderSize = sizeof(runtimeServices_);

  statusCodeProtocol_.ReportStatusCode = ReportStatusCodeService;

  systemTable_.Hdr.Signature = EFI_SYSTEM_TABLE_SIGNATURE;
  systemTable_.Hdr.Revision = EFI_2_00_SYSTEM_TABLE_REVISION;
  systemTable_.Hdr.HeaderSize = sizeof(systemTable_);
  systemTable_.BootServices = &bootServices_;
  systemTable_.RuntimeServices = &runtimeServices_;

  previous_ = gActiveCore;
  gActiveCore = this;
}

DxeCore::~DxeCore() {
  for (auto &[block, size] : pool_) {
    std::free(block);
  }
  if (gActiveCore == this) {
    gActiveCore = previous_;
  }
}

DxeCore &DxeCore::Current() {
  if (gActiveCore == nullptr) {
    throw BoardFault("boot service called with no board running");
  }
  return *gActiveCore;
}

EFI_HANDLE DxeCore::NewImageHandle() {
  handles_.push_back(std::make_unique<Handle>());
  return handles_.back().get();
}

void DxeCore::AddConfigurationTable(const EFI_GUID &guid, void *table) {
  configurationTables_.push_back(EFI_CONFIGURATION_TABLE{guid, table});
  systemTable_.NumberOfTableEntries = configurationTables_.size();
  systemTable_.ConfigurationTable = configurationTables_.data();
}

//
// Task priority.
//
EFI_TPL EFIAPI DxeCore::RaiseTplService(EFI_TPL newTpl) {
  DxeCore &core = Current();
  EFI_TPL old = core.tpl_;
  if (newTpl < old || newTpl > TPL_HIGH_LEVEL) {
    throw BoardFault("RaiseTPL to a level below the current one or above TPL_HIGH_LEVEL");
  }
  core.tpl_ = newTpl;
  return old;
}

VOID EFIAPI DxeCore::RestoreTplService(EFI_TPL oldTpl) {
  DxeCore &core = Current();
  if (oldTpl > core.tpl_) {
    throw BoardFault("RestoreTPL to a level above the current one");
  }
  core.tpl_ = oldTpl;
  core.DispatchNotifications();
}

//
// Pool.
//
EFI_STATUS EFIAPI DxeCore::AllocatePoolService(EFI_MEMORY_TYPE type, UINTN size, VOID **buffer) {
  DxeCore &core = Current();
  if (buffer == nullptr || type >= EfiMaxMemoryType || type == EfiConventionalMemory ||
      type == EfiPersistentMemory) {
    return EFI_INVALID_PARAMETER;
  }
  core.allocations_++;
  if (core.failSkip_ > 0) {
    core.failSkip_--;
  } else if (core.failCount_ > 0) {
    core.failCount_--;
    return EFI_OUT_OF_RESOURCES;
  }
  void *block = std::malloc(size > 0 ? size : 1);
  if (block == nullptr) {
    return EFI_OUT_OF_RESOURCES;
  }
  core.pool_[block] = size;
  *buffer = block;
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI DxeCore::FreePoolService(VOID *buffer) {
  DxeCore &core = Current();
  auto it = core.pool_.find(buffer);
  if (it == core.pool_.end()) {
    return EFI_INVALID_PARAMETER;
  }
  std::free(it->first);
  core.pool_.erase(it);
  return EFI_SUCCESS;
}

//
// Protocols.
//
EFI_STATUS DxeCore::InstallProtocol(EFI_HANDLE *handle, const EFI_GUID &guid, void *interface) {
  if (handle == nullptr) {
    return EFI_INVALID_PARAMETER;
  }
  Handle *target = nullptr;
  if (*handle == nullptr) {
    handles_.push_back(std::make_unique<Handle>());
    target = handles_.back().get();
  } else {
    auto it =
        std::find_if(handles_.begin(), handles_.end(), [&](const auto &h) { return h.get() == *handle; });
    if (it == handles_.end()) {
      return EFI_INVALID_PARAMETER;
    }
    target = it->get();
    for (const auto &[installed, unused] : target->protocols) {
      if (SameGuid(installed, guid)) {
        return EFI_INVALID_PARAMETER;
      }
    }
  }
  target->protocols.emplace_back(guid, interface);
  *handle = target;
  return EFI_SUCCESS;
}

void *DxeCore::FindProtocol(const EFI_GUID &guid) const {
  for (const auto &handle : handles_) {
    for (const auto &[installed, interface] : handle->protocols) {
      if (SameGuid(installed, guid)) {
        return interface;
      }
    }
  }
  return nullptr;
}

size_t DxeCore::LocateProtocolCalls(const EFI_GUID &guid) const {
  for (const auto &[called, count] : locateCalls_) {
    if (SameGuid(called, guid)) {
      return count;
    }
  }
  return 0;
}

void DxeCore::InstallStatusCodeProtocol() {
  EFI_HANDLE handle = nullptr;
  InstallProtocol(&handle, gEfiStatusCodeRuntimeProtocolGuid, &statusCodeProtocol_);
}

EFI_STATUS EFIAPI DxeCore::InstallProtocolInterfaceService(EFI_HANDLE *handle, EFI_GUID *protocol,
                                                           EFI_INTERFACE_TYPE interfaceType,
                                                           VOID *interface) {
  if (protocol == nullptr || interfaceType != EFI_NATIVE_INTERFACE) {
    return EFI_INVALID_PARAMETER;
  }
  return Current().InstallProtocol(handle, *protocol, interface);
}

EFI_STATUS EFIAPI DxeCore::LocateProtocolService(EFI_GUID *protocol, VOID *registration, VOID **interface) {
  DxeCore &core = Current();
  (void)registration;
  if (protocol == nullptr || interface == nullptr) {
    return EFI_INVALID_PARAMETER;
  }
  auto counted = std::find_if(core.locateCalls_.begin(), core.locateCalls_.end(),
                              [&](const auto &entry) { return SameGuid(entry.first, *protocol); });
  if (counted == core.locateCalls_.end()) {
    core.locateCalls_.emplace_back(*protocol, 1);
  } else {
    counted->second++;
  }
  *interface = core.FindProtocol(*protocol);
  return *interface != nullptr ? EFI_SUCCESS : EFI_NOT_FOUND;
}

VOID EFIAPI DxeCore::CopyMemService(VOID *destination, VOID *source, UINTN length) {
  std::memmove(destination, source, length);
}

VOID EFIAPI DxeCore::SetMemService(VOID *buffer, UINTN size, UINT8 value) {
  std::memset(buffer, value, size);
}

EFI_STATUS EFIAPI DxeCore::ReportStatusCodeService(EFI_STATUS_CODE_TYPE type, EFI_STATUS_CODE_VALUE value,
                                                   UINT32 instance, const EFI_GUID *callerId,
                                                   const EFI_STATUS_CODE_DATA *data) {
  Current().listener_.Record(type, value, instance, callerId, data);
  return EFI_SUCCESS;
}

//
// Events.
//
EFI_STATUS DxeCore::CreateEvent(uint32_t type, EFI_TPL notifyTpl, EFI_EVENT_NOTIFY notifyFunction,
                                const void *context, const EFI_GUID *group, EFI_EVENT *event) {
  if (event == nullptr) {
    return EFI_INVALID_PARAMETER;
  }
  const uint32_t notifyTypes = EVT_NOTIFY_SIGNAL | EVT_NOTIFY_WAIT;
  if ((type & notifyTypes) == notifyTypes) {
    return EFI_INVALID_PARAMETER;
  }
  if ((type & notifyTypes) != 0 && (notifyFunction == nullptr || !IsNotifyTpl(notifyTpl))) {
    return EFI_INVALID_PARAMETER;
  }
  auto created = std::make_unique<Event>(Event{type, notifyTpl, notifyFunction, context, group != nullptr,
                                               group != nullptr ? *group : EFI_GUID{}, false, 0});
  *event = created.get();
  events_.push_back(std::move(created));
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI DxeCore::CreateEventService(UINT32 type, EFI_TPL notifyTpl, EFI_EVENT_NOTIFY notifyFunction,
                                              VOID *notifyContext, EFI_EVENT *event) {
  return Current().CreateEvent(type, notifyTpl, notifyFunction, notifyContext, nullptr, event);
}

EFI_STATUS EFIAPI DxeCore::CreateEventExService(UINT32 type, EFI_TPL notifyTpl,
                                                EFI_EVENT_NOTIFY notifyFunction, CONST VOID *notifyContext,
                                                CONST EFI_GUID *eventGroup, EFI_EVENT *event) {
  return Current().CreateEvent(type, notifyTpl, notifyFunction, notifyContext, eventGroup, event);
}

const DxeCore::Event *DxeCore::FindEvent(EFI_EVENT event) const {
  for (const auto &owned : events_) {
    if (owned.get() == event) {
      return owned.get();
    }
  }
  return nullptr;
}

std::vector<EFI_EVENT> DxeCore::EventsInGroup(const EFI_GUID &group) const {
  std::vector<EFI_EVENT> members;
  for (const auto &owned : events_) {
    if (owned->inGroup && SameGuid(owned->group, group)) {
      members.push_back(owned.get());
    }
  }
  return members;
}

void DxeCore::Signal(Event &event) {
  if (event.inGroup) {
    // Signalling one member of a group signals them all.
    for (auto &owned : events_) {
      if (owned->inGroup && SameGuid(owned->group, event.group)) {
        owned->signaled = true;
      }
    }
  } else {
    event.signaled = true;
  }
  DispatchNotifications();
}

void DxeCore::SignalGroup(const EFI_GUID &group) {
  for (auto &owned : events_) {
    if (owned->inGroup && SameGuid(owned->group, group)) {
      owned->signaled = true;
    }
  }
  DispatchNotifications();
}

EFI_STATUS EFIAPI DxeCore::SignalEventService(EFI_EVENT event) {
  DxeCore &core = Current();
  const Event *found = core.FindEvent(event);
  if (found == nullptr) {
    return EFI_INVALID_PARAMETER;
  }
  core.Signal(*const_cast<Event *>(found));
  return EFI_SUCCESS;
}

EFI_STATUS EFIAPI DxeCore::CloseEventService(EFI_EVENT event) {
  DxeCore &core = Current();
  auto it =
      std::find_if(core.events_.begin(), core.events_.end(), [&](const auto &e) { return e.get() == event; });
  if (it == core.events_.end()) {
    return EFI_INVALID_PARAMETER;
  }
  core.events_.erase(it);
  return EFI_SUCCESS;
}

void DxeCore::DispatchNotifications() {
  if (dispatching_) {
    return; // the outer dispatch picks up what a notification signals
  }
  dispatching_ = true;
  struct Reset {
    bool &flag;
    ~Reset() { flag = false; }
  } reset{dispatching_};
  for (;;) {
    Event *next = nullptr;
    for (auto &owned : events_) {
      if (owned->signaled && (owned->type & EVT_NOTIFY_SIGNAL) != 0 && owned->notifyTpl > tpl_ &&
          (next == nullptr || owned->notifyTpl > next->notifyTpl)) {
        next = owned.get();
      }
    }
    if (next == nullptr) {
      return;
    }
    next->signaled = false;
    next->notifications++;
    // The notification runs at its own level; the level in force before comes back after.
    EFI_TPL previous = tpl_;
    tpl_ = next->notifyTpl;
    next->notifyFunction(next, const_cast<void *>(next->notifyContext));
    tpl_ = previous;
  }
}

} // namespace board
