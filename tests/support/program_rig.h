// The whole program on the host: the simulated driver (from a scenario
// text), the host platform services and the headless widget backend, with
// the process-wide state (device tables, application, configuration gate)
// reset so each test starts from a fresh process.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "driver/config_command.h"
#include "driver/device_tables.h"
#include "platform/host/host_dialog_api.h"
#include "platform/host/host_kernel_api.h"
#include "platform/host/host_shell_api.h"
#include "platform/host/host_user_api.h"
#include "platform/host/virtual_timer_api.h"
#include "platform/platform.h"
#include "sim/sim_driver.h"
#include "sim/sim_shell_api.h"
#include "toolkit/application.h"
#include "toolkit/headless/headless_backend.h"

namespace zentra::testing {

// A scenario of that many simulated cards, followed by more of its text.
inline std::string CardsScenario(int cards, const std::string& more = "") {
  return "[Cards]\nCount=" + std::to_string(cards) + "\n" + more;
}

class ProgramRig {
 public:
  // configPath: the simulated driver's configuration file (empty: kept in
  // memory only).
  explicit ProgramRig(const std::string& scenarioText = "", const std::string& configPath = "")
      : iniDir_(UniqueDirectory()),
        kernel_(iniDir_.string()),
        driver_(sim::SimDriver::FromScenarioText(scenarioText, configPath)),
        shell_(driver_->launcher(), tray_) {
    std::filesystem::create_directories(iniDir_);
    kernel_.SetVirtualSleep(false);
    platform_.shell = &shell_;
    platform_.wow16 = &driver_->arena();
    platform_.kernel = &kernel_;
    platform_.user = &user_;
    platform_.wave = &driver_->wave();
    platform_.timer = &timer_;
    platform_.dialogs = &dialogs_;
    SetCurrentPlatform(platform_);
    ResetDeviceTables();
    ConfigurationGate() = 0;
    auto backend = std::make_unique<HeadlessBackend>();
    backend_ = backend.get();
    Application& app = Application::Instance();
    app.SetBackend(std::move(backend));
    app.SetUserApi(&user_);
    app.ResetTerminated();
    app.OnActivate = nullptr;
    app.OnDeactivate = nullptr;
  }

  ~ProgramRig() {
    driver_->Shutdown();
    ReleaseAbandonedConfigBlocks();
    Application::Instance().SetBackend(nullptr);
    SetCurrentPlatform(Platform{});
    std::error_code ignored;
    std::filesystem::remove_all(iniDir_, ignored);
  }

  // A Windows directory of its own for each rig, also across test programs
  // that CTest runs at the same time.
  static std::filesystem::path UniqueDirectory() {
    static int serial = 0;
    return std::filesystem::temp_directory_path() /
           ("zentra-rig-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
  }

  const Platform& platform() const { return platform_; }
  sim::SimDriver& driver() { return *driver_; }
  HostUserApi& user() { return user_; }
  HostKernelApi& kernel() { return kernel_; }
  HostShellApi& tray() { return tray_; }
  VirtualTimerApi& timer() { return timer_; }
  HostDialogApi& dialogs() { return dialogs_; }
  HeadlessBackend& backend() { return *backend_; }
  std::filesystem::path IniPath() const { return iniDir_ / "Zudovodiv.ini"; }

  std::vector<sim::CallRecord> Records(sim::CallRecord::Kind kind) const {
    std::vector<sim::CallRecord> out;
    for (const sim::CallRecord& r : driver_->callLog().Records())
      if (r.kind == kind) out.push_back(r);
    return out;
  }
  std::vector<std::string> ConfigCommandsRun() const {
    std::vector<std::string> out;
    for (const auto& r : Records(sim::CallRecord::Kind::ConfigCommand)) out.push_back(r.command);
    return out;
  }

 private:
  std::filesystem::path iniDir_;
  HostUserApi user_;
  HostKernelApi kernel_;
  HostShellApi tray_;
  VirtualTimerApi timer_;
  HostDialogApi dialogs_;
  std::unique_ptr<sim::SimDriver> driver_;
  sim::SimShellApi shell_;
  Platform platform_;
  HeadlessBackend* backend_ = nullptr;
};

}  // namespace zentra::testing
