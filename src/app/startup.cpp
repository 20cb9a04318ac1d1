#include "app/startup.h"

#include <cstring>

#include "app/about_box.h"
#include "app/control_window.h"
#include "app/driver_errors.h"
#include "app/main_window.h"
#include "app/program_windows.h"
#include "driver/config_command.h"
#include "mixer/mixer_windows.h"
#include "settings/settings_dialog.h"
#include "toolkit/application.h"

namespace zentra {
namespace {

constexpr std::int32_t kDriverStateNotLoaded = -17;
constexpr std::int32_t kDriverStateWrongVersion = -27;
// What "getstates" reports when the driver never fills the record (it could
// not be launched, or it did not answer): the driver device could not be
// opened. Start-up continues only when the driver writes 1.
constexpr std::int32_t kDriverStateUnreachable = -18;

// The registered message the shell sends when its notification area is new.
constexpr const char* kTaskbarCreated = "TaskbarCreated";

void ReportCardStates(const Platform& platform, const DriverStatesRecord& states) {
  for (int card = 1; card <= 4; ++card) {
    const std::int32_t state = states.cardState[card - 1];
    if (state == 0) break;
    ReportDriverError(platform, state, DriverErrorContext(card));
  }
}

// Destroys the permanent windows in the reverse order of their creation.
void FreeProgramWindows() {
  ProgramWindows& w = Windows();
  FreeAndNil(w.AboutBox);
  FreeAndNil(w.MixControlWnd);
  FreeAndNil(w.frmMain);
}

}  // namespace

ProgramWindows& Windows() {
  static ProgramWindows windows;
  return windows;
}

void ReportDriverStates(const Platform& platform, const DriverStatesRecord& states) {
  const std::int32_t driverState = states.driverState;
  if (driverState == kDriverStateWrongVersion) {
    ReportDriverError(platform, driverState, DriverErrorContext(0));
    return;
  }
  if (driverState == kDriverStateNotLoaded) return;
  if (driverState != kDriverStateReady && driverState != states.cardState[0])
    ReportDriverError(platform, driverState, DriverErrorContext(0));
  ReportCardStates(platform, states);
}

NotifyIconRecord MakeTrayIconRecord(WinHandle window, WinHandle icon) {
  NotifyIconRecord record;
  record.cbSize = kNotifyIconV1Size;
  record.hWnd = window;
  record.uID = 0;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = WM_TRAY_CALLBACK;
  record.hIcon = icon;
  std::strncpy(record.szTip, "Einstellungen für Zentra", sizeof record.szTip - 1);
  return record;
}

int RunProgram(const Platform& platform,
               const std::function<void(WinHandle mainWindow)>& onRunning) {
  SetCurrentPlatform(platform);
  Application& app = Application::Instance();
  app.SetUserApi(platform.user);
  app.SetTitle("Zentra Manager");
  ConfigurationGate() = 1;

  DriverStatesRecord states{kDriverStateUnreachable, {0, 0, 0, 0}};
  ConfigCommand(platform, ConfigurationGate(), kCmdGetStates, &states, sizeof states);
  ReportDriverStates(platform, states);
  if (states.driverState != kDriverStateReady) return 0;

  RegisterMixerWindows();
  RegisterSettingsDialog();
  ProgramWindows& windows = Windows();
  windows.trayIcon = platform.user->LoadIconA("MIXERICON");
  windows.frmMain = new TfrmMain(nullptr);
  windows.MixControlWnd = new TMixControlWnd(nullptr);
  windows.AboutBox = new TAboutBox(nullptr);

  const NotifyIconRecord tray = MakeTrayIconRecord(windows.MixControlWnd->Handle(),
                                                   windows.trayIcon);
  // A restarted shell has forgotten every icon and tells the top-level
  // windows so; without the icon again the program would run unreachable.
  const std::uint32_t taskbarCreated = platform.user->RegisterWindowMessageA(kTaskbarCreated);
  if (taskbarCreated != 0)
    windows.MixControlWnd->SetMessageHandler(taskbarCreated, [&platform, &tray](Message&) {
      platform.shell->Shell_NotifyIconA(NIM_ADD, tray);
    });
  if (platform.shell->Shell_NotifyIconA(NIM_ADD, tray)) {
    if (onRunning) onRunning(windows.frmMain->Handle());
    while (!app.Terminated()) app.HandleMessage(true);
    platform.shell->Shell_NotifyIconA(NIM_DELETE, tray);
  }

  platform.user->DestroyIcon(windows.trayIcon);
  windows.trayIcon = 0;
  FreeProgramWindows();
  return 0;
}

}  // namespace zentra
