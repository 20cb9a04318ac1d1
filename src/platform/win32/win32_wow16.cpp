#include <windows.h>

#include "platform/win32/win32_platform.h"

// The WOW thunking calls of wow32.dll (declared here; MinGW ships the import
// library but no header).
extern "C" {
DWORD WINAPI WOWGlobalAllocLock16(WORD flags, DWORD size, WORD* handle);
LPVOID WINAPI WOWGetVDMPointer(DWORD address, DWORD size, BOOL protectedMode);
LPVOID WINAPI WOWGetVDMPointerFix(DWORD address, DWORD size, BOOL protectedMode);
VOID WINAPI WOWGetVDMPointerUnfix(DWORD address);
WORD WINAPI WOWGlobalUnlockFree16(DWORD address);
}

namespace zentra {

std::uint32_t Win32Wow16Api::WOWGlobalAllocLock16(std::uint16_t flags, std::uint32_t size,
                                                  std::uint16_t* handle) {
  return ::WOWGlobalAllocLock16(flags, size, handle);
}
void* Win32Wow16Api::WOWGetVDMPointer(std::uint32_t address, std::uint32_t size,
                                      bool protectedMode) {
  return ::WOWGetVDMPointer(address, size, protectedMode ? TRUE : FALSE);
}
void* Win32Wow16Api::WOWGetVDMPointerFix(std::uint32_t address, std::uint32_t size,
                                         bool protectedMode) {
  return ::WOWGetVDMPointerFix(address, size, protectedMode ? TRUE : FALSE);
}
void Win32Wow16Api::WOWGetVDMPointerUnfix(std::uint32_t address) {
  ::WOWGetVDMPointerUnfix(address);
}
std::uint16_t Win32Wow16Api::WOWGlobalUnlockFree16(std::uint32_t address) {
  return ::WOWGlobalUnlockFree16(address);
}

}  // namespace zentra
