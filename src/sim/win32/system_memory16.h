// The system's own 16-bit memory as the stand-in driver inside the
// program's process reaches it: a 16:16 address is turned into a flat
// pointer by the system (WOWGetVDMPointer, which checks the selector and its
// limit), so a block the program freed or never had fails the access.
#pragma once

#include "sim/driver_memory.h"

namespace zentra::sim {

class SystemMemory16 : public DriverMemory {
 public:
  bool Read(std::uint32_t address, void* data, std::uint32_t size) const override;
  bool Write(std::uint32_t address, const void* data, std::uint32_t size) override;
  bool StoreWord32(std::uint32_t address, std::uint32_t value) override;
};

}  // namespace zentra::sim
