// Shell services of the host build: a model of the notification area (which
// icons are there, with which record) and no programs to launch.
#pragma once

#include <mutex>
#include <vector>

#include "platform/shell_api.h"

namespace zentra {

class HostShellApi : public ShellApi {
 public:
  struct TrayCall {
    std::uint32_t message;
    NotifyIconRecord record;
  };

  // Launching is not possible on the host: "file not found".
  std::intptr_t ShellExecuteA(WinHandle, const char*, const char*, const char*, const char*,
                              int) override {
    return 2;
  }
  bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) override;

  // Tests: the next NIM_ADD fails.
  void FailNextAdd() { failNextAdd_ = true; }
  // Tests: the shell restarted; its notification area holds no icon.
  void RestartShell();
  std::vector<TrayCall> Calls() const;
  // Icons present in the notification area now.
  std::vector<NotifyIconRecord> Icons() const;

 private:
  mutable std::mutex mutex_;
  bool failNextAdd_ = false;
  std::vector<TrayCall> calls_;
  std::vector<NotifyIconRecord> icons_;
};

}  // namespace zentra
