#include "sim/arena16.h"

#include <cstdio>
#include <cstring>

namespace zentra::sim {
namespace {

constexpr std::uint16_t kSelectorStep = 8;
// Selectors below this are never handed out (0 would make a null address).
constexpr std::uint16_t kLowestSelector = 0x0040;
constexpr int kSelectorCount = 0x10000 / kSelectorStep;
// Fill of blocks allocated without GMEM_ZEROINIT, so code that relies on
// fresh memory being zero shows up in tests.
constexpr std::uint8_t kGarbage = 0xCC;

std::uint16_t SelectorOf(std::uint32_t address) { return static_cast<std::uint16_t>(address >> 16); }
std::uint32_t OffsetOf(std::uint32_t address) { return address & 0xFFFFu; }

}  // namespace

std::string FormatAddress16(std::uint32_t address) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(address));
  return text;
}

Arena16::Arena16() = default;
Arena16::~Arena16() = default;

void Arena16::RecordMisuse(std::string text) { misuse_.push_back(std::move(text)); }

std::uint16_t Arena16::TakeSelector() {
  while (!pinned_.empty()) {
    const std::uint16_t s = pinned_.front();
    pinned_.pop_front();
    if (s != 0 && blocks_.count(s) == 0) return s;
    RecordMisuse("pinned selector " + FormatAddress16(std::uint32_t{s} << 16).substr(0, 4) +
                 " is in use or null; taking the next free one");
  }
  for (int tries = 0; tries < kSelectorCount; ++tries) {
    const std::uint16_t s = nextSelector_;
    const std::uint32_t following = std::uint32_t{s} + kSelectorStep;
    nextSelector_ = following > 0xFFFFu
                        ? static_cast<std::uint16_t>(kLowestSelector | (s & (kSelectorStep - 1)))
                        : static_cast<std::uint16_t>(following);
    if (s >= kLowestSelector && blocks_.count(s) == 0) return s;
  }
  return 0;
}

std::uint32_t Arena16::WOWGlobalAllocLock16(std::uint16_t flags, std::uint32_t size,
                                            std::uint16_t* handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (handle != nullptr) *handle = 0;
  if (refusedAllocations_.erase(++allocationCount_) != 0) return 0;
  if (size == 0 || size > kMaxBlockSize) {
    RecordMisuse("allocation of " + std::to_string(size) + " bytes refused (1 to " +
                 std::to_string(kMaxBlockSize) + " bytes)");
    return 0;
  }
  const std::uint16_t selector = TakeSelector();
  if (selector == 0) {
    RecordMisuse("allocation refused: every selector is in use");
    return 0;
  }
  Block block;
  block.info.address = std::uint32_t{selector} << 16;
  // A handle is the selector with its lowest bit cleared: distinct per live
  // block and never 0.
  block.info.handle = static_cast<std::uint16_t>(selector & ~1u);
  block.info.flags = flags;
  block.info.size = size;
  block.data.reset(new std::uint8_t[size]);
  std::memset(block.data.get(), (flags & GMEM_ZEROINIT) ? 0 : kGarbage, size);
  const BlockInfo info = block.info;
  freed_.erase(selector);
  blocks_.emplace(selector, std::move(block));
  if (handle != nullptr) *handle = info.handle;
  return info.address;
}

Arena16::Block* Arena16::FindLive(std::uint32_t address) {
  auto it = blocks_.find(SelectorOf(address));
  return it == blocks_.end() ? nullptr : &it->second;
}

const Arena16::Block* Arena16::FindLive(std::uint32_t address) const {
  auto it = blocks_.find(SelectorOf(address));
  return it == blocks_.end() ? nullptr : &it->second;
}

std::uint8_t* Arena16::MapRange(const char* what, std::uint32_t address, std::uint32_t size,
                                bool protectedMode) {
  const std::string where = std::string(what) + " of " + FormatAddress16(address);
  if (!protectedMode) {
    RecordMisuse(where + ": real-mode addresses are not supported");
    return nullptr;
  }
  Block* block = FindLive(address);
  if (block == nullptr) {
    RecordMisuse(where + (freed_.count(SelectorOf(address)) ? ": the block was freed"
                                                            : ": unknown address"));
    return nullptr;
  }
  if (std::uint64_t{OffsetOf(address)} + size > block->info.size) {
    RecordMisuse(where + ", " + std::to_string(size) + " bytes: past the end of the " +
                 std::to_string(block->info.size) + "-byte block");
    return nullptr;
  }
  if (mappingFails_) return nullptr;
  return block->data.get() + OffsetOf(address);
}

void* Arena16::WOWGetVDMPointer(std::uint32_t address, std::uint32_t size, bool protectedMode) {
  std::lock_guard<std::mutex> lock(mutex_);
  return MapRange("mapping", address, size, protectedMode);
}

void* Arena16::WOWGetVDMPointerFix(std::uint32_t address, std::uint32_t size,
                                   bool protectedMode) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::uint8_t* p = MapRange("fix", address, size, protectedMode);
  if (p != nullptr) ++FindLive(address)->info.fixCount;
  return p;
}

void Arena16::WOWGetVDMPointerUnfix(std::uint32_t address) {
  std::lock_guard<std::mutex> lock(mutex_);
  Block* block = FindLive(address);
  if (block == nullptr) {
    RecordMisuse("unfix of " + FormatAddress16(address) +
                 (freed_.count(SelectorOf(address)) ? ": the block was freed" : ": unknown address"));
    return;
  }
  if (block->info.fixCount == 0) {
    RecordMisuse("unfix of " + FormatAddress16(address) + " without a fix");
    return;
  }
  --block->info.fixCount;
}

std::uint16_t Arena16::WOWGlobalUnlockFree16(std::uint32_t address) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::uint16_t selector = SelectorOf(address);
  const std::string where = "free of " + FormatAddress16(address);
  Block* block = FindLive(address);
  if (block == nullptr) {
    RecordMisuse(where + (freed_.count(selector) ? ": already freed" : ": unknown address"));
    return selector == 0 ? 1 : selector;
  }
  if (OffsetOf(address) != 0) {
    RecordMisuse(where + ": not the start of a block");
    return selector;
  }
  if (block->info.fixCount != 0) {
    // The block is still fixed: someone may hold its flat pointer. Keep it.
    RecordMisuse(where + ": the block is still fixed (" + std::to_string(block->info.fixCount) +
                 " times)");
    return block->info.handle;
  }
  blocks_.erase(selector);
  freed_.insert(selector);
  return 0;
}

void* Arena16::Resolve(std::uint32_t address, std::uint32_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  Block* block = FindLive(address);
  if (block == nullptr || size == 0 ||
      std::uint64_t{OffsetOf(address)} + size > block->info.size)
    return nullptr;
  return block->data.get() + OffsetOf(address);
}

bool Arena16::Write(std::uint32_t address, const void* data, std::uint32_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  Block* block = FindLive(address);
  if (block == nullptr || std::uint64_t{OffsetOf(address)} + size > block->info.size) return false;
  std::memcpy(block->data.get() + OffsetOf(address), data, size);
  return true;
}

bool Arena16::Read(std::uint32_t address, void* data, std::uint32_t size) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Block* block = FindLive(address);
  if (block == nullptr || std::uint64_t{OffsetOf(address)} + size > block->info.size) return false;
  std::memcpy(data, block->data.get() + OffsetOf(address), size);
  return true;
}

bool Arena16::StoreWord32(std::uint32_t address, std::uint32_t value) {
  std::lock_guard<std::mutex> lock(mutex_);
  Block* block = FindLive(address);
  if (block == nullptr || OffsetOf(address) % 4 != 0 ||
      std::uint64_t{OffsetOf(address)} + 4 > block->info.size)
    return false;
  auto* word = reinterpret_cast<std::uint32_t*>(block->data.get() + OffsetOf(address));
  __atomic_store_n(word, value, __ATOMIC_RELEASE);
  return true;
}

void Arena16::FailAllocation(int n) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (n > 0) refusedAllocations_.insert(allocationCount_ + static_cast<std::uint64_t>(n));
}

void Arena16::FailNextAllocations(int count) {
  for (int i = 1; i <= count; ++i) FailAllocation(i);
}

void Arena16::SetMappingFails(bool fails) {
  std::lock_guard<std::mutex> lock(mutex_);
  mappingFails_ = fails;
}

void Arena16::SetNextSelector(std::uint16_t selector) {
  std::lock_guard<std::mutex> lock(mutex_);
  nextSelector_ = selector;
}

void Arena16::PinNextSelectors(const std::vector<std::uint16_t>& selectors) {
  std::lock_guard<std::mutex> lock(mutex_);
  pinned_.assign(selectors.begin(), selectors.end());
}

std::vector<BlockInfo> Arena16::LiveBlocks() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<BlockInfo> out;
  for (const auto& entry : blocks_) out.push_back(entry.second.info);
  return out;
}

std::optional<BlockInfo> Arena16::LiveBlockAt(std::uint32_t address) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Block* block = FindLive(address);
  if (block == nullptr || block->info.address != address) return std::nullopt;
  return block->info;
}

std::vector<std::string> Arena16::Misuse() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return misuse_;
}

void Arena16::ClearMisuse() {
  std::lock_guard<std::mutex> lock(mutex_);
  misuse_.clear();
}

std::uint64_t Arena16::AllocationCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return allocationCount_;
}

}  // namespace zentra::sim
