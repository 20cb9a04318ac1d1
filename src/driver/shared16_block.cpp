#include "driver/shared16_block.h"

#include <cstring>
#include <stdexcept>
#include <utility>

namespace zentra {

Shared16Block::Shared16Block(Shared16Block&& other) noexcept { *this = std::move(other); }

Shared16Block& Shared16Block::operator=(Shared16Block&& other) noexcept {
  if (this != &other) {
    Release();
    wow_ = std::exchange(other.wow_, nullptr);
    address_ = std::exchange(other.address_, 0);
    handle_ = std::exchange(other.handle_, 0);
    size_ = std::exchange(other.size_, 0);
    pointer_ = std::exchange(other.pointer_, nullptr);
    fixed_ = std::exchange(other.fixed_, false);
  }
  return *this;
}

std::uint32_t Shared16Block::Allocate(Wow16Api& wow, std::uint32_t size, std::uint16_t flags) {
  Release();
  std::uint16_t handle = 0;
  const std::uint32_t address = wow.WOWGlobalAllocLock16(flags, size, &handle);
  if (address == 0) return 0;
  wow_ = &wow;
  address_ = address;
  handle_ = handle;
  size_ = size;
  return address_;
}

void* Shared16Block::Fix() {
  if (address_ == 0 || pointer_ != nullptr) return pointer_;
  pointer_ = wow_->WOWGetVDMPointerFix(address_, size_, true);
  fixed_ = pointer_ != nullptr;
  return pointer_;
}

void* Shared16Block::Map() {
  if (address_ == 0 || pointer_ != nullptr) return pointer_;
  pointer_ = wow_->WOWGetVDMPointer(address_, size_, true);
  return pointer_;
}

void* Shared16Block::AllocateFixed(Wow16Api& wow, std::uint32_t size, std::uint16_t flags) {
  return Allocate(wow, size, flags) != 0 ? Fix() : nullptr;
}

void* Shared16Block::AllocateMapped(Wow16Api& wow, std::uint32_t size, std::uint16_t flags) {
  return Allocate(wow, size, flags) != 0 ? Map() : nullptr;
}

void Shared16Block::Release() {
  if (address_ == 0) return;
  if (fixed_) wow_->WOWGetVDMPointerUnfix(address_);
  wow_->WOWGlobalUnlockFree16(address_);
  address_ = 0;
  handle_ = 0;
  size_ = 0;
  pointer_ = nullptr;
  fixed_ = false;
}

void Shared16Block::Check(std::uint32_t offset, std::uint32_t width) const {
  if (pointer_ == nullptr || offset > size_ || width > size_ - offset) {
    throw std::out_of_range("Shared16Block: access outside the block");
  }
}

std::uint8_t Shared16Block::Byte(std::uint32_t offset) const {
  Check(offset, 1);
  return static_cast<const std::uint8_t*>(pointer_)[offset];
}

void Shared16Block::SetByte(std::uint32_t offset, std::uint8_t value) {
  Check(offset, 1);
  static_cast<std::uint8_t*>(pointer_)[offset] = value;
}

std::uint16_t Shared16Block::Word16(std::uint32_t offset) const {
  Check(offset, 2);
  const auto* p = static_cast<const std::uint8_t*>(pointer_) + offset;
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

void Shared16Block::SetWord16(std::uint32_t offset, std::uint16_t value) {
  Check(offset, 2);
  auto* p = static_cast<std::uint8_t*>(pointer_) + offset;
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint32_t Shared16Block::Word32(std::uint32_t offset) const {
  Check(offset, 4);
  const auto* p = static_cast<const std::uint8_t*>(pointer_) + offset;
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void Shared16Block::SetWord32(std::uint32_t offset, std::uint32_t value) {
  Check(offset, 4);
  auto* p = static_cast<std::uint8_t*>(pointer_) + offset;
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace zentra
