// The simulated 16-bit global memory: blocks known by a 16:16 address
// (selector in the upper 16 bits, offset 0) and a 16-bit handle, with the
// WOW semantics of alloc/lock, map, fix/unfix and unlock/free. It refuses
// misuse (double free, use of a freed or unknown selector, unbalanced unfix)
// and can list what is still allocated, so tests can prove nothing leaks.
// Thread-safe: the simulated driver thread writes blocks while the UI thread
// polls them.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/wow16_api.h"

namespace zentra::sim {

struct BlockInfo {
  std::uint32_t address = 0;  // 16:16
  std::uint16_t handle = 0;
  std::uint16_t flags = 0;
  std::uint32_t size = 0;
  int fixCount = 0;
};

class Arena16 : public Wow16Api {
 public:
  Arena16();
  ~Arena16() override;

  // Wow16Api
  std::uint32_t WOWGlobalAllocLock16(std::uint16_t flags, std::uint32_t size,
                                     std::uint16_t* handle) override;
  void* WOWGetVDMPointer(std::uint32_t address, std::uint32_t size, bool protectedMode) override;
  void* WOWGetVDMPointerFix(std::uint32_t address, std::uint32_t size,
                            bool protectedMode) override;
  void WOWGetVDMPointerUnfix(std::uint32_t address) override;
  std::uint16_t WOWGlobalUnlockFree16(std::uint32_t address) override;

  // The driver side: flat access to a live block by its 16:16 address, or
  // nullptr when the address is not inside a live block for size bytes.
  void* Resolve(std::uint32_t address, std::uint32_t size);

  // Faults for tests and scenarios: the next n allocations fail; mapping fails.
  void FailNextAllocations(int count);
  void SetMappingFails(bool fails);
  // Selectors start here (configurable so tests can pin exact addresses).
  void SetNextSelector(std::uint16_t selector);

  std::vector<BlockInfo> LiveBlocks() const;
  // Every refused call so far, as readable text ("free of unknown address ...").
  std::vector<std::string> Misuse() const;
};

}  // namespace zentra::sim
