// The simulated system launcher: it accepts the one program line the driver
// answers, "rundll.exe" with "Zentra.DRV,DriverConfig <command text>", and
// runs the command on the driver's own thread, as the real driver runs it in
// another process. Same contract as ShellExecuteA: a value greater than 32
// on success, 2 (file not found) for anything it cannot launch.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win_defs.h"
#include "sim/driver_config.h"
#include "sim/driver_scenario.h"

namespace zentra::sim {

class SimLauncher {
 public:
  static constexpr std::intptr_t kLaunched = 42;
  static constexpr std::intptr_t kFileNotFound = 2;

  SimLauncher(DriverConfigEntry& entry, const DriverScenario& scenario);
  // Stops the driver thread; commands not yet started are dropped.
  ~SimLauncher();
  SimLauncher(const SimLauncher&) = delete;
  SimLauncher& operator=(const SimLauncher&) = delete;

  std::intptr_t ShellExecuteA(WinHandle owner, const char* verb, const char* file,
                              const char* parameters, const char* directory, int showCommand);

  // Waits until no command is queued or running; false on timeout.
  bool WaitUntilIdle(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Stops the driver thread now (the program ends): later launches fail.
  void Stop();

  // Behaviour for the following commands (taken from the scenario first).
  void SetCommandDelayMs(int ms) { delayMs_ = ms; }
  void SetNeverCompletes(bool never) { neverCompletes_ = never; }
  // Only these commands never complete (names as on the command line).
  void SetCommandsNeverComplete(std::vector<std::string> names);
  void SetLaunchFails(bool fails) { launchFails_ = fails; }
  int LaunchCount() const { return launches_; }

 private:
  void Run();

  DriverConfigEntry& entry_;
  std::atomic<int> delayMs_;
  std::atomic<bool> neverCompletes_;
  std::atomic<bool> launchFails_;
  std::atomic<int> launches_{0};

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<std::string> queue_;
  std::vector<std::string> commandsNeverComplete_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace zentra::sim
