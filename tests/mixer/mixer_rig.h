// The control window on the simulated driver with the headless backend, for
// driving the mixer windows the way the user does: tick a box, click a
// button, let the multimedia timers run on the virtual clock.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/control_window.h"
#include "app/program_windows.h"
#include "controls/audio_control_classes.h"
#include "controls/bilingual.h"
#include "driver/control_messages.h"
#include "mixer/analog_input_window.h"
#include "mixer/analog_output_window.h"
#include "mixer/mixer_windows.h"
#include "support/call_sequence.h"
#include "support/program_rig.h"
#include "toolkit/headless/headless_driver.h"
#include "toolkit/std_controls.h"

namespace zentra::testing {

class MixerRig {
 public:
  explicit MixerRig(int cards, const std::string& more = "")
      : rig(CardsScenario(cards, more)), ui(rig.backend()) {
    RegisterBilingualClasses();
    RegisterAudioControlClasses();
    RegisterMixerWindows();
    rig.user().SetMessageBoxHandler([](const MessageBoxCall&) { return 1; });
    // The cards' signals and timed changes follow the virtual clock that
    // drives the windows' timers, not the wall clock: what a meter shows
    // after m.Run(1000) must not depend on how long the start took (under
    // ASan a slower start put some channels' test signals in their trough
    // for the whole run).
    FollowVirtualClock();
    control = new TMixControlWnd(nullptr);
    Windows().MixControlWnd = control;
    // What the windows send starts here, after the discovery's own calls.
    ClearLog();
  }
  ~MixerRig() {
    Windows().MixControlWnd = nullptr;
    FreeAndNil(control);
  }

  // Ticks "Analog Inputs" and returns the window it opened (null if none).
  TfrmAnalogInp* OpenAnalogInput() {
    Tick(*control->chkAnalogInputs, true);
    return AnalogInput();
  }
  // Sets a box of the control window as the user does, clicking it when it
  // is not as wanted (the control window is shown for that).
  void Tick(TCheckBox& box, bool checked) {
    if (!control->Visible()) control->Show();
    if (box.Checked() != checked) ui.Click(box);
  }
  TfrmAnalogInp* AnalogInput() const {
    return dynamic_cast<TfrmAnalogInp*>(control->WindowOf("TfrmAnalogInp"));
  }
  void CloseAnalogInput() { Tick(*control->chkAnalogInputs, false); }

  // The same for " Analog Outputs".
  TfrmAnalogOut* OpenAnalogOutput() {
    Tick(*control->chkAnalogOutputs, true);
    return AnalogOutput();
  }
  TfrmAnalogOut* AnalogOutput() const {
    return dynamic_cast<TfrmAnalogOut*>(control->WindowOf("TfrmAnalogOut"));
  }
  void CloseAnalogOutput() { Tick(*control->chkAnalogOutputs, false); }

  // Lets the toolkit's timers run (the windows' one-second timers).
  void RunToolkitTimers(std::uint64_t ms) {
    ui.Tick(ms);
    Application::Instance().ProcessMessages();
  }

  // Lets the multimedia timers run and handles what they posted.
  void Run(std::uint64_t ms) {
    for (std::uint64_t t = 0; t < ms; t += 10) {
      rig.timer().Advance(10);
      Application::Instance().ProcessMessages();
    }
  }
  // Both: the multimedia timers and the toolkit timers, in steps of 10 ms.
  void RunAll(std::uint64_t ms) {
    for (std::uint64_t t = 0; t < ms; t += 10) {
      Run(10);
      RunToolkitTimers(10);
    }
  }
  // The simulated cards' time (signals, timed rate and source changes)
  // follows the virtual clock of the multimedia timers (from construction on).
  void FollowVirtualClock() {
    VirtualTimerApi& clock = rig.timer();
    rig.driver().cards().SetTimeSource([&clock] { return clock.Now(); });
  }
  // The window of a class the control window holds (null if none).
  template <class Window>
  Window* WindowOf(const char* className) const {
    return dynamic_cast<Window*>(control->WindowOf(className));
  }

  std::vector<sim::CallRecord> InMessages(std::uint32_t message) const {
    std::vector<sim::CallRecord> out;
    for (const sim::CallRecord& r : rig.Records(sim::CallRecord::Kind::WaveInMessage))
      if (r.message == message) out.push_back(r);
    return out;
  }
  std::size_t OpenHandleCount() { return rig.driver().wave().OpenHandles().size(); }
  std::size_t LiveBlockCount() { return rig.driver().arena().LiveBlocks().size(); }
  void ClearLog() { rig.driver().callLog().Clear(); }

  // Writes the INI file the windows read their state from.
  void WriteIni(const std::string& text) {
    std::ofstream(rig.IniPath(), std::ios::binary) << text;
  }
  std::string ReadIni() const {
    std::ifstream in(rig.IniPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  ProgramRig rig;
  HeadlessDriver ui;
  TMixControlWnd* control = nullptr;
};

// The radio button standing for `value` in strip `card`'s copy of a
// designed radio group panel.
template <class Window>
TRadioButton* StripButton(const Window& w, const TPanel& groupTemplate, int card, int value) {
  const TPanel* panel = w.InStrip(card, &groupTemplate);
  if (panel == nullptr) return nullptr;
  for (Control* child : panel->Children())
    if (auto* b = dynamic_cast<TRadioButton*>(child); b != nullptr && b->Tag() == value) return b;
  return nullptr;
}

inline MinMaxInfo SizeLimits(TForm& w) {
  MinMaxInfo info{};
  w.Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<std::intptr_t>(&info));
  return info;
}

// The control messages the rig's driver received, without the input
// windows' level polls (CTL_IN_GET_PEAKS), which a test cannot count on.
inline std::vector<sim::CallRecord> MessagesWithoutPolls(MixerRig& m) {
  return ControlMessagesExcept(m.rig.driver().callLog().Records(), {CTL_IN_GET_PEAKS});
}

}  // namespace zentra::testing
