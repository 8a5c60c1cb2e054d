#include "Bus.h"

#include <cstdio>

namespace board {

std::string ToString(const Access &access) {
  static const char *const kNames[] = {"io-read", "io-write", "mmio-read", "mmio-write"};
  char text[96];
  std::snprintf(text, sizeof(text), "%s%u 0x%llX = 0x%llX", kNames[static_cast<int>(access.kind)],
                access.width * 8, static_cast<unsigned long long>(access.address),
                static_cast<unsigned long long>(access.value));
  return text;
}

void IoBus::Attach(uint16_t first, uint16_t last, PortDevice &device) {
  ranges_[first] = {last, &device};
}

PortDevice *IoBus::Decode(uint16_t port) const {
  auto it = ranges_.upper_bound(port);
  if (it == ranges_.begin()) {
    return nullptr;
  }
  --it;
  return port <= it->second.first ? it->second.second : nullptr;
}

uint8_t IoBus::Read(uint16_t port) {
  PortDevice *device = Decode(port);
  uint8_t value = device != nullptr ? device->ReadPort(port) : 0xFF;
  log_.Add({AccessKind::IoRead, port, 1, value});
  return value;
}

void IoBus::Write(uint16_t port, uint8_t value) {
  // Logged before the device acts: a write that resets the board is still on record.
  log_.Add({AccessKind::IoWrite, port, 1, value});
  if (PortDevice *device = Decode(port)) {
    device->WritePort(port, value);
  }
}

void MmioBus::Attach(uint64_t base, uint64_t size, MmioDevice &device) {
  ranges_[base] = {size, &device};
}

MmioDevice *MmioBus::Decode(uint64_t address) const {
  auto it = ranges_.upper_bound(address);
  if (it == ranges_.begin()) {
    return nullptr;
  }
  --it;
  return address - it->first < it->second.first ? it->second.second : nullptr;
}

uint32_t MmioBus::Read(uint64_t address, unsigned width) {
  MmioDevice *device = Decode(address);
  const uint32_t mask = width >= 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1;
  uint32_t value = (device != nullptr ? device->ReadMmio(address, width) : 0xFFFFFFFFu) & mask;
  log_.Add({AccessKind::MmioRead, address, width, value});
  return value;
}

void MmioBus::Write(uint64_t address, unsigned width, uint32_t value) {
  log_.Add({AccessKind::MmioWrite, address, width, value});
  if (MmioDevice *device = Decode(address)) {
    device->WriteMmio(address, width, value);
  }
}

} // namespace board
