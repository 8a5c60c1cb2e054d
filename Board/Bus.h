// The I/O-port and memory-mapped buses: each access goes to the device that decodes
// the address, and into the access log. Nobody answering reads all ones, as an
// undriven PC bus does; writes to nobody are dropped.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "AccessLog.h"

namespace board {

class PortDevice {
public:
  virtual ~PortDevice() = default;
  virtual uint8_t ReadPort(uint16_t port) = 0;
  virtual void WritePort(uint16_t port, uint8_t value) = 0;
};

class MmioDevice {
public:
  virtual ~MmioDevice() = default;
  // width is 1, 2 or 4 bytes; address is absolute.
  virtual uint32_t ReadMmio(uint64_t address, unsigned width) = 0;
  virtual void WriteMmio(uint64_t address, unsigned width, uint32_t value) = 0;
};

class IoBus {
public:
  explicit IoBus(AccessLog &log) : log_(log) {}
  // The device answers ports [first, last]. Later claims of the same ports win.
  void Attach(uint16_t first, uint16_t last, PortDevice &device);
  uint8_t Read(uint16_t port);
  void Write(uint16_t port, uint8_t value);

private:
  PortDevice *Decode(uint16_t port) const;
  AccessLog &log_;
  std::map<uint16_t, std::pair<uint16_t, PortDevice *>> ranges_; // first -> (last, device)
};

class MmioBus {
public:
  explicit MmioBus(AccessLog &log) : log_(log) {}
  // The device answers [base, base + size).
  void Attach(uint64_t base, uint64_t size, MmioDevice &device);
  uint32_t Read(uint64_t address, unsigned width);
  void Write(uint64_t address, unsigned width, uint32_t value);

private:
  MmioDevice *Decode(uint64_t address) const;
  AccessLog &log_;
  std::map<uint64_t, std::pair<uint64_t, MmioDevice *>> ranges_; // base -> (size, device)
};

} // namespace board
