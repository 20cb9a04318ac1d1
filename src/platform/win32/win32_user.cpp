#include <windows.h>

#include "platform/text_encoding.h"
#include "platform/win32/win32_platform.h"

namespace zentra {

int Win32UserApi::MessageBoxA(WinHandle owner, const char* text, const char* caption,
                              std::uint32_t style) {
  return ::MessageBoxA(reinterpret_cast<HWND>(owner), Utf8ToCp1252(text).c_str(),
                       Utf8ToCp1252(caption).c_str(), style);
}
bool Win32UserApi::MessageBeep(std::uint32_t type) { return ::MessageBeep(type) != FALSE; }
WinHandle Win32UserApi::LoadIconA(const char* resourceName) {
  return reinterpret_cast<WinHandle>(::LoadIconA(::GetModuleHandleA(nullptr), resourceName));
}
bool Win32UserApi::DestroyIcon(WinHandle icon) {
  return ::DestroyIcon(reinterpret_cast<HICON>(icon)) != FALSE;
}
bool Win32UserApi::SetWindowPos(WinHandle window, WinHandle insertAfter, int x, int y, int cx,
                                int cy, std::uint32_t flags) {
  return ::SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insertAfter), x, y,
                        cx, cy, flags) != FALSE;
}
WinHandle Win32UserApi::GetSystemMenu(WinHandle window, bool revert) {
  return reinterpret_cast<WinHandle>(
      ::GetSystemMenu(reinterpret_cast<HWND>(window), revert ? TRUE : FALSE));
}
bool Win32UserApi::AppendMenuA(WinHandle menu, std::uint32_t flags, std::uintptr_t id,
                               const char* text) {
  const std::string ansi = text ? Utf8ToCp1252(text) : std::string();
  return ::AppendMenuA(reinterpret_cast<HMENU>(menu), flags, id, text ? ansi.c_str() : nullptr) !=
         FALSE;
}
bool Win32UserApi::ModifyMenuA(WinHandle menu, std::uint32_t position, std::uint32_t flags,
                               std::uintptr_t id, const char* text) {
  const std::string ansi = text ? Utf8ToCp1252(text) : std::string();
  return ::ModifyMenuA(reinterpret_cast<HMENU>(menu), position, flags, id,
                       text ? ansi.c_str() : nullptr) != FALSE;
}

std::uint32_t Win32UserApi::RegisterWindowMessageA(const char* name) {
  return ::RegisterWindowMessageA(name);
}

}  // namespace zentra
