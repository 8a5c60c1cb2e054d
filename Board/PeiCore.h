// The pre-memory core as the PEI modules see it: the PEI services table in the PI
// layout, the PPI database with its notifications, and the services pointer kept in
// the four bytes below a real interrupt descriptor table.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Library/CpuPrimitives.h"
#include "PiPei.h"
#include "StatusCodeListener.h"

namespace board {

class PeiCore {
public:
  explicit PeiCore(StatusCodeListener &listener);
  PeiCore(const PeiCore &) = delete;
  PeiCore &operator=(const PeiCore &) = delete;

  // The pointer the core hands to module entry points and callbacks.
  const EFI_PEI_SERVICES **Services() { return const_cast<const EFI_PEI_SERVICES **>(&block_.table); }
  EFI_PEI_SERVICES &Table() { return table_; }

  // The IDT image and the value kept below its base. Tests may store another value
  // (zero, say) to play a core that lost the pointer.
  void StoreIdtr(IA32_DESCRIPTOR &idtr) const;
  void SetValueBelowIdt(uintptr_t value);
  uintptr_t IdtBase() const;

  // What ReportStatusCode answers after keeping the code (EFI_SUCCESS by default;
  // EFI_NOT_AVAILABLE_YET plays a core whose listener is not up yet).
  void AnswerStatusCodes(EFI_STATUS status) { statusCodeAnswer_ = status; }

  // The PPI database, for the board's own use (other platform modules' PPIs).
  EFI_STATUS InstallPpi(const EFI_PEI_PPI_DESCRIPTOR *list);
  EFI_STATUS LocatePpi(const EFI_GUID *guid, UINTN instance, EFI_PEI_PPI_DESCRIPTOR **descriptor,
                       void **ppi) const;
  EFI_STATUS NotifyPpi(const EFI_PEI_NOTIFY_DESCRIPTOR *list);

private:
  // What the services pointer points at: the table pointer, then the owning core, so
  // that a service can find its core from the pointer it is called with.
  struct ServicesBlock {
    EFI_PEI_SERVICES *table;
    PeiCore *owner;
  };
  static PeiCore &From(const EFI_PEI_SERVICES **services);

  static EFI_STATUS EFIAPI InstallPpiService(const EFI_PEI_SERVICES **services,
                                             const EFI_PEI_PPI_DESCRIPTOR *list);
  static EFI_STATUS EFIAPI LocatePpiService(const EFI_PEI_SERVICES **services, const EFI_GUID *guid,
                                            UINTN instance, EFI_PEI_PPI_DESCRIPTOR **descriptor, void **ppi);
  static EFI_STATUS EFIAPI NotifyPpiService(const EFI_PEI_SERVICES **services,
                                            const EFI_PEI_NOTIFY_DESCRIPTOR *list);
  static EFI_STATUS EFIAPI ReportStatusCodeService(const EFI_PEI_SERVICES **services,
                                                   EFI_STATUS_CODE_TYPE type, EFI_STATUS_CODE_VALUE value,
                                                   UINT32 instance, const EFI_GUID *callerId,
                                                   const EFI_STATUS_CODE_DATA *data);

  void Notify(const EFI_PEI_NOTIFY_DESCRIPTOR *notify, EFI_PEI_PPI_DESCRIPTOR *installed);

  StatusCodeListener &listener_;
  EFI_PEI_SERVICES table_{};
  ServicesBlock block_{};
  EFI_STATUS statusCodeAnswer_ = EFI_SUCCESS;
  // The services pointer slot followed by 256 eight-byte gate descriptors.
  alignas(8) std::array<uint8_t, 8 + 256 * 8> idtImage_{};
  std::vector<EFI_PEI_PPI_DESCRIPTOR *> ppis_;
  std::vector<const EFI_PEI_NOTIFY_DESCRIPTOR *> notifies_;
};

} // namespace board
