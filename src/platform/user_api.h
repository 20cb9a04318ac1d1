// User-interface services that are not part of the widget toolkit: message
// boxes, beeps, icons, topmost placement, the system menu and registered
// messages.
#pragma once

#include "platform/win_defs.h"

namespace zentra {

class UserApi {
 public:
  virtual ~UserApi() = default;
  // Texts are UTF-8; the Win32 forward converts them to the ANSI code page.
  virtual int MessageBoxA(WinHandle owner, const char* text, const char* caption,
                          std::uint32_t style) = 0;
  virtual bool MessageBeep(std::uint32_t type) = 0;
  // Loads an icon resource of the program's own module by name; 0 on failure.
  virtual WinHandle LoadIconA(const char* resourceName) = 0;
  virtual bool DestroyIcon(WinHandle icon) = 0;
  virtual bool SetWindowPos(WinHandle window, WinHandle insertAfter, int x, int y, int cx, int cy,
                            std::uint32_t flags) = 0;
  virtual WinHandle GetSystemMenu(WinHandle window, bool revert) = 0;
  virtual bool AppendMenuA(WinHandle menu, std::uint32_t flags, std::uintptr_t id,
                           const char* text) = 0;
  virtual bool ModifyMenuA(WinHandle menu, std::uint32_t position, std::uint32_t flags,
                           std::uintptr_t id, const char* text) = 0;
  // The message number the system gives a name (the same for every program
  // that asks for it); 0 on failure.
  virtual std::uint32_t RegisterWindowMessageA(const char* name) = 0;
};

}  // namespace zentra
