// The chaos card: the whole program (control window, the six mixer windows,
// the settings dialog) on a simulated card that answers every control
// message and every configuration command with a result and block contents
// taken from the fuzzer's input, driven by user actions taken from the same
// input: boxes ticked, controls clicked, sliders moved, lists chosen, pages
// selected, time passing with the meters running. Whatever the card says,
// the program must not crash, hang or misuse memory, and once the control
// window is gone no control handle, 16-bit block or timer may be left.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "app/control_window.h"
#include "app/program_windows.h"
#include "controls/audio_control_classes.h"
#include "controls/bilingual.h"
#include "driver/config_command.h"
#include "mixer/mixer_windows.h"
#include "settings/settings_dialog.h"
#include "support/program_rig.h"
#include "toolkit/buttons.h"
#include "toolkit/combo_box.h"
#include "toolkit/edit.h"
#include "toolkit/headless/headless_driver.h"
#include "toolkit/page_control.h"
#include "toolkit/std_controls.h"
#include "toolkit/track_bar.h"

namespace {

using namespace zentra;

constexpr std::uint32_t kRefused = 4;  // MMSYSERR_ALLOCATED: the device is in use

// A result the card gives: mostly the simulated driver's own, else an error
// or any number at all.
std::uint32_t ChaosResult(FuzzedDataProvider& in, std::uint32_t real) {
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return MMSYSERR_ERROR;
    case 1: return in.ConsumeIntegral<std::uint32_t>();
    case 2: return in.ConsumeIntegralInRange<std::uint32_t>(0, 40);
    default: return real;
  }
}

// Fills the live 16-bit block at that address (if any) with input bytes.
void Scribble(FuzzedDataProvider& in, sim::Arena16& arena, std::uintptr_t address) {
  if (address == 0 || address > 0xFFFFFFFFu) return;
  for (const sim::BlockInfo& block : arena.LiveBlocks()) {
    if (block.address != address) continue;
    if (!in.ConsumeBool()) return;
    std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(block.size);
    bytes.resize(block.size, in.ConsumeIntegral<std::uint8_t>());
    arena.Write(block.address, bytes.data(), block.size);
    return;
  }
}

class ChaosWave : public WaveApi {
 public:
  ChaosWave(sim::SimWave& real, sim::Arena16& arena, FuzzedDataProvider& in)
      : real_(real), arena_(arena), in_(in) {}
  std::uint32_t waveInGetNumDevs() override { return real_.waveInGetNumDevs(); }
  std::uint32_t waveOutGetNumDevs() override { return real_.waveOutGetNumDevs(); }
  std::uint32_t waveInGetDevCapsA(std::uint32_t id, WaveInCaps* caps, std::uint32_t size) override {
    return real_.waveInGetDevCapsA(id, caps, size);
  }
  std::uint32_t waveOutGetDevCapsA(std::uint32_t id, WaveOutCaps* caps,
                                   std::uint32_t size) override {
    return real_.waveOutGetDevCapsA(id, caps, size);
  }
  std::uint32_t waveInOpen(WinHandle* handle, std::uint32_t id, const WaveFormatEx* format,
                           std::uintptr_t callback, std::uintptr_t instance,
                           std::uint32_t flags) override {
    if (in_.ConsumeIntegralInRange(0, 15) == 0) return kRefused;
    return real_.waveInOpen(handle, id, format, callback, instance, flags);
  }
  std::uint32_t waveOutOpen(WinHandle* handle, std::uint32_t id, const WaveFormatEx* format,
                            std::uintptr_t callback, std::uintptr_t instance,
                            std::uint32_t flags) override {
    if (in_.ConsumeIntegralInRange(0, 15) == 0) return kRefused;
    return real_.waveOutOpen(handle, id, format, callback, instance, flags);
  }
  std::uint32_t waveInClose(WinHandle handle) override { return real_.waveInClose(handle); }
  std::uint32_t waveOutClose(WinHandle handle) override { return real_.waveOutClose(handle); }
  std::uint32_t waveInMessage(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                              std::uintptr_t dw2) override {
    const std::uint32_t real = real_.waveInMessage(handle, message, dw1, dw2);
    Scribble(in_, arena_, dw1);
    return ChaosResult(in_, real);
  }
  std::uint32_t waveOutMessage(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                               std::uintptr_t dw2) override {
    const std::uint32_t real = real_.waveOutMessage(handle, message, dw1, dw2);
    Scribble(in_, arena_, dw1);
    return ChaosResult(in_, real);
  }

 private:
  sim::SimWave& real_;
  sim::Arena16& arena_;
  FuzzedDataProvider& in_;
};

// Configuration commands: the launch may fail; the record gets input bytes;
// the completion word is set, or never (the command then times out).
class ChaosShell : public ShellApi {
 public:
  ChaosShell(sim::Arena16& arena, ShellApi& tray, FuzzedDataProvider& in)
      : arena_(arena), tray_(tray), in_(in) {}
  std::intptr_t ShellExecuteA(WinHandle, const char*, const char*, const char* parameters,
                              const char*, int) override {
    if (in_.ConsumeIntegralInRange(0, 15) == 0) return 2;  // file not found
    const char* dollar = parameters != nullptr ? std::strchr(parameters, '$') : nullptr;
    unsigned record = 0, completion = 0;
    if (dollar == nullptr || std::sscanf(dollar, "$%08X #%08X", &record, &completion) != 2)
      return 2;
    Scribble(in_, arena_, record);
    if (in_.ConsumeIntegralInRange(0, 15) != 0)
      arena_.StoreWord32(completion, std::max<std::uint32_t>(1, in_.ConsumeIntegral<std::uint32_t>()));
    return 33;
  }
  bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) override {
    return tray_.Shell_NotifyIconA(message, record);
  }

 private:
  sim::Arena16& arena_;
  ShellApi& tray_;
  FuzzedDataProvider& in_;
};

// Every visible, enabled control of a window, depth first.
void Collect(Control& control, std::vector<Control*>& out) {
  for (Control* child : control.Children()) {
    if (!child->Visible() || !child->Enabled()) continue;
    out.push_back(child);
    Collect(*child, out);
  }
}

// One user action on a control of the form.
void ActOn(TForm& form, HeadlessDriver& ui, FuzzedDataProvider& in) {
  std::vector<Control*> controls;
  Collect(form, controls);
  if (controls.empty()) return;
  Control* c = controls[in.ConsumeIntegralInRange<std::size_t>(0, controls.size() - 1)];
  if (auto* bar = dynamic_cast<TTrackBar*>(c)) {
    ui.MoveTrackBar(*bar, in.ConsumeIntegralInRange(bar->Min() - 2, bar->Max() + 2));
  } else if (auto* combo = dynamic_cast<TComboBox*>(c)) {
    if (!combo->Items().empty())
      ui.Choose(*combo, in.ConsumeIntegralInRange<int>(0, static_cast<int>(combo->Items().size()) - 1));
  } else if (auto* pages = dynamic_cast<TPageControl*>(c)) {
    if (pages->PageCount() > 0) ui.SelectPage(*pages, in.ConsumeIntegralInRange(0, pages->PageCount() - 1));
  } else if (auto* edit = dynamic_cast<TEdit*>(c)) {
    ui.Type(*edit, in.ConsumeRandomLengthString(12));
    ui.Leave(*edit);
  } else if (in.ConsumeIntegralInRange(0, 7) == 0) {
    ui.DoubleClick(*c);
  } else {
    ui.Click(*c);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int cards = in.ConsumeIntegralInRange(1, 4);
  testing::ProgramRig rig("[Cards]\nCount=" + std::to_string(cards) + "\n");
  rig.kernel().SetVirtualSleep(true);
  SetConfigCommandTimeout(std::chrono::milliseconds(40));
  ConfigurationGate() = 1;

  ChaosWave wave(rig.driver().wave(), rig.driver().arena(), in);
  ChaosShell shell(rig.driver().arena(), rig.tray(), in);
  Platform platform = rig.platform();
  platform.wave = &wave;
  platform.shell = &shell;
  SetCurrentPlatform(platform);

  RegisterBilingualClasses();
  RegisterAudioControlClasses();
  RegisterMixerWindows();
  RegisterSettingsDialog();
  HeadlessDriver ui(rig.backend());
  rig.user().SetMessageBoxHandler([&in](const MessageBoxCall&) {
    static const int answers[] = {1, 2, 6, 7};
    return answers[in.ConsumeIntegralInRange(0, 3)];
  });
  // A modal dialog (a stacked settings page, a question) gets a few actions
  // and is then closed if those did not close it.
  int modalDepth = 0;
  rig.backend().SetModalHandler([&](TForm& form) {
    ++modalDepth;
    for (int i = in.ConsumeIntegralInRange(0, modalDepth > 2 ? 0 : 4); i > 0; --i) {
      ActOn(form, ui, in);
      if (form.ModalLoopDone()) break;
    }
    if (form.GetModalResult() == mrNone) form.SetModalResult(mrCancel);
    --modalDepth;
  });

  auto* control = new TMixControlWnd(nullptr);
  Windows().MixControlWnd = control;
  control->Show();
  static const char* const kClasses[] = {"TfrmAnalogInp", "TfrmAnalogOut", "TfrmDigInp",
                                         "TfrmDigOut",    "TfrmAdatInp",   "TfrmAdatOut",
                                         "TdlgCfg"};
  for (int step = 0; step < 32 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0: {  // a box of the control window
        TExtCheckBox* boxes[] = {control->chkAnalogInputs,  control->chkDigitalInputs,
                                 control->chkAdatInputs,    control->chkAnalogOutputs,
                                 control->chkDigitalOutputs, control->chkAdatOutputs,
                                 control->chkSettings,      control->chkStayOnTop};
        TExtCheckBox* box = boxes[in.ConsumeIntegralInRange(0, 7)];
        if (box != nullptr && box->Enabled()) ui.Click(*box);
        break;
      }
      case 1:
      case 2: {  // a control of an open window
        TManagedForm* window = control->WindowOf(kClasses[in.ConsumeIntegralInRange(0, 6)]);
        if (window != nullptr && window->Visible()) ActOn(*window, ui, in);
        break;
      }
      default: {  // time passes: meters, one-second timers
        const auto ms = in.ConsumeIntegralInRange<std::uint64_t>(10, 400);
        for (std::uint64_t t = 0; t < ms; t += 10) {
          rig.timer().Advance(10);
          ui.Tick(10);
          Application::Instance().ProcessMessages();
        }
        break;
      }
    }
    Application::Instance().ProcessMessages();
  }

  Windows().MixControlWnd = nullptr;
  FreeAndNil(control);
  Application::Instance().ProcessMessages();
  ReleaseAbandonedConfigBlocks();
  auto fault = [](const char* what) {
    std::fprintf(stderr, "chaos card: %s\n", what);
    std::abort();
  };
  if (!rig.driver().wave().OpenHandles().empty()) fault("control handle left open");
  if (!rig.driver().arena().LiveBlocks().empty()) fault("16-bit block left allocated");
  if (rig.timer().LiveTimerCount() != 0) fault("multimedia timer left running");
  if (rig.backend().ActiveTimerCount() != 0) fault("toolkit timer left running");
  return 0;
}
