// Kernel services: sleeping, the millisecond tick count and the
// private-profile (INI) files.
#pragma once

#include "platform/win_defs.h"

namespace zentra {

class KernelApi {
 public:
  virtual ~KernelApi() = default;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Milliseconds since an arbitrary start, wrapping at 2^32 (GetTickCount):
  // compare two readings by their unsigned difference.
  virtual std::uint32_t TickCount() = 0;
  // Same contract as GetPrivateProfileStringA: copies the value (or the
  // default) into buffer, NUL-terminated and cut to size - 1; returns the
  // number of characters copied.
  virtual std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                                 const char* defaultValue, char* buffer,
                                                 std::uint32_t size, const char* fileName) = 0;
  virtual bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                          const char* fileName) = 0;
  // Waiting on and closing a process handle that ShellExecuteExA handed
  // back. A kernel without processes waits on none (WAIT_FAILED).
  virtual std::uint32_t WaitForSingleObject(WinHandle handle, std::uint32_t milliseconds) {
    return WAIT_FAILED;
  }
  virtual bool CloseHandle(WinHandle handle) { return false; }
};

}  // namespace zentra
