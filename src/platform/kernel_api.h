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
  // All of section, key and value null: the file's cached changes are
  // written out (true when that succeeded).
  virtual bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                          const char* fileName) = 0;
  // The files themselves (DeleteFileA, MoveFileA: false on failure, MoveFileA
  // never replaces an existing file; GetFileAttributesA:
  // kInvalidFileAttributes when there is no such file). A kernel without
  // files has none of them.
  virtual bool DeleteFileA(const char* fileName) { return false; }
  virtual bool MoveFileA(const char* existingName, const char* newName) { return false; }
  virtual std::uint32_t GetFileAttributesA(const char* fileName) { return kInvalidFileAttributes; }
  // The program's own executable file (GetModuleFileNameA of the program):
  // the characters copied, 0 when there is none.
  virtual std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) { return 0; }
  // Waiting on and closing a process handle that ShellExecuteExA handed
  // back. A kernel without processes waits on none (WAIT_FAILED).
  virtual std::uint32_t WaitForSingleObject(WinHandle handle, std::uint32_t milliseconds) {
    return WAIT_FAILED;
  }
  virtual bool CloseHandle(WinHandle handle) { return false; }
};

}  // namespace zentra
