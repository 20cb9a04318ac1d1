// Kernel services for tests and the headless build: Sleep (real, or on a
// virtual clock that only counts), and private-profile (INI) files with the
// observable rules of the platform: a file named without a directory lives
// in the "Windows directory", section and key names are case-insensitive,
// every write goes to disk at once, values are cut to the buffer, and a
// missing file, section or key gives the default.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/kernel_api.h"

namespace zentra {

class HostKernelApi : public KernelApi {
 public:
  // windowsDirectory: where INI files named without a directory are kept.
  explicit HostKernelApi(std::string windowsDirectory = {});

  void Sleep(std::uint32_t milliseconds) override;
  // Real milliseconds since construction plus the virtually slept ones, so a
  // wait bounded by the tick count ends as soon under virtual sleeping.
  std::uint32_t TickCount() override;
  std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                         const char* defaultValue, char* buffer,
                                         std::uint32_t size, const char* fileName) override;
  bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                  const char* fileName) override;
  // Files named as for the profile calls.
  bool DeleteFileA(const char* fileName) override;
  bool MoveFileA(const char* existingName, const char* newName) override;
  std::uint32_t GetFileAttributesA(const char* fileName) override;
  // The path SetModuleFileName gave (none by default).
  std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override;

  void SetModuleFileName(const std::string& path);
  // From now on the files live in memory only (the disk is never touched);
  // each rule above holds as it does for files on disk. For the fuzz
  // targets, whose inputs each write a settings file many times.
  void KeepFilesInMemory();
  // Tests: a file with exactly these bytes, named as for the profile calls
  // (in memory while the files are kept there).
  bool PutFile(const std::string& fileName, const std::string& bytes);
  // Tests: the profile writes from the n-th one on (1: the next) fail, as on
  // a full disk; 0 lets them all succeed again.
  void FailProfileWritesFrom(int n);

  // Virtual sleeping: Sleep returns at once and only adds to the total.
  void SetVirtualSleep(bool on) { virtualSleep_ = on; }
  // Moves the tick count on without sleeping (to reach its wrap in tests).
  void AdvanceTickCount(std::uint32_t milliseconds) { virtuallySlept_ += milliseconds; }
  std::uint64_t SleptMilliseconds() const { return slept_; }
  std::uint64_t SleepCount() const { return sleeps_; }
  // Called on every Sleep (tests let something happen while the program waits).
  void SetSleepHook(std::function<void(std::uint32_t)> hook);

  void SetWindowsDirectory(const std::string& directory);
  std::string WindowsDirectory() const;
  // The file an INI call with this name works on.
  std::string ProfilePath(const std::string& fileName) const;

 private:
  // mutex_ held for all three.
  std::string PathInWindowsDirectory(const std::string& fileName) const;
  std::vector<std::string> ReadLines(const std::string& path) const;
  bool WriteLines(const std::string& path, const std::vector<std::string>& lines);

  std::atomic<bool> virtualSleep_{false};
  std::atomic<std::uint64_t> slept_{0};
  std::atomic<std::uint64_t> virtuallySlept_{0};
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  std::atomic<std::uint64_t> sleeps_{0};
  mutable std::mutex mutex_;
  std::function<void(std::uint32_t)> sleepHook_;
  std::string windowsDirectory_;
  std::string moduleFileName_;
  int writesUntilFailure_ = 0;  // 0: none fails
  bool inMemory_ = false;
  std::map<std::string, std::string> memoryFiles_;  // path: contents, while inMemory_
};

}  // namespace zentra
