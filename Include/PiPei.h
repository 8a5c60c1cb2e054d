// The pre-memory interface as the PEI modules see it: the PEI services table, PPI and
// notify descriptors and the hand-off blocks. Layouts follow the published PI
// specification; the services table lists all members in order so that every offset
// is right, members no module calls keep a generic function-pointer type.
#ifndef PI_PEI_H_
#define PI_PEI_H_

#include "Base.h"
#include "Pi/StatusCode.h"
#include "Uefi.h"

typedef VOID *EFI_PEI_FILE_HANDLE;

typedef struct EFI_PEI_SERVICES EFI_PEI_SERVICES;
typedef struct EFI_PEI_NOTIFY_DESCRIPTOR EFI_PEI_NOTIFY_DESCRIPTOR;

typedef struct {
  UINTN Flags;
  EFI_GUID *Guid;
  VOID *Ppi;
} EFI_PEI_PPI_DESCRIPTOR;

typedef EFI_STATUS(EFIAPI *EFI_PEIM_NOTIFY_ENTRY_POINT)(EFI_PEI_SERVICES **PeiServices,
                                                        EFI_PEI_NOTIFY_DESCRIPTOR *NotifyDescriptor,
                                                        VOID *Ppi);

struct EFI_PEI_NOTIFY_DESCRIPTOR {
  UINTN Flags;
  EFI_GUID *Guid;
  EFI_PEIM_NOTIFY_ENTRY_POINT Notify;
};

#define EFI_PEI_PPI_DESCRIPTOR_PIC 0x00000001
#define EFI_PEI_PPI_DESCRIPTOR_PPI 0x00000010
#define EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK 0x00000020
#define EFI_PEI_PPI_DESCRIPTOR_NOTIFY_DISPATCH 0x00000040
#define EFI_PEI_PPI_DESCRIPTOR_NOTIFY_TYPES 0x00000060
#define EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST 0x80000000

typedef EFI_STATUS(EFIAPI *EFI_PEI_INSTALL_PPI)(CONST EFI_PEI_SERVICES **PeiServices,
                                                CONST EFI_PEI_PPI_DESCRIPTOR *PpiList);
typedef EFI_STATUS(EFIAPI *EFI_PEI_LOCATE_PPI)(CONST EFI_PEI_SERVICES **PeiServices, CONST EFI_GUID *Guid,
                                               UINTN Instance, EFI_PEI_PPI_DESCRIPTOR **PpiDescriptor,
                                               VOID **Ppi);
typedef EFI_STATUS(EFIAPI *EFI_PEI_NOTIFY_PPI)(CONST EFI_PEI_SERVICES **PeiServices,
                                               CONST EFI_PEI_NOTIFY_DESCRIPTOR *NotifyList);
typedef EFI_STATUS(EFIAPI *EFI_PEI_GET_HOB_LIST)(CONST EFI_PEI_SERVICES **PeiServices, VOID **HobList);
typedef EFI_STATUS(EFIAPI *EFI_PEI_REPORT_STATUS_CODE)(CONST EFI_PEI_SERVICES **PeiServices,
                                                       EFI_STATUS_CODE_TYPE Type, EFI_STATUS_CODE_VALUE Value,
                                                       UINT32 Instance, CONST EFI_GUID *CallerId,
                                                       CONST EFI_STATUS_CODE_DATA *Data);

struct EFI_PEI_SERVICES {
  EFI_TABLE_HEADER Hdr;
  // PPI functions
  EFI_PEI_INSTALL_PPI InstallPpi;
  EFI_UNUSED_SERVICE ReInstallPpi;
  EFI_PEI_LOCATE_PPI LocatePpi;
  EFI_PEI_NOTIFY_PPI NotifyPpi;
  // Boot mode functions
  EFI_UNUSED_SERVICE GetBootMode;
  EFI_UNUSED_SERVICE SetBootMode;
  // HOB functions
  EFI_PEI_GET_HOB_LIST GetHobList;
  EFI_UNUSED_SERVICE CreateHob;
  // Firmware volume functions
  EFI_UNUSED_SERVICE FfsFindNextVolume;
  EFI_UNUSED_SERVICE FfsFindNextFile;
  EFI_UNUSED_SERVICE FfsFindSectionData;
  // PEI memory functions
  EFI_UNUSED_SERVICE InstallPeiMemory;
  EFI_UNUSED_SERVICE AllocatePages;
  EFI_UNUSED_SERVICE AllocatePool;
  EFI_UNUSED_SERVICE CopyMem;
  EFI_UNUSED_SERVICE SetMem;
  // Status code
  EFI_PEI_REPORT_STATUS_CODE ReportStatusCode;
  // Reset
  EFI_UNUSED_SERVICE ResetSystem;
  // I/O abstractions
  VOID *CpuIo;
  VOID *PciCfg;
  // Future installed services
  EFI_UNUSED_SERVICE FfsFindFileByName;
  EFI_UNUSED_SERVICE FfsGetFileInfo;
  EFI_UNUSED_SERVICE FfsGetVolumeInfo;
  EFI_UNUSED_SERVICE RegisterForShadow;
  EFI_UNUSED_SERVICE FindSectionData3;
  EFI_UNUSED_SERVICE FfsGetFileInfo2;
  EFI_UNUSED_SERVICE ResetSystem2;
  EFI_UNUSED_SERVICE FreePages;
};

#define PEI_SERVICES_SIGNATURE 0x5652455320494550ULL

typedef EFI_STATUS(EFIAPI *EFI_PEIM_ENTRY_POINT2)(EFI_PEI_FILE_HANDLE FileHandle,
                                                  CONST EFI_PEI_SERVICES **PeiServices);

//
// Hand-off blocks.
//
#define EFI_HOB_TYPE_HANDOFF 0x0001
#define EFI_HOB_TYPE_MEMORY_ALLOCATION 0x0002
#define EFI_HOB_TYPE_RESOURCE_DESCRIPTOR 0x0003
#define EFI_HOB_TYPE_GUID_EXTENSION 0x0004
#define EFI_HOB_TYPE_FV 0x0005
#define EFI_HOB_TYPE_CPU 0x0006
#define EFI_HOB_TYPE_MEMORY_POOL 0x0007
#define EFI_HOB_TYPE_UNUSED 0xFFFE
#define EFI_HOB_TYPE_END_OF_HOB_LIST 0xFFFF

typedef struct {
  UINT16 HobType;
  UINT16 HobLength;
  UINT32 Reserved;
} EFI_HOB_GENERIC_HEADER;

typedef struct {
  EFI_HOB_GENERIC_HEADER Header;
  EFI_GUID Name;
  // Followed by the data the GUID names.
} EFI_HOB_GUID_TYPE;

static_assert(sizeof(EFI_HOB_GENERIC_HEADER) == 8 && offsetof(EFI_HOB_GENERIC_HEADER, HobLength) == 2);
static_assert(sizeof(EFI_HOB_GUID_TYPE) == 24 && offsetof(EFI_HOB_GUID_TYPE, Name) == 8);

#if defined(MDE_CPU_X64)
static_assert(sizeof(EFI_PEI_PPI_DESCRIPTOR) == 24 && sizeof(EFI_PEI_NOTIFY_DESCRIPTOR) == 24);
static_assert(offsetof(EFI_PEI_SERVICES, LocatePpi) == 40 &&
              offsetof(EFI_PEI_SERVICES, ReportStatusCode) == 152);
#else
static_assert(sizeof(EFI_PEI_PPI_DESCRIPTOR) == 12 && offsetof(EFI_PEI_PPI_DESCRIPTOR, Guid) == 4 &&
              offsetof(EFI_PEI_PPI_DESCRIPTOR, Ppi) == 8);
static_assert(sizeof(EFI_PEI_NOTIFY_DESCRIPTOR) == 12 && offsetof(EFI_PEI_NOTIFY_DESCRIPTOR, Notify) == 8);
static_assert(offsetof(EFI_PEI_SERVICES, InstallPpi) == 24 && offsetof(EFI_PEI_SERVICES, LocatePpi) == 32 &&
              offsetof(EFI_PEI_SERVICES, NotifyPpi) == 36 && offsetof(EFI_PEI_SERVICES, GetHobList) == 48 &&
              offsetof(EFI_PEI_SERVICES, ReportStatusCode) == 88 && offsetof(EFI_PEI_SERVICES, CpuIo) == 96 &&
              offsetof(EFI_PEI_SERVICES, FreePages) == 132 && sizeof(EFI_PEI_SERVICES) == 136);
#endif

#endif // PI_PEI_H_
