// The simulated 16-bit global memory: blocks known by a 16:16 address
// (selector in the upper 16 bits, offset 0) and a 16-bit handle, with the
// WOW semantics of alloc/lock, map, fix/unfix and unlock/free. It refuses
// misuse (double free, use of a freed or unknown selector, unbalanced unfix)
// and can list what is still allocated, so tests can prove nothing leaks.
// Thread-safe: the simulated driver thread writes blocks while the UI thread
// polls them.
//
// Selectors are handed out in steps of 8 (as descriptor-table selectors are)
// and are not reused soon: they only wrap after the 16-bit range is used up,
// skipping live ones, so a late writer holding an old address can never hit
// a newer block.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/wow16_api.h"
#include "sim/driver_memory.h"

namespace zentra::sim {

struct BlockInfo {
  std::uint32_t address = 0;  // 16:16
  std::uint16_t handle = 0;
  std::uint16_t flags = 0;
  std::uint32_t size = 0;
  int fixCount = 0;
};

class Arena16 : public Wow16Api, public DriverMemory {
 public:
  // Largest block one selector can cover.
  static constexpr std::uint32_t kMaxBlockSize = 0x10000;
  static constexpr std::uint16_t kFirstSelector = 0x1007;

  Arena16();
  ~Arena16() override;
  Arena16(const Arena16&) = delete;
  Arena16& operator=(const Arena16&) = delete;

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

  // The driver side, safe against a concurrent free: copy bytes into or out
  // of a live block under the arena's lock. False when the range is not
  // inside a live block.
  bool Write(std::uint32_t address, const void* data, std::uint32_t size) override;
  bool Read(std::uint32_t address, void* data, std::uint32_t size) const override;
  // Stores a 32-bit word with release ordering, so a reader that sees the
  // word also sees everything written to the arena before it.
  bool StoreWord32(std::uint32_t address, std::uint32_t value) override;

  // Faults for tests and scenarios. An allocation that fails answers as
  // WOWGlobalAllocLock16 does when the 16-bit heap is exhausted: address 0
  // and handle 0. FailAllocation(n) refuses the n-th allocation from now
  // (1: the next one) and only that one; FailNextAllocations(count) refuses
  // the next count allocations. Every call of WOWGlobalAllocLock16 counts,
  // refused ones too. Mapping fails while SetMappingFails(true) holds.
  void FailAllocation(int n);
  void FailNextAllocations(int count);
  void SetMappingFails(bool fails);
  // Selectors start here (configurable so tests can pin exact addresses).
  void SetNextSelector(std::uint16_t selector);
  // The next allocations take exactly these selectors, in order (tests pin
  // the addresses of blocks allocated in a known order). Afterwards the
  // ordinary sequence goes on.
  void PinNextSelectors(const std::vector<std::uint16_t>& selectors);

  std::vector<BlockInfo> LiveBlocks() const;
  // The live block that starts at that address, if any.
  std::optional<BlockInfo> LiveBlockAt(std::uint32_t address) const;
  // Calls of WOWGlobalAllocLock16 so far, refused ones too (the numbers
  // FailAllocation counts in).
  std::uint64_t AllocationCount() const;
  // Every refused call so far, as readable text ("free of unknown address ...").
  std::vector<std::string> Misuse() const;
  void ClearMisuse();

 private:
  struct Block {
    BlockInfo info;
    std::unique_ptr<std::uint8_t[]> data;
  };

  // Called with mutex_ held.
  std::uint16_t TakeSelector();
  Block* FindLive(std::uint32_t address);
  const Block* FindLive(std::uint32_t address) const;
  std::uint8_t* MapRange(const char* what, std::uint32_t address, std::uint32_t size,
                         bool protectedMode);
  void RecordMisuse(std::string text);

  mutable std::mutex mutex_;
  std::map<std::uint16_t, Block> blocks_;  // by selector
  std::set<std::uint16_t> freed_;          // selectors freed and not handed out again
  std::deque<std::uint16_t> pinned_;
  std::uint16_t nextSelector_ = kFirstSelector;
  std::uint64_t allocationCount_ = 0;       // calls of WOWGlobalAllocLock16 so far
  std::set<std::uint64_t> refusedAllocations_;  // by their number in that count
  bool mappingFails_ = false;
  std::vector<std::string> misuse_;
};

// "1A2F0000": the 16:16 address as eight upper-case hex digits.
std::string FormatAddress16(std::uint32_t address);

}  // namespace zentra::sim
