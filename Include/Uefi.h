// The UEFI boot-time interface as the boot-services drivers see it: the system table,
// the boot-services and runtime-services tables, the simple text console protocols
// and the records they exchange. Layouts follow the published UEFI specification;
// every table lists all its members in order so that every offset is right.
// Members no module of this tree calls keep a generic function-pointer type.
#ifndef UEFI_H_
#define UEFI_H_

#include "Base.h"

// Placeholder type of a service no module calls; it keeps the slot's width.
typedef VOID(EFIAPI *EFI_UNUSED_SERVICE)(VOID);

typedef struct {
  UINT64 Signature;
  UINT32 Revision;
  UINT32 HeaderSize;
  UINT32 CRC32;
  UINT32 Reserved;
} EFI_TABLE_HEADER;
static_assert(sizeof(EFI_TABLE_HEADER) == 24);

#define EFI_2_00_SYSTEM_TABLE_REVISION ((2 << 16) | 00)
#define EFI_1_10_SYSTEM_TABLE_REVISION ((1 << 16) | 10)

typedef enum {
  EfiReservedMemoryType,
  EfiLoaderCode,
  EfiLoaderData,
  EfiBootServicesCode,
  EfiBootServicesData,
  EfiRuntimeServicesCode,
  EfiRuntimeServicesData,
  EfiConventionalMemory,
  EfiUnusableMemory,
  EfiACPIReclaimMemory,
  EfiACPIMemoryNVS,
  EfiMemoryMappedIO,
  EfiMemoryMappedIOPortSpace,
  EfiPalCode,
  EfiPersistentMemory,
  EfiMaxMemoryType
} EFI_MEMORY_TYPE;
static_assert(sizeof(EFI_MEMORY_TYPE) == 4 && EfiBootServicesData == 4);

typedef enum { EFI_NATIVE_INTERFACE } EFI_INTERFACE_TYPE;

typedef enum { EfiResetCold, EfiResetWarm, EfiResetShutdown, EfiResetPlatformSpecific } EFI_RESET_TYPE;

//
// Events.
//
#define EVT_TIMER 0x80000000
#define EVT_RUNTIME 0x40000000
#define EVT_NOTIFY_WAIT 0x00000100
#define EVT_NOTIFY_SIGNAL 0x00000200

typedef VOID(EFIAPI *EFI_EVENT_NOTIFY)(EFI_EVENT Event, VOID *Context);

//
// Time.
//
typedef struct {
  UINT16 Year;
  UINT8 Month;
  UINT8 Day;
  UINT8 Hour;
  UINT8 Minute;
  UINT8 Second;
  UINT8 Pad1;
  UINT32 Nanosecond;
  INT16 TimeZone;
  UINT8 Daylight;
  UINT8 Pad2;
} EFI_TIME;
static_assert(sizeof(EFI_TIME) == 16 && offsetof(EFI_TIME, Nanosecond) == 8 &&
              offsetof(EFI_TIME, TimeZone) == 12);

typedef struct {
  UINT32 Resolution;
  UINT32 Accuracy;
  BOOLEAN SetsToZero;
} EFI_TIME_CAPABILITIES;

//
// Simple text input.
//
typedef struct {
  UINT16 ScanCode;
  CHAR16 UnicodeChar;
} EFI_INPUT_KEY;
static_assert(sizeof(EFI_INPUT_KEY) == 4 && offsetof(EFI_INPUT_KEY, UnicodeChar) == 2);

#define SCAN_NULL 0x0000
#define SCAN_ESC 0x0017

typedef struct EFI_SIMPLE_TEXT_INPUT_PROTOCOL EFI_SIMPLE_TEXT_INPUT_PROTOCOL;
typedef EFI_STATUS(EFIAPI *EFI_INPUT_RESET)(EFI_SIMPLE_TEXT_INPUT_PROTOCOL *This,
                                            BOOLEAN ExtendedVerification);
typedef EFI_STATUS(EFIAPI *EFI_INPUT_READ_KEY)(EFI_SIMPLE_TEXT_INPUT_PROTOCOL *This, EFI_INPUT_KEY *Key);

struct EFI_SIMPLE_TEXT_INPUT_PROTOCOL {
  EFI_INPUT_RESET Reset;
  EFI_INPUT_READ_KEY ReadKeyStroke;
  EFI_EVENT WaitForKey;
};

//
// Simple text output.
//
typedef struct {
  INT32 MaxMode;
  INT32 Mode;
  INT32 Attribute;
  INT32 CursorColumn;
  INT32 CursorRow;
  BOOLEAN CursorVisible;
} EFI_SIMPLE_TEXT_OUTPUT_MODE;
static_assert(sizeof(EFI_SIMPLE_TEXT_OUTPUT_MODE) == 24 &&
              offsetof(EFI_SIMPLE_TEXT_OUTPUT_MODE, CursorVisible) == 20);

typedef struct EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL;
typedef EFI_STATUS(EFIAPI *EFI_TEXT_RESET)(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *This,
                                           BOOLEAN ExtendedVerification);
typedef EFI_STATUS(EFIAPI *EFI_TEXT_STRING)(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *This, CHAR16 *String);
typedef EFI_STATUS(EFIAPI *EFI_TEXT_TEST_STRING)(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *This, CHAR16 *String);
typedef EFI_STATUS(EFIAPI *EFI_TEXT_QUERY_MODE)(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *This, UINTN ModeNumber,
                                                UINTN *Columns, UINTN *Rows);
typedef EFI_STATUS(EFIAPI *EFI_TEXT_SET_MODE)(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *This, UINTN ModeNumber);
typedef EFI_STATUS(EFIAPI *EFI_TEXT_SET_ATTRIBUTE)(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *This, UINTN Attribute);
typedef EFI_STATUS(EFIAPI *EFI_TEXT_CLEAR_SCREEN)(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *This);
typedef EFI_STATUS(EFIAPI *EFI_TEXT_SET_CURSOR_POSITION)(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *This, UINTN Column,
                                                         UINTN Row);
typedef EFI_STATUS(EFIAPI *EFI_TEXT_ENABLE_CURSOR)(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *This, BOOLEAN Visible);

struct EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL {
  EFI_TEXT_RESET Reset;
  EFI_TEXT_STRING OutputString;
  EFI_TEXT_TEST_STRING TestString;
  EFI_TEXT_QUERY_MODE QueryMode;
  EFI_TEXT_SET_MODE SetMode;
  EFI_TEXT_SET_ATTRIBUTE SetAttribute;
  EFI_TEXT_CLEAR_SCREEN ClearScreen;
  EFI_TEXT_SET_CURSOR_POSITION SetCursorPosition;
  EFI_TEXT_ENABLE_CURSOR EnableCursor;
  EFI_SIMPLE_TEXT_OUTPUT_MODE *Mode;
};

//
// Boot services.
//
typedef EFI_TPL(EFIAPI *EFI_RAISE_TPL)(EFI_TPL NewTpl);
typedef VOID(EFIAPI *EFI_RESTORE_TPL)(EFI_TPL OldTpl);
typedef EFI_STATUS(EFIAPI *EFI_ALLOCATE_POOL)(EFI_MEMORY_TYPE PoolType, UINTN Size, VOID **Buffer);
typedef EFI_STATUS(EFIAPI *EFI_FREE_POOL)(VOID *Buffer);
typedef EFI_STATUS(EFIAPI *EFI_CREATE_EVENT)(UINT32 Type, EFI_TPL NotifyTpl, EFI_EVENT_NOTIFY NotifyFunction,
                                             VOID *NotifyContext, EFI_EVENT *Event);
typedef EFI_STATUS(EFIAPI *EFI_WAIT_FOR_EVENT)(UINTN NumberOfEvents, EFI_EVENT *Event, UINTN *Index);
typedef EFI_STATUS(EFIAPI *EFI_SIGNAL_EVENT)(EFI_EVENT Event);
typedef EFI_STATUS(EFIAPI *EFI_CLOSE_EVENT)(EFI_EVENT Event);
typedef EFI_STATUS(EFIAPI *EFI_CHECK_EVENT)(EFI_EVENT Event);
typedef EFI_STATUS(EFIAPI *EFI_INSTALL_PROTOCOL_INTERFACE)(EFI_HANDLE *Handle, EFI_GUID *Protocol,
                                                           EFI_INTERFACE_TYPE InterfaceType, VOID *Interface);
typedef EFI_STATUS(EFIAPI *EFI_HANDLE_PROTOCOL)(EFI_HANDLE Handle, EFI_GUID *Protocol, VOID **Interface);
typedef EFI_STATUS(EFIAPI *EFI_STALL)(UINTN Microseconds);
typedef EFI_STATUS(EFIAPI *EFI_LOCATE_PROTOCOL)(EFI_GUID *Protocol, VOID *Registration, VOID **Interface);
typedef VOID(EFIAPI *EFI_COPY_MEM)(VOID *Destination, VOID *Source, UINTN Length);
typedef VOID(EFIAPI *EFI_SET_MEM)(VOID *Buffer, UINTN Size, UINT8 Value);
typedef EFI_STATUS(EFIAPI *EFI_CREATE_EVENT_EX)(UINT32 Type, EFI_TPL NotifyTpl,
                                                EFI_EVENT_NOTIFY NotifyFunction, CONST VOID *NotifyContext,
                                                CONST EFI_GUID *EventGroup, EFI_EVENT *Event);

typedef struct {
  EFI_TABLE_HEADER Hdr;
  // Task priority services
  EFI_RAISE_TPL RaiseTPL;
  EFI_RESTORE_TPL RestoreTPL;
  // Memory services
  EFI_UNUSED_SERVICE AllocatePages;
  EFI_UNUSED_SERVICE FreePages;
  EFI_UNUSED_SERVICE GetMemoryMap;
  EFI_ALLOCATE_POOL AllocatePool;
  EFI_FREE_POOL FreePool;
  // Event and timer services
  EFI_CREATE_EVENT CreateEvent;
  EFI_UNUSED_SERVICE SetTimer;
  EFI_WAIT_FOR_EVENT WaitForEvent;
  EFI_SIGNAL_EVENT SignalEvent;
  EFI_CLOSE_EVENT CloseEvent;
  EFI_CHECK_EVENT CheckEvent;
  // Protocol handler services
  EFI_INSTALL_PROTOCOL_INTERFACE InstallProtocolInterface;
  EFI_UNUSED_SERVICE ReinstallProtocolInterface;
  EFI_UNUSED_SERVICE UninstallProtocolInterface;
  EFI_HANDLE_PROTOCOL HandleProtocol;
  VOID *Reserved;
  EFI_UNUSED_SERVICE RegisterProtocolNotify;
  EFI_UNUSED_SERVICE LocateHandle;
  EFI_UNUSED_SERVICE LocateDevicePath;
  EFI_UNUSED_SERVICE InstallConfigurationTable;
  // Image services
  EFI_UNUSED_SERVICE LoadImage;
  EFI_UNUSED_SERVICE StartImage;
  EFI_UNUSED_SERVICE Exit;
  EFI_UNUSED_SERVICE UnloadImage;
  EFI_UNUSED_SERVICE ExitBootServices;
  // Miscellaneous services
  EFI_UNUSED_SERVICE GetNextMonotonicCount;
  EFI_STALL Stall;
  EFI_UNUSED_SERVICE SetWatchdogTimer;
  // Driver support services
  EFI_UNUSED_SERVICE ConnectController;
  EFI_UNUSED_SERVICE DisconnectController;
  // Open and close protocol services
  EFI_UNUSED_SERVICE OpenProtocol;
  EFI_UNUSED_SERVICE CloseProtocol;
  EFI_UNUSED_SERVICE OpenProtocolInformation;
  // Library services
  EFI_UNUSED_SERVICE ProtocolsPerHandle;
  EFI_UNUSED_SERVICE LocateHandleBuffer;
  EFI_LOCATE_PROTOCOL LocateProtocol;
  EFI_UNUSED_SERVICE InstallMultipleProtocolInterfaces;
  EFI_UNUSED_SERVICE UninstallMultipleProtocolInterfaces;
  // 32-bit CRC services
  EFI_UNUSED_SERVICE CalculateCrc32;
  // Miscellaneous services
  EFI_COPY_MEM CopyMem;
  EFI_SET_MEM SetMem;
  EFI_CREATE_EVENT_EX CreateEventEx;
} EFI_BOOT_SERVICES;

#define EFI_BOOT_SERVICES_SIGNATURE 0x56524553544f4f42ULL

//
// Runtime services.
//
typedef EFI_STATUS(EFIAPI *EFI_GET_TIME)(EFI_TIME *Time, EFI_TIME_CAPABILITIES *Capabilities);
typedef EFI_STATUS(EFIAPI *EFI_GET_VARIABLE)(CHAR16 *VariableName, EFI_GUID *VendorGuid, UINT32 *Attributes,
                                             UINTN *DataSize, VOID *Data);
typedef EFI_STATUS(EFIAPI *EFI_SET_VARIABLE)(CHAR16 *VariableName, EFI_GUID *VendorGuid, UINT32 Attributes,
                                             UINTN DataSize, VOID *Data);
typedef VOID(EFIAPI *EFI_RESET_SYSTEM)(EFI_RESET_TYPE ResetType, EFI_STATUS ResetStatus, UINTN DataSize,
                                       VOID *ResetData);

#define EFI_VARIABLE_NON_VOLATILE 0x00000001
#define EFI_VARIABLE_BOOTSERVICE_ACCESS 0x00000002
#define EFI_VARIABLE_RUNTIME_ACCESS 0x00000004

typedef struct {
  EFI_TABLE_HEADER Hdr;
  // Time services
  EFI_GET_TIME GetTime;
  EFI_UNUSED_SERVICE SetTime;
  EFI_UNUSED_SERVICE GetWakeupTime;
  EFI_UNUSED_SERVICE SetWakeupTime;
  // Virtual memory services
  EFI_UNUSED_SERVICE SetVirtualAddressMap;
  EFI_UNUSED_SERVICE ConvertPointer;
  // Variable services
  EFI_GET_VARIABLE GetVariable;
  EFI_UNUSED_SERVICE GetNextVariableName;
  EFI_SET_VARIABLE SetVariable;
  // Miscellaneous services
  EFI_UNUSED_SERVICE GetNextHighMonotonicCount;
  EFI_RESET_SYSTEM ResetSystem;
  // Capsule services
  EFI_UNUSED_SERVICE UpdateCapsule;
  EFI_UNUSED_SERVICE QueryCapsuleCapabilities;
  // Variable information
  EFI_UNUSED_SERVICE QueryVariableInfo;
} EFI_RUNTIME_SERVICES;

#define EFI_RUNTIME_SERVICES_SIGNATURE 0x56524553544e5552ULL

//
// System table.
//
typedef struct {
  EFI_GUID VendorGuid;
  VOID *VendorTable;
} EFI_CONFIGURATION_TABLE;

typedef struct {
  EFI_TABLE_HEADER Hdr;
  CHAR16 *FirmwareVendor;
  UINT32 FirmwareRevision;
  EFI_HANDLE ConsoleInHandle;
  EFI_SIMPLE_TEXT_INPUT_PROTOCOL *ConIn;
  EFI_HANDLE ConsoleOutHandle;
  EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *ConOut;
  EFI_HANDLE StandardErrorHandle;
  EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL *StdErr;
  EFI_RUNTIME_SERVICES *RuntimeServices;
  EFI_BOOT_SERVICES *BootServices;
  UINTN NumberOfTableEntries;
  EFI_CONFIGURATION_TABLE *ConfigurationTable;
} EFI_SYSTEM_TABLE;

#define EFI_SYSTEM_TABLE_SIGNATURE 0x5453595320494249ULL

typedef EFI_STATUS(EFIAPI *EFI_IMAGE_ENTRY_POINT)(EFI_HANDLE ImageHandle, EFI_SYSTEM_TABLE *SystemTable);

//
// Offsets the modules depend on, checked for the width being built.
//
#if defined(MDE_CPU_X64)
static_assert(sizeof(EFI_CONFIGURATION_TABLE) == 24 && offsetof(EFI_CONFIGURATION_TABLE, VendorTable) == 16);
static_assert(offsetof(EFI_SYSTEM_TABLE, FirmwareRevision) == 32 && offsetof(EFI_SYSTEM_TABLE, ConIn) == 48 &&
              offsetof(EFI_SYSTEM_TABLE, ConOut) == 64 && offsetof(EFI_SYSTEM_TABLE, RuntimeServices) == 88 &&
              offsetof(EFI_SYSTEM_TABLE, BootServices) == 96 &&
              offsetof(EFI_SYSTEM_TABLE, NumberOfTableEntries) == 104 &&
              offsetof(EFI_SYSTEM_TABLE, ConfigurationTable) == 112 && sizeof(EFI_SYSTEM_TABLE) == 120);
static_assert(offsetof(EFI_BOOT_SERVICES, RaiseTPL) == 24 && offsetof(EFI_BOOT_SERVICES, RestoreTPL) == 32 &&
              offsetof(EFI_BOOT_SERVICES, AllocatePool) == 64 &&
              offsetof(EFI_BOOT_SERVICES, FreePool) == 72 && offsetof(EFI_BOOT_SERVICES, CreateEvent) == 80 &&
              offsetof(EFI_BOOT_SERVICES, SignalEvent) == 104 &&
              offsetof(EFI_BOOT_SERVICES, InstallProtocolInterface) == 128 &&
              offsetof(EFI_BOOT_SERVICES, HandleProtocol) == 152 &&
              offsetof(EFI_BOOT_SERVICES, InstallConfigurationTable) == 192 &&
              offsetof(EFI_BOOT_SERVICES, Stall) == 248 &&
              offsetof(EFI_BOOT_SERVICES, LocateProtocol) == 320 &&
              offsetof(EFI_BOOT_SERVICES, CalculateCrc32) == 344 &&
              offsetof(EFI_BOOT_SERVICES, SetMem) == 360 &&
              offsetof(EFI_BOOT_SERVICES, CreateEventEx) == 368 && sizeof(EFI_BOOT_SERVICES) == 376);
static_assert(offsetof(EFI_RUNTIME_SERVICES, GetTime) == 24 &&
              offsetof(EFI_RUNTIME_SERVICES, GetVariable) == 72 &&
              offsetof(EFI_RUNTIME_SERVICES, SetVariable) == 88 &&
              offsetof(EFI_RUNTIME_SERVICES, ResetSystem) == 104 && sizeof(EFI_RUNTIME_SERVICES) == 136);
static_assert(offsetof(EFI_SIMPLE_TEXT_INPUT_PROTOCOL, ReadKeyStroke) == 8 &&
              sizeof(EFI_SIMPLE_TEXT_INPUT_PROTOCOL) == 24);
static_assert(offsetof(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL, OutputString) == 8 &&
              offsetof(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL, SetAttribute) == 40 &&
              offsetof(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL, ClearScreen) == 48 &&
              offsetof(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL, SetCursorPosition) == 56 &&
              offsetof(EFI_SIMPLE_TEXT_OUTPUT_PROTOCOL, Mode) == 72);
#else
static_assert(sizeof(EFI_CONFIGURATION_TABLE) == 20 && offsetof(EFI_CONFIGURATION_TABLE, VendorTable) == 16);
static_assert(offsetof(EFI_SYSTEM_TABLE, FirmwareRevision) == 28 && offsetof(EFI_SYSTEM_TABLE, ConIn) == 36 &&
              offsetof(EFI_SYSTEM_TABLE, ConOut) == 44 && offsetof(EFI_SYSTEM_TABLE, RuntimeServices) == 56 &&
              offsetof(EFI_SYSTEM_TABLE, BootServices) == 60 &&
              offsetof(EFI_SYSTEM_TABLE, NumberOfTableEntries) == 64 &&
              offsetof(EFI_SYSTEM_TABLE, ConfigurationTable) == 68 && sizeof(EFI_SYSTEM_TABLE) == 72);
static_assert(offsetof(EFI_BOOT_SERVICES, RaiseTPL) == 24 && offsetof(EFI_BOOT_SERVICES, RestoreTPL) == 28 &&
              offsetof(EFI_BOOT_SERVICES, AllocatePool) == 44 &&
              offsetof(EFI_BOOT_SERVICES, FreePool) == 48 &&
              offsetof(EFI_BOOT_SERVICES, LocateProtocol) == 172 &&
              offsetof(EFI_BOOT_SERVICES, SetMem) == 192 &&
              offsetof(EFI_BOOT_SERVICES, CreateEventEx) == 196 && sizeof(EFI_BOOT_SERVICES) == 200);
static_assert(offsetof(EFI_RUNTIME_SERVICES, GetTime) == 24 &&
              offsetof(EFI_RUNTIME_SERVICES, GetVariable) == 48 &&
              offsetof(EFI_RUNTIME_SERVICES, SetVariable) == 56 &&
              offsetof(EFI_RUNTIME_SERVICES, ResetSystem) == 64 && sizeof(EFI_RUNTIME_SERVICES) == 80);
#endif

#endif // UEFI_H_
