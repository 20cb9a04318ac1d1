// Program entry of the Windows builds. The product runs on the real Win32
// platform; the simulation build runs the same program with the real Win32
// user interface on the simulated card driver (scenario "ZentraSim.ini"
// beside the executable).
#include "toolkit/win32/win32_api.h"  // first: it orders the Win32 headers

#include <memory>
#include <string>

#include "app/startup.h"
#include "platform/win32/win32_platform.h"
#include "toolkit/application.h"
#include "toolkit/win32/win32_backend.h"

#include "driver/config_command.h"

#if ZENTRA_SIMULATED_DRIVER
#include "sim/sim_driver.h"
#include "sim/sim_shell_api.h"
#endif

namespace {

#if ZENTRA_SIMULATED_DRIVER
std::string ExecutableDirectory() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  const auto slash = dir.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : dir.substr(0, slash);
}

// What is wrong with the scenario file is shown once, before the program
// starts.
void ShowScenarioProblems(zentra::UserApi& user, const zentra::sim::SimDriver& driver) {
  const std::string text = driver.ProblemsMessage();
  if (!text.empty())
    user.MessageBoxA(0, text.c_str(), zentra::sim::SimDriver::kProblemsCaption, MB_ICONINFORMATION);
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace zentra;
  Win32KernelApi kernel;
  Win32UserApi user;
  Win32TimerApi timer;
  Win32ShellApi shell;
  Win32DialogApi dialogs;
  Application::Instance().SetBackend(std::make_unique<Win32Backend>(instance));

  Platform platform;
  platform.kernel = &kernel;
  platform.user = &user;
  platform.timer = &timer;
  platform.dialogs = &dialogs;

#if ZENTRA_SIMULATED_DRIVER
  const std::string dir = ExecutableDirectory();
  auto driver = sim::SimDriver::FromScenarioPath(dir + "\\" + sim::SimDriver::kScenarioFileName,
                                                 dir + "\\" + sim::SimDriver::kConfigFileName);
  driver->SetKeepRecords(false);  // nobody reads them here; the trace file gets each
  sim::SimShellApi simShell(driver->launcher(), shell);
  platform.shell = &simShell;
  platform.wow16 = &driver->arena();
  platform.wave = &driver->wave();
  ShowScenarioProblems(user, *driver);
  // The simulated system asks the main window whether a card may be removed.
  // Like the system's own broadcast it is a sent message (a device event that
  // carries a record cannot be posted); the time limit keeps the removal
  // thread from waiting on a program that is already ending.
  auto onRunning = [&driver](WinHandle mainWindow) {
    driver->removal().SetCallback(
        [mainWindow](std::uint32_t event, const DevBroadcastDevnode* record) {
          DWORD_PTR answer = 0;
          ::SendMessageTimeoutA(reinterpret_cast<HWND>(mainWindow), WM_DEVICECHANGE, event,
                                reinterpret_cast<LPARAM>(record), SMTO_NORMAL, 10000, &answer);
        });
    driver->removal().ScheduleFromScenario();
  };
#else
  auto onRunning = [](WinHandle) {};
  Win32Wow16Api wow16;
  Win32WaveApi wave;
  platform.shell = &shell;
  platform.wow16 = &wow16;
  platform.wave = &wave;
#endif
  // Declared after the services (and the simulated driver): the blocks of
  // commands the driver never finished are freed while those still exist.
  const AbandonedConfigBlocksRelease releaseAbandoned;

  const int exitCode = RunProgram(platform, onRunning);

#if ZENTRA_SIMULATED_DRIVER
  driver->removal().Cancel();
  driver->Shutdown();  // before the release: nothing writes into the blocks any more
#endif
  Application::Instance().SetBackend(nullptr);
  return exitCode;
}
