// The whole program run through RunProgram on the simulated driver, driven
// from inside its message loop as a user does it: double-click the tray icon,
// tick the boxes of the control window, click the buttons of the windows they
// open, let the virtual clocks run; then end the session. What is left
// afterwards (16-bit blocks, control handles, timers, components, the INI
// file) is what the fault matrix and the soak look at.
#pragma once

#include <chrono>
#include <filesystem>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/control_window.h"
#include "app/main_window.h"
#include "app/program_windows.h"
#include "app/startup.h"
#include "controls/bilingual.h"
#include "driver/config_command.h"
#include "driver/device_tables.h"
#include "settings/settings_dialog.h"
#include "support/program_rig.h"
#include "toolkit/application.h"
#include "toolkit/component.h"
#include "toolkit/headless/headless_driver.h"
#include "toolkit/std_controls.h"

namespace zentra::testing {

using BoxField = TExtCheckBox* TMixControlWnd::*;

struct WindowBox {
  BoxField box;
  const char* className;
};

// The control window's boxes of the six mixer windows and the settings dialog.
inline const std::vector<WindowBox>& AllWindowBoxes() {
  static const std::vector<WindowBox> boxes = {
      {&TMixControlWnd::chkAnalogInputs, "TfrmAnalogInp"},
      {&TMixControlWnd::chkAnalogOutputs, "TfrmAnalogOut"},
      {&TMixControlWnd::chkDigitalInputs, "TfrmDigInp"},
      {&TMixControlWnd::chkDigitalOutputs, "TfrmDigOut"},
      {&TMixControlWnd::chkAdatInputs, "TfrmAdatInp"},
      {&TMixControlWnd::chkAdatOutputs, "TfrmAdatOut"},
      {&TMixControlWnd::chkSettings, "TdlgCfg"},
  };
  return boxes;
}

// What the program left behind after it ended.
struct Leftovers {
  std::size_t blocks = 0;
  std::size_t handles = 0;
  std::size_t mmTimers = 0;
  int toolkitTimers = 0;
  int components = 0;  // live components more than before the run
  std::vector<std::string> misuse;
  bool windowsLeft = false;

  bool None() const {
    return blocks == 0 && handles == 0 && mmTimers == 0 && toolkitTimers == 0 && components == 0 &&
           misuse.empty() && !windowsLeft;
  }
  std::string Describe() const {
    std::string s;
    auto add = [&s](const std::string& part) { s += (s.empty() ? "" : ", ") + part; };
    if (blocks) add(std::to_string(blocks) + " 16-bit blocks");
    if (handles) add(std::to_string(handles) + " control handles");
    if (mmTimers) add(std::to_string(mmTimers) + " multimedia timers");
    if (toolkitTimers) add(std::to_string(toolkitTimers) + " window timers");
    if (components) add(std::to_string(components) + " components");
    for (const std::string& m : misuse) add("arena misuse: " + m);
    if (windowsLeft) add("window references left");
    return s;
  }
};

class ProgramSession {
 public:
  explicit ProgramSession(const std::string& scenario, const std::string& configPath = "")
      : rig(scenario, configPath), ui(rig.backend()) {
    rig.user().SetMessageBoxHandler([this](const MessageBoxCall& call) {
      boxes.push_back(call.text);
      return 1;
    });
  }
  ~ProgramSession() { rig.backend().SetModalHandler(nullptr); }

  // Runs the program; `whileRunning` acts from inside it (once the windows
  // and the icon exist). The session is ended afterwards unless the program
  // ended itself. Returns whether the program came to run at all.
  bool Run(const std::function<void(ProgramSession&)>& whileRunning) {
    componentsBefore_ = Component::LiveCount();
    RunProgram(rig.platform(), [&](WinHandle main) {
      running_ = true;
      if (whileRunning) whileRunning(*this);
      if (!Application::Instance().Terminated())
        PostMessageToWindow(main, WM_ENDSESSION, 1, 0);
    });
    return running_;
  }

  // Ends the driver (a command left waiting may write until then) and
  // counts what is left.
  Leftovers Collect() {
    Leftovers l;
    l.mmTimers = rig.timer().LiveTimerCount();
    l.toolkitTimers = rig.backend().ActiveTimerCount();
    l.handles = rig.driver().wave().OpenHandles().size();
    rig.driver().Shutdown();
    ReleaseAbandonedConfigBlocks();
    l.blocks = rig.driver().arena().LiveBlocks().size();
    l.misuse = rig.driver().arena().Misuse();
    l.components = Component::LiveCount() - componentsBefore_;
    const ProgramWindows& w = Windows();
    l.windowsLeft = w.frmMain != nullptr || w.MixControlWnd != nullptr || w.AboutBox != nullptr;
    return l;
  }

  bool Alive() const {
    return Windows().MixControlWnd != nullptr && !Application::Instance().Terminated();
  }
  TMixControlWnd& Control() { return *Windows().MixControlWnd; }

  // Double-click on the tray icon: the control window comes up.
  void ShowControl() {
    if (!Alive()) return;
    Control().Perform(WM_TRAY_CALLBACK, 0, WM_LBUTTONDBLCLK);
  }
  // Sets a box as the user does (clicking it when it is not as wanted).
  void Set(const WindowBox& entry, bool on) {
    if (!Alive()) return;
    if (!Control().Visible()) ShowControl();
    TExtCheckBox* box = Control().*entry.box;
    if (on && !box->Enabled()) unavailable.insert(entry.className);
    if (box->Checked() != on && box->Enabled()) ui.Click(*box);
    if (on && Alive() && Control().WindowOf(entry.className) != nullptr)
      opened.insert(entry.className);
  }
  TManagedForm* WindowOf(const WindowBox& entry) {
    return Alive() ? Control().WindowOf(entry.className) : nullptr;
  }

  // Both clocks (multimedia timers and window timers) in steps of 10 ms.
  void Advance(std::uint64_t ms) {
    for (std::uint64_t t = 0; t < ms && Alive(); t += 10) {
      rig.timer().Advance(10);
      ui.Tick(10);
      Application::Instance().ProcessMessages();
    }
  }

  // Clicks every visible, enabled radio button of the window (input
  // selects, sources, clocks) and then the first of each again.
  void ClickRadios(TManagedForm& window) {
    std::vector<TRadioButton*> radios;
    for (Component* c : window.Components())
      if (auto* r = dynamic_cast<TRadioButton*>(c)) radios.push_back(r);
    for (TRadioButton* r : radios) {
      if (!Alive() || WindowGone(window)) return;
      if (r->Visible() && r->Enabled()) ui.Click(*r);
      Application::Instance().ProcessMessages();
    }
  }

  // The settings dialog: Apply (when it can), then the box again.
  void ApplySettings(const WindowBox& settings) {
    auto* dialog = dynamic_cast<TdlgCfg*>(WindowOf(settings));
    if (dialog == nullptr) return;
    if (dialog->btnApply != nullptr && dialog->btnApply->Enabled()) ui.Click(*dialog->btnApply);
    Application::Instance().ProcessMessages();
  }

  // Opens each window in turn, lets it run and use its controls, and closes
  // it again; `beforeClose` acts while the window is open.
  void WalkEveryWindow(std::uint64_t ms = 1100,
                       const std::function<void(const WindowBox&)>& beforeClose = {}) {
    ShowControl();
    for (const WindowBox& entry : AllWindowBoxes()) {
      if (!Alive()) return;
      Set(entry, true);
      Advance(ms);
      if (TManagedForm* w = WindowOf(entry)) {
        if (std::string(entry.className) == "TdlgCfg")
          ApplySettings(entry);
        else
          ClickRadios(*w);
      }
      Advance(100);
      if (beforeClose) beforeClose(entry);
      Set(entry, false);
      Application::Instance().ProcessMessages();
    }
  }

  // The system's question whether card `card` (0-based) may be removed.
  void QueryRemoval(int card) {
    if (Windows().frmMain == nullptr) return;
    DevBroadcastDevnode record{sizeof(DevBroadcastDevnode), DBT_DEVTYP_DEVNODE, 0,
                               static_cast<std::uint32_t>(CardDevnodeTable[card])};
    Windows().frmMain->Perform(WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE,
                               reinterpret_cast<std::intptr_t>(&record));
  }

  std::string ReadIni() const {
    if (!std::filesystem::is_regular_file(rig.IniPath())) return "";
    std::ifstream in(rig.IniPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  ProgramRig rig;
  HeadlessDriver ui;
  std::vector<std::string> boxes;     // message box texts, in order
  std::set<std::string> opened;       // window classes that came up
  std::set<std::string> unavailable;  // boxes found disabled when they were wanted

 private:
  bool WindowGone(const TManagedForm& window) {
    for (const WindowBox& entry : AllWindowBoxes())
      if (Control().WindowOf(entry.className) == &window) return false;
    return true;
  }

  bool running_ = false;
  int componentsBefore_ = 0;
};

}  // namespace zentra::testing
