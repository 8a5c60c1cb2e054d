// The hardware seam: the few processor primitives that differ between a firmware
// image and a host build. Each has this one declaration; the firmware builds link an
// implementation in inline assembly (Library/CpuPrimitives), the host builds link one
// that forwards to the virtual board (Board/Seam). Module code calls them directly and
// never asks which one it got.
#ifndef CPU_PRIMITIVES_H_
#define CPU_PRIMITIVES_H_

#include "Base.h"

#pragma pack(push, 1)
// The image the store-IDTR instruction writes: 16-bit limit, then the linear base.
typedef struct {
  UINT16 Limit;
  UINTN Base;
} IA32_DESCRIPTOR;
#pragma pack(pop)
static_assert(sizeof(IA32_DESCRIPTOR) == 2 + sizeof(UINTN) && offsetof(IA32_DESCRIPTOR, Base) == 2);

// One byte read from / write to an x86 I/O port. IoWrite8 returns the value written.
UINT8 EFIAPI IoRead8(UINTN Port);
UINT8 EFIAPI IoWrite8(UINTN Port, UINT8 Value);

// Single, unsplit loads and stores of memory-mapped I/O. The caller checks alignment.
UINT8 EFIAPI MmioLoad8(UINTN Address);
UINT16 EFIAPI MmioLoad16(UINTN Address);
UINT32 EFIAPI MmioLoad32(UINTN Address);
VOID EFIAPI MmioStore8(UINTN Address, UINT8 Value);
VOID EFIAPI MmioStore16(UINTN Address, UINT16 Value);
VOID EFIAPI MmioStore32(UINTN Address, UINT32 Value);

// Stores the processor's interrupt descriptor table register at Idtr.
VOID EFIAPI CpuStoreIdtr(IA32_DESCRIPTOR *Idtr);

// The halt loop of a failed check: spins for as long as *Released reads 0. Only a
// debugger that writes the flag ends it; the caller then goes on after its check.
VOID EFIAPI CpuHaltLoop(volatile UINTN *Released);

// Waits forever for an external event (a CPU INIT) to take the processor.
VOID EFIAPI CpuDeadLoop(VOID);

#endif // CPU_PRIMITIVES_H_
