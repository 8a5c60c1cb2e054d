#include "PeiCore.h"

#include <cstddef>
#include <cstring>

#include "RunEnd.h"
#include "ServiceSlots.h"

namespace board {

namespace {

constexpr size_t kIdtOffset = 8; // the gates start here; the services pointer sits just below
constexpr size_t kGateCount = 256;

bool SameGuid(const EFI_GUID *a, const EFI_GUID *b) {
  return std::memcmp(a, b, sizeof(EFI_GUID)) == 0;
}

// What every gate of the board's IDT points at; nothing raises interrupts on the board.
void UnexpectedInterrupt() {}

void EFIAPI UnusedPeiService() {
  throw BoardFault("module called a PEI service the board does not provide");
}

} // namespace

PeiCore::PeiCore(StatusCodeListener &listener) : listener_(listener) {
  table_.Hdr.Signature = PEI_SERVICES_SIGNATURE;
  table_.Hdr.Revision = (1 << 16) | 70;
  table_.Hdr.HeaderSize = sizeof(table_);
  // Every member first gets the stub, then the services the board provides.
  FillServiceSlots(&table_, offsetof(EFI_PEI_SERVICES, InstallPpi), sizeof(table_), UnusedPeiService);
  table_.CpuIo = nullptr;
  table_.PciCfg = nullptr;
  table_.InstallPpi = InstallPpiService;
  table_.LocatePpi = LocatePpiService;
  table_.NotifyPpi = NotifyPpiService;
  table_.ReportStatusCode = ReportStatusCodeService;

  block_.table = &table_;
  block_.owner = this;

  // 32-bit interrupt gates: offset low, selector, type 0x8E (present, ring 0), offset high.
  auto handler = reinterpret_cast<uintptr_t>(&UnexpectedInterrupt);
  for (size_t gate = 0; gate < kGateCount; ++gate) {
    uint8_t *entry = &idtImage_[kIdtOffset + gate * 8];
    const uint8_t bytes[8] = {
        static_cast<uint8_t>(handler),       static_cast<uint8_t>(handler >> 8), 0x10, 0x00, 0x00, 0x8E,
        static_cast<uint8_t>(handler >> 16), static_cast<uint8_t>(handler >> 24)};
    std::memcpy(entry, bytes, sizeof(bytes));
  }
  SetValueBelowIdt(reinterpret_cast<uintptr_t>(Services()));
}

uintptr_t PeiCore::IdtBase() const {
  return reinterpret_cast<uintptr_t>(&idtImage_[kIdtOffset]);
}

void PeiCore::SetValueBelowIdt(uintptr_t value) {
  UINTN stored = static_cast<UINTN>(value);
  std::memcpy(&idtImage_[kIdtOffset - sizeof(stored)], &stored, sizeof(stored));
}

void PeiCore::StoreIdtr(IA32_DESCRIPTOR &idtr) const {
  idtr.Limit = static_cast<UINT16>(kGateCount * 8 - 1);
  idtr.Base = static_cast<UINTN>(IdtBase());
}

PeiCore &PeiCore::From(const EFI_PEI_SERVICES **services) {
  return *reinterpret_cast<const ServicesBlock *>(services)->owner;
}

EFI_STATUS PeiCore::InstallPpi(const EFI_PEI_PPI_DESCRIPTOR *list) {
  if (list == nullptr) {
    return EFI_INVALID_PARAMETER;
  }
  // Check the whole list first: a bad entry installs nothing.
  for (const EFI_PEI_PPI_DESCRIPTOR *entry = list;; ++entry) {
    if ((entry->Flags & EFI_PEI_PPI_DESCRIPTOR_PPI) == 0 || entry->Guid == nullptr) {
      return EFI_INVALID_PARAMETER;
    }
    if ((entry->Flags & EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST) != 0) {
      break;
    }
  }
  for (const EFI_PEI_PPI_DESCRIPTOR *entry = list;; ++entry) {
    auto *installed = const_cast<EFI_PEI_PPI_DESCRIPTOR *>(entry);
    ppis_.push_back(installed);
    // Callbacks run in the order they were registered.
    for (size_t index = 0; index < notifies_.size(); ++index) {
      if (SameGuid(notifies_[index]->Guid, installed->Guid)) {
        Notify(notifies_[index], installed);
      }
    }
    if ((entry->Flags & EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST) != 0) {
      break;
    }
  }
  return EFI_SUCCESS;
}

EFI_STATUS PeiCore::LocatePpi(const EFI_GUID *guid, UINTN instance, EFI_PEI_PPI_DESCRIPTOR **descriptor,
                              void **ppi) const {
  if (guid == nullptr || ppi == nullptr) {
    return EFI_INVALID_PARAMETER;
  }
  for (EFI_PEI_PPI_DESCRIPTOR *entry : ppis_) {
    if (SameGuid(entry->Guid, guid) && instance-- == 0) {
      if (descriptor != nullptr) {
        *descriptor = entry;
      }
      *ppi = entry->Ppi;
      return EFI_SUCCESS;
    }
  }
  return EFI_NOT_FOUND;
}

EFI_STATUS PeiCore::NotifyPpi(const EFI_PEI_NOTIFY_DESCRIPTOR *list) {
  if (list == nullptr) {
    return EFI_INVALID_PARAMETER;
  }
  for (const EFI_PEI_NOTIFY_DESCRIPTOR *entry = list;; ++entry) {
    if ((entry->Flags & EFI_PEI_PPI_DESCRIPTOR_NOTIFY_TYPES) == 0 || entry->Guid == nullptr ||
        entry->Notify == nullptr) {
      return EFI_INVALID_PARAMETER;
    }
    if ((entry->Flags & EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST) != 0) {
      break;
    }
  }
  for (const EFI_PEI_NOTIFY_DESCRIPTOR *entry = list;; ++entry) {
    notifies_.push_back(entry);
    // A PPI installed before the registration is notified at once.
    for (size_t index = 0; index < ppis_.size(); ++index) {
      if (SameGuid(ppis_[index]->Guid, entry->Guid)) {
        Notify(entry, ppis_[index]);
      }
    }
    if ((entry->Flags & EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST) != 0) {
      break;
    }
  }
  return EFI_SUCCESS;
}

void PeiCore::Notify(const EFI_PEI_NOTIFY_DESCRIPTOR *notify, EFI_PEI_PPI_DESCRIPTOR *installed) {
  notify->Notify(reinterpret_cast<EFI_PEI_SERVICES **>(&block_.table),
                 const_cast<EFI_PEI_NOTIFY_DESCRIPTOR *>(notify), installed->Ppi);
}

EFI_STATUS EFIAPI PeiCore::InstallPpiService(const EFI_PEI_SERVICES **services,
                                             const EFI_PEI_PPI_DESCRIPTOR *list) {
  return From(services).InstallPpi(list);
}

EFI_STATUS EFIAPI PeiCore::LocatePpiService(const EFI_PEI_SERVICES **services, const EFI_GUID *guid,
                                            UINTN instance, EFI_PEI_PPI_DESCRIPTOR **descriptor, void **ppi) {
  return From(services).LocatePpi(guid, instance, descriptor, ppi);
}

EFI_STATUS EFIAPI PeiCore::NotifyPpiService(const EFI_PEI_SERVICES **services,
                                            const EFI_PEI_NOTIFY_DESCRIPTOR *list) {
  return From(services).NotifyPpi(list);
}

EFI_STATUS EFIAPI PeiCore::ReportStatusCodeService(const EFI_PEI_SERVICES **services,
                                                   EFI_STATUS_CODE_TYPE type, EFI_STATUS_CODE_VALUE value,
                                                   UINT32 instance, const EFI_GUID *callerId,
                                                   const EFI_STATUS_CODE_DATA *data) {
  PeiCore &core = From(services);
  core.listener_.Record(type, value, instance, callerId, data);
  return core.statusCodeAnswer_;
}

} // namespace board
