// 16-bit global memory shared with the card's 16-bit driver (the WOW calls).
// Addresses are 16:16 (selector in the upper 16 bits, offset in the lower).
#pragma once

#include "platform/win_defs.h"

namespace zentra {

class Wow16Api {
 public:
  virtual ~Wow16Api() = default;
  // Returns the block's 16:16 address, 0 on failure; *handle receives the 16-bit handle.
  virtual std::uint32_t WOWGlobalAllocLock16(std::uint16_t flags, std::uint32_t size,
                                             std::uint16_t* handle) = 0;
  virtual void* WOWGetVDMPointer(std::uint32_t address, std::uint32_t size, bool protectedMode) = 0;
  virtual void* WOWGetVDMPointerFix(std::uint32_t address, std::uint32_t size,
                                    bool protectedMode) = 0;
  virtual void WOWGetVDMPointerUnfix(std::uint32_t address) = 0;
  // Returns 0 on success (the freed handle's "no handle"), non-zero on failure.
  virtual std::uint16_t WOWGlobalUnlockFree16(std::uint32_t address) = 0;
};

}  // namespace zentra
