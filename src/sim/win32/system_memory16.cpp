#include "sim/win32/system_memory16.h"

#include <windows.h>

#include <cstring>

// wow32.dll's mapping of a 16:16 address (MinGW's header lacks C linkage).
extern "C" LPVOID WINAPI WOWGetVDMPointer(DWORD address, DWORD size, BOOL protectedMode);

namespace zentra::sim {
namespace {

void* Flat(std::uint32_t address, std::uint32_t size) {
  if (address == 0 || size == 0) return nullptr;
  return ::WOWGetVDMPointer(address, size, TRUE);
}

}  // namespace

bool SystemMemory16::Read(std::uint32_t address, void* data, std::uint32_t size) const {
  const void* at = Flat(address, size);
  if (at == nullptr) return false;
  std::memcpy(data, at, size);
  return true;
}

bool SystemMemory16::Write(std::uint32_t address, const void* data, std::uint32_t size) {
  void* at = Flat(address, size);
  if (at == nullptr) return false;
  std::memcpy(at, data, size);
  return true;
}

bool SystemMemory16::StoreWord32(std::uint32_t address, std::uint32_t value) {
  void* at = Flat(address, sizeof value);
  if (at == nullptr) return false;
  __atomic_store_n(static_cast<std::uint32_t*>(at), value, __ATOMIC_RELEASE);
  return true;
}

}  // namespace zentra::sim
