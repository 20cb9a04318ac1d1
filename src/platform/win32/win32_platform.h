// Real Win32 implementations of the platform services: one-line forwards,
// with UTF-8 texts converted to the ANSI code page on the way.
#pragma once

#include "platform/platform.h"

namespace zentra {

class Win32ShellApi : public ShellApi {
 public:
  std::intptr_t ShellExecuteA(WinHandle owner, const char* verb, const char* file,
                              const char* parameters, const char* directory,
                              int showCommand) override;
  bool ShellExecuteExA(ShellExecuteRecord& record) override;
  bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) override;
};

class Win32Wow16Api : public Wow16Api {
 public:
  std::uint32_t WOWGlobalAllocLock16(std::uint16_t flags, std::uint32_t size,
                                     std::uint16_t* handle) override;
  void* WOWGetVDMPointer(std::uint32_t address, std::uint32_t size, bool protectedMode) override;
  void* WOWGetVDMPointerFix(std::uint32_t address, std::uint32_t size,
                            bool protectedMode) override;
  void WOWGetVDMPointerUnfix(std::uint32_t address) override;
  std::uint16_t WOWGlobalUnlockFree16(std::uint32_t address) override;
};

class Win32KernelApi : public KernelApi {
 public:
  void Sleep(std::uint32_t milliseconds) override;
  std::uint32_t TickCount() override;
  std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                         const char* defaultValue, char* buffer,
                                         std::uint32_t size, const char* fileName) override;
  bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                  const char* fileName) override;
  std::uint32_t WaitForSingleObject(WinHandle handle, std::uint32_t milliseconds) override;
  bool CloseHandle(WinHandle handle) override;
  bool DeleteFileA(const char* fileName) override;
  bool MoveFileA(const char* existingName, const char* newName) override;
  std::uint32_t GetFileAttributesA(const char* fileName) override;
  std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override;
};

class Win32DialogApi : public DialogApi {
 public:
  bool GetSaveFileNameA(FileDialogRecord& record) override;
  bool GetOpenFileNameA(FileDialogRecord& record) override;
};

class Win32UserApi : public UserApi {
 public:
  int MessageBoxA(WinHandle owner, const char* text, const char* caption,
                  std::uint32_t style) override;
  bool MessageBeep(std::uint32_t type) override;
  WinHandle LoadIconA(const char* resourceName) override;
  bool DestroyIcon(WinHandle icon) override;
  bool SetWindowPos(WinHandle window, WinHandle insertAfter, int x, int y, int cx, int cy,
                    std::uint32_t flags) override;
  WinHandle GetSystemMenu(WinHandle window, bool revert) override;
  bool AppendMenuA(WinHandle menu, std::uint32_t flags, std::uintptr_t id,
                   const char* text) override;
  bool ModifyMenuA(WinHandle menu, std::uint32_t position, std::uint32_t flags,
                   std::uintptr_t id, const char* text) override;
  std::uint32_t RegisterWindowMessageA(const char* name) override;
};

class Win32WaveApi : public WaveApi {
 public:
  std::uint32_t waveInGetNumDevs() override;
  std::uint32_t waveOutGetNumDevs() override;
  std::uint32_t waveInGetDevCapsA(std::uint32_t deviceId, WaveInCaps* caps,
                                  std::uint32_t size) override;
  std::uint32_t waveOutGetDevCapsA(std::uint32_t deviceId, WaveOutCaps* caps,
                                   std::uint32_t size) override;
  std::uint32_t waveInOpen(WinHandle* handle, std::uint32_t deviceId, const WaveFormatEx* format,
                           std::uintptr_t callback, std::uintptr_t instance,
                           std::uint32_t flags) override;
  std::uint32_t waveOutOpen(WinHandle* handle, std::uint32_t deviceId, const WaveFormatEx* format,
                            std::uintptr_t callback, std::uintptr_t instance,
                            std::uint32_t flags) override;
  std::uint32_t waveInClose(WinHandle handle) override;
  std::uint32_t waveOutClose(WinHandle handle) override;
  std::uint32_t waveInMessage(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                              std::uintptr_t dw2) override;
  std::uint32_t waveOutMessage(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                               std::uintptr_t dw2) override;
};

class Win32TimerApi : public TimerApi {
 public:
  std::uint32_t timeSetEvent(std::uint32_t delay, std::uint32_t resolution, TimerCallback callback,
                             std::uintptr_t user, std::uint32_t flags) override;
  std::uint32_t timeKillEvent(std::uint32_t timerId) override;
  std::uint32_t timeGetDevCaps(TimeCaps* caps, std::uint32_t size) override;
};

}  // namespace zentra
