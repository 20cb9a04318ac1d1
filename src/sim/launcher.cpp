#include "sim/launcher.h"

#include <cstring>

namespace zentra::sim {
namespace {

constexpr char kDriverEntry[] = "Zentra.DRV,DriverConfig ";

}  // namespace

SimLauncher::SimLauncher(DriverConfigEntry& entry, const DriverScenario& scenario)
    : entry_(entry),
      delayMs_(scenario.commandDelayMs),
      neverCompletes_(scenario.commandNeverCompletes),
      launchFails_(scenario.launchFails),
      commandsNeverComplete_(scenario.commandsNeverComplete) {
  thread_ = std::thread([this] { Run(); });
}

SimLauncher::~SimLauncher() { Stop(); }

void SimLauncher::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  idle_.notify_all();
}

std::intptr_t SimLauncher::ShellExecuteA(WinHandle /*owner*/, const char* /*verb*/,
                                         const char* file, const char* parameters,
                                         const char* /*directory*/, int /*showCommand*/) {
  if (launchFails_ || file == nullptr || parameters == nullptr ||
      std::strcmp(file, "rundll.exe") != 0 ||
      std::strncmp(parameters, kDriverEntry, sizeof kDriverEntry - 1) != 0)
    return kFileNotFound;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return kFileNotFound;
    queue_.emplace_back(parameters + sizeof kDriverEntry - 1);
  }
  ++launches_;
  wake_.notify_all();
  return kLaunched;
}

void SimLauncher::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) break;
    std::string text = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    // The driver takes its time; a stop cuts the wait short.
    const int delay = delayMs_;
    if (delay > 0 &&
        wake_.wait_for(lock, std::chrono::milliseconds(delay), [this] { return stopping_; }))
      break;
    const std::string name = text.substr(0, text.find(' '));
    bool complete = !neverCompletes_;
    for (const std::string& never : commandsNeverComplete_) complete = complete && name != never;
    lock.unlock();
    entry_.Run(text, complete);
    lock.lock();
    busy_ = false;
    if (queue_.empty()) idle_.notify_all();
  }
  busy_ = false;
}

void SimLauncher::SetCommandsNeverComplete(std::vector<std::string> names) {
  std::lock_guard<std::mutex> lock(mutex_);
  commandsNeverComplete_ = std::move(names);
}

bool SimLauncher::WaitUntilIdle(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return idle_.wait_for(lock, timeout,
                        [this] { return stopping_ || (!busy_ && queue_.empty()); });
}

}  // namespace zentra::sim
