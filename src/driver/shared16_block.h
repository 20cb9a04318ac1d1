// A block of 16-bit global memory shared with the card's 16-bit driver. The
// driver is given its 16:16 address; the program reads and writes it through
// the flat pointer. Long-lived blocks are fixed while they exist; short-lived
// command blocks are only mapped. The block releases itself when destroyed
// (unfix when fixed, then unlock and free; a block never allocated is skipped).
#pragma once

#include <cstdint>

#include "platform/wow16_api.h"

namespace zentra {

// Allocation flags by kind of block.
constexpr std::uint16_t kWindowBlockFlags = GMEM_MOVEABLE | GMEM_ZEROINIT;  // 0x42, mixer windows
constexpr std::uint16_t kQueryBlockFlags = GMEM_ZEROINIT;                   // 0x40, discovery and commands

class Shared16Block {
 public:
  Shared16Block() = default;
  ~Shared16Block() { Release(); }
  Shared16Block(const Shared16Block&) = delete;
  Shared16Block& operator=(const Shared16Block&) = delete;
  Shared16Block(Shared16Block&& other) noexcept;
  Shared16Block& operator=(Shared16Block&& other) noexcept;

  // WOWGlobalAllocLock16(flags, size). Returns the 16:16 address, 0 on
  // failure. A block still held is released first.
  std::uint32_t Allocate(Wow16Api& wow, std::uint32_t size, std::uint16_t flags);
  // WOWGetVDMPointerFix: fixes the block in memory; null on failure.
  void* Fix();
  // WOWGetVDMPointer: maps without fixing (short-lived blocks); null on failure.
  void* Map();
  // Allocate, then Fix. The flat pointer, or null when either step failed
  // (the block is still released properly).
  void* AllocateFixed(Wow16Api& wow, std::uint32_t size, std::uint16_t flags);
  void* AllocateMapped(Wow16Api& wow, std::uint32_t size, std::uint16_t flags);
  // Unfix when fixed, then unlock and free. Nothing for a block never allocated.
  void Release();

  std::uint32_t Address() const { return address_; }
  std::uint16_t Handle() const { return handle_; }
  std::uint32_t Size() const { return size_; }
  void* Pointer() const { return pointer_; }
  bool IsFixed() const { return fixed_; }
  // Allocated and reachable through the flat pointer.
  bool Usable() const { return pointer_ != nullptr; }

  // Little-endian access through the flat pointer (offsets must lie inside).
  std::uint8_t Byte(std::uint32_t offset) const;
  void SetByte(std::uint32_t offset, std::uint8_t value);
  std::uint16_t Word16(std::uint32_t offset) const;
  void SetWord16(std::uint32_t offset, std::uint16_t value);
  std::uint32_t Word32(std::uint32_t offset) const;
  void SetWord32(std::uint32_t offset, std::uint32_t value);

 private:
  void Check(std::uint32_t offset, std::uint32_t width) const;

  Wow16Api* wow_ = nullptr;
  std::uint32_t address_ = 0;
  std::uint16_t handle_ = 0;
  std::uint32_t size_ = 0;
  void* pointer_ = nullptr;
  bool fixed_ = false;
};

}  // namespace zentra
