// Shell services of a build on the simulated driver: "rundll.exe" goes to the
// simulated driver's launcher, the notification-area icon to the given
// platform shell (the real one in the Wine build, the host model in tests).
#pragma once

#include "platform/shell_api.h"
#include "sim/launcher.h"

namespace zentra::sim {

class SimShellApi : public ShellApi {
 public:
  SimShellApi(SimLauncher& launcher, ShellApi& tray) : launcher_(launcher), tray_(tray) {}

  std::intptr_t ShellExecuteA(WinHandle owner, const char* verb, const char* file,
                              const char* parameters, const char* directory,
                              int showCommand) override {
    return launcher_.ShellExecuteA(owner, verb, file, parameters, directory, showCommand);
  }
  bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) override {
    return tray_.Shell_NotifyIconA(message, record);
  }

 private:
  SimLauncher& launcher_;
  ShellApi& tray_;
};

}  // namespace zentra::sim
