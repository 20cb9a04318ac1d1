// The program's blocks of 16-bit memory as the driver reaches them: by the
// 16:16 address the program handed over. The simulated build and the tests
// keep them in the simulated arena; the stand-in driver inside the product's
// process reaches the system's real 16-bit memory.
#pragma once

#include <cstdint>

namespace zentra::sim {

class DriverMemory {
 public:
  virtual ~DriverMemory() = default;
  // Copy bytes out of or into a live block; false when the range does not
  // lie inside one.
  virtual bool Read(std::uint32_t address, void* data, std::uint32_t size) const = 0;
  virtual bool Write(std::uint32_t address, const void* data, std::uint32_t size) = 0;
  // Stores a 32-bit word with release ordering, so a reader that sees the
  // word also sees everything written before it.
  virtual bool StoreWord32(std::uint32_t address, std::uint32_t value) = 0;
};

}  // namespace zentra::sim
