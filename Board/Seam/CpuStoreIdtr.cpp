// The IDTR of the board's processor: the PEI core's descriptor table.
#include "Board.h"
#include "Library/CpuPrimitives.h"

VOID EFIAPI CpuStoreIdtr(IA32_DESCRIPTOR *Idtr) {
  board::Board::Current().Pei().StoreIdtr(*Idtr);
}
