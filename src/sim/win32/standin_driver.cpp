#include "sim/win32/standin_driver.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "sim/win32/driver_relay.h"
#include "sim/win32/system_memory16.h"

namespace zentra::sim {
namespace {

constexpr char kDriverEntry[] = "Zentra.DRV,DriverConfig ";
constexpr char kMainWindowCaption[] = "frmMain";
constexpr UINT kMainWindowLookMs = 50;

std::string ExecutableDirectory() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  const auto slash = dir.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : dir.substr(0, slash);
}

struct MainWindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<MainWindowSearch*>(param);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  char caption[16] = {};
  ::GetWindowTextA(window, caption, sizeof caption);
  if (process != search->process || std::string(caption) != kMainWindowCaption) return TRUE;
  search->found = window;
  return FALSE;
}

// The program's hidden main window, which answers device-change queries.
HWND ProgramMainWindow() {
  MainWindowSearch search = {::GetCurrentProcessId(), nullptr};
  ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Runs one relayed command on the driver's launcher thread, which applies
// the scenario's delays and refusals, and returns once it has run: the real
// entry point returns only after it wrote the completion word (or never
// will).
void RunRelayedCommand(SimDriver& driver, const std::string& text) {
  const std::string parameters = kDriverEntry + text;
  if (driver.launcher().ShellExecuteA(0, nullptr, "rundll.exe", parameters.c_str(), "",
                                      SW_SHOWDEFAULT) <= 32)
    return;
  driver.launcher().WaitUntilIdle(std::chrono::milliseconds(driver.scenario().commandDelayMs) +
                                  std::chrono::seconds(10));
}

// What a scenario asks of the system that the stand-in cannot do: the
// program's 16-bit memory is the system's own here.
std::vector<std::string> KeysWithoutEffect(const SimDriver& driver) {
  std::vector<std::string> keys;
  if (driver.scenario().failAllocation != 0)
    keys.push_back("[Driver] FailAllocation has no effect on the shipped program: its 16-bit memory is the system's");
  return keys;
}

// A scenario's removal counts from the moment the program runs, as in the
// simulated build: it is scheduled once the program's main window exists.
void CALLBACK ScheduleRemovalOnceRunning(HWND, UINT, UINT_PTR timer, DWORD) {
  if (ProgramMainWindow() == nullptr) return;
  ::KillTimer(nullptr, timer);
  StandInDriver().removal().ScheduleFromScenario();
}

DWORD WINAPI DriverThread(LPVOID) {
  SimDriver& driver = StandInDriver();
  CreateDriverRelayWindow([&driver](const std::string& text) { RunRelayedCommand(driver, text); });
  ::SetTimer(nullptr, 0, kMainWindowLookMs, ScheduleRemovalOnceRunning);
  const std::string problems = driver.ProblemsMessage(KeysWithoutEffect(driver));
  if (!problems.empty())
    ::MessageBoxA(nullptr, Utf8ToCp1252(problems).c_str(), SimDriver::kProblemsCaption,
                  MB_ICONINFORMATION);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}

SimDriver* MakeDriver() {
  const std::string dir = ExecutableDirectory();
  static SystemMemory16 memory;
  auto* driver = new SimDriver(ScenarioFile::FromPath(dir + "\\" + SimDriver::kScenarioFileName),
                               dir + "\\" + SimDriver::kConfigFileName, &memory);
  driver->SetKeepRecords(false);
  // The system asks the program's main window whether a card may be
  // removed, with a sent message; the time limit keeps the removal thread
  // from waiting on a program that is ending.
  driver->removal().SetCallback([](std::uint32_t event, const DevBroadcastDevnode* record) {
    HWND mainWindow = ProgramMainWindow();
    if (mainWindow == nullptr) return;
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(mainWindow, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(record),
                          SMTO_NORMAL, 10000, &answer);
  });
  return driver;
}

}  // namespace

SimDriver& StandInDriver() {
  // Never destroyed: its threads end with the process, before static
  // objects would be destroyed.
  static SimDriver* const driver = MakeDriver();
  return *driver;
}

void StartStandInDriverThread() {
  const HANDLE thread = ::CreateThread(nullptr, 0, DriverThread, nullptr, 0, nullptr);
  if (thread != nullptr) ::CloseHandle(thread);
}

}  // namespace zentra::sim
