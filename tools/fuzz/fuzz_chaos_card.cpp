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
#include <optional>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "app/control_window.h"
#include "app/device_removal.h"
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
  const std::optional<sim::BlockInfo> block = arena.LiveBlockAt(static_cast<std::uint32_t>(address));
  if (!block || !in.ConsumeBool()) return;
  std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(block->size);
  bytes.resize(block->size, in.ConsumeIntegral<std::uint8_t>());
  arena.Write(block->address, bytes.data(), block->size);
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

// Whether a user could act on the control: on screen, it and every parent
// enabled.
bool Reachable(const Control& control) {
  if (!control.Showing()) return false;
  for (const Control* c = &control; c != nullptr; c = c->Parent())
    if (!c->Enabled()) return false;
  return true;
}

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
  if (!Reachable(*c)) return;
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

const char* const kWindowClasses[] = {"TfrmAnalogInp", "TfrmAnalogOut", "TfrmDigInp",
                                      "TfrmDigOut",    "TfrmAdatInp",   "TfrmAdatOut",
                                      "TdlgCfg"};

// Window builds an input may ask for, counted in cards: a mixer window
// builds its strips for every card, the settings dialog one card's pages.
// Building is nearly all of an input's time; with this budget an input on
// one card opens up to eight windows, on four cards two, and the fuzzer
// runs about twice as many inputs a second as with no bound (an input
// opened about seven windows, on any number of cards). Closing is free, and
// so is reopening within the budget.
constexpr int kBuildBudget = 8;

// The whole program of one input: the rig (a fresh simulated driver, so
// every input starts from the same card state and an empty settings file)
// and the user's actions. Actions may nest: a message box or a modal dialog
// of one window is "up" while its script acts on the control window (the
// box leaves it usable), removes a card or acts on the dialog itself.
class ChaosSession {
 public:
  ChaosSession(testing::ProgramRig& rig, FuzzedDataProvider& in, int cards)
      : rig_(rig), in_(in), ui_(rig.backend()), cards_(cards) {
    rig_.driver().SetKeepRecords(false);  // nothing reads them; memory stays flat
    rig_.driver().removal().SetCallback([](std::uint32_t event, const DevBroadcastDevnode* record) {
      // As the main window answers the system's question (WM_DEVICECHANGE).
      if (event == DBT_DEVICEQUERYREMOVE && record != nullptr &&
          record->dbcd_devicetype == DBT_DEVTYP_DEVNODE)
        HandleCardRemovalQuery(record->dbcd_devnode);
    });
    rig_.user().SetMessageBoxHandler([this](const MessageBoxCall&) {
      static const int answers[] = {1, 2, 6, 7};  // OK, Cancel, Yes, No
      const int answer = answers[in_.ConsumeIntegralInRange(0, 3)];
      Nested([this] { WhileUp(nullptr); });
      return answer;
    });
    // A file dialog lets messages through as a box does.
    rig_.dialogs().SetWhileUp([this] { Nested([this] { WhileUp(nullptr); }); });
    rig_.backend().SetModalHandler([this](TForm& form) {
      Nested([&] {
        for (int i = in_.ConsumeIntegralInRange(0, 4); i > 0 && !form.ModalLoopDone(); --i) {
          if (in_.ConsumeBool())
            ActOn(form, ui_, in_);
          else
            WhileUp(&form);
        }
      });
      if (form.GetModalResult() == mrNone) form.SetModalResult(mrCancel);
    });
  }

  ~ChaosSession() {
    rig_.user().SetMessageBoxHandler(nullptr);
    rig_.dialogs().SetWhileUp(nullptr);
    rig_.backend().SetModalHandler(nullptr);
    rig_.driver().removal().SetCallback(nullptr);
  }

  void Run() {
    control_ = new TMixControlWnd(nullptr);
    Windows().MixControlWnd = control_;
    control_->Show();
    for (int step = 0; step < 48 && in_.remaining_bytes() > 0 && !Ended(); ++step) {
      switch (in_.ConsumeIntegralInRange(0, 7)) {
        case 0: case 1: ActOnControlWindow(); break;
        case 2: case 3: ActOnWindow(); break;
        case 4: SystemMenuCommand(); break;
        case 5: NextCard(); break;
        default: TimePasses(); break;
      }
      Application::Instance().ProcessMessages();
    }
    Windows().MixControlWnd = nullptr;
    FreeAndNil(control_);
    Application::Instance().ProcessMessages();
  }

 private:
  // The program has ended (a card was removed): no user acts any more.
  bool Ended() const { return Application::Instance().Terminated(); }

  // Runs a nested script unless the nesting is already deep.
  template <typename F>
  void Nested(F&& script) {
    if (depth_ >= 3 || Ended()) return;
    ++depth_;
    script();
    --depth_;
  }

  // What the user does while a box (dialog null) or modal dialog is up.
  void WhileUp(TForm* dialog) {
    switch (in_.ConsumeIntegralInRange(0, 7)) {
      case 0: case 1: case 2: ActOnControlWindow(); break;
      case 3: RemoveCard(); break;
      case 4: if (dialog != nullptr) NextCardOf(*dialog); break;
      default: break;  // just answers
    }
  }

  // A box of the control window ticked or cleared, or its close box.
  void ActOnControlWindow() {
    if (control_ == nullptr || !control_->Visible()) return;
    TExtCheckBox* boxes[] = {control_->chkAnalogInputs,   control_->chkDigitalInputs,
                             control_->chkAdatInputs,     control_->chkAnalogOutputs,
                             control_->chkDigitalOutputs, control_->chkAdatOutputs,
                             control_->chkSettings,       control_->chkStayOnTop};
    const int choice = in_.ConsumeIntegralInRange(0, 8);
    if (choice == 8) {
      ui_.CloseBox(*control_);
      return;
    }
    TExtCheckBox* box = boxes[choice];
    if (box == nullptr || !Reachable(*box)) return;
    if (!box->Checked() && box != control_->chkStayOnTop) {
      const int cost = box == control_->chkSettings ? 1 : cards_;
      if (built_ + cost > kBuildBudget) return;  // the user leaves it unticked
      built_ += cost;
    }
    ui_.Click(*box);
  }

  TManagedForm* SomeWindow() {
    if (control_ == nullptr) return nullptr;
    TManagedForm* window = control_->WindowOf(kWindowClasses[in_.ConsumeIntegralInRange(0, 6)]);
    return window != nullptr && window->Visible() ? window : nullptr;
  }

  void ActOnWindow() {
    if (TManagedForm* window = SomeWindow()) ActOn(*window, ui_, in_);
  }

  // An item of a window's system menu, as the system sends it: a mixer
  // window's, or the control window's (saving and loading the mixer through
  // the file dialogs, which answer with one file or are cancelled).
  void SystemMenuCommand() {
    TForm* window = nullptr;
    if (in_.ConsumeIntegralInRange(0, 3) == 0) {
      if (control_ != nullptr && control_->Visible()) window = control_;
      rig_.dialogs().QueueAnswer(in_.ConsumeBool() ? std::optional<std::string>("chaos.zmx")
                                                   : std::nullopt);
    } else {
      window = SomeWindow();
    }
    if (window == nullptr) return;
    const std::vector<MenuItem> items = rig_.user().SystemMenuItems(window->Handle());
    if (items.empty()) return;
    const MenuItem& item = items[in_.ConsumeIntegralInRange<std::size_t>(0, items.size() - 1)];
    if (item.id == 0) return;  // a separator
    PostMessageToWindow(window->Handle(), WM_SYSCOMMAND, item.id, 0);
    ui_.ProcessMessages();
  }

  // ">>" of the settings dialog (its next card's dialog is stacked modally).
  void NextCard() {
    if (control_ == nullptr) return;
    if (TManagedForm* window = control_->WindowOf("TdlgCfg"); window != nullptr && window->Visible())
      NextCardOf(*window);
  }
  void NextCardOf(TForm& form) {
    auto* dialog = dynamic_cast<TdlgCfg*>(&form);
    if (dialog != nullptr && dialog->btnNext != nullptr && Reachable(*dialog->btnNext))
      ui_.Click(*dialog->btnNext);
  }

  // The system asks whether a card may be removed.
  void RemoveCard() {
    rig_.driver().removal().RaiseRemovalQuery(in_.ConsumeIntegralInRange(0, 3));
  }

  // Time passes in a few long steps: meters, one-second timers.
  void TimePasses() {
    const auto ms = in_.ConsumeIntegralInRange<std::uint64_t>(1, 10) * 100;
    for (std::uint64_t t = 0; t < ms && !Ended(); t += 100) {
      rig_.timer().Advance(100);
      ui_.Tick(100);
      Application::Instance().ProcessMessages();
    }
  }

  testing::ProgramRig& rig_;
  FuzzedDataProvider& in_;
  HeadlessDriver ui_;
  TMixControlWnd* control_ = nullptr;
  const int cards_;
  int built_ = 0;  // of kBuildBudget
  int depth_ = 0;
};

}  // namespace

// Allocation and free stacks of five frames: an input allocates some hundred
// thousand blocks, and recording thirty frames for each took a sixth of the
// target's time. For a finding's full stacks, replay its input with
// ASAN_OPTIONS=malloc_context_size=30 (the environment overrides this).
extern "C" const char* __asan_default_options() { return "malloc_context_size=5"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = [] {
    RegisterBilingualClasses();
    RegisterAudioControlClasses();
    RegisterMixerWindows();
    RegisterSettingsDialog();
    return true;
  }();
  (void)registered;

  FuzzedDataProvider in(data, size);
  const int cards = in.ConsumeIntegralInRange(1, 4);
  testing::ProgramRig rig("[Cards]\nCount=" + std::to_string(cards) + "\n");
  rig.kernel().SetVirtualSleep(true);
  rig.kernel().KeepFilesInMemory();  // the settings file is written many times an input
  SetConfigCommandTimeout(std::chrono::milliseconds(40));
  ConfigurationGate() = 1;

  ChaosWave wave(rig.driver().wave(), rig.driver().arena(), in);
  ChaosShell shell(rig.driver().arena(), rig.tray(), in);
  Platform platform = rig.platform();
  platform.wave = &wave;
  platform.shell = &shell;
  SetCurrentPlatform(platform);

  ChaosSession(rig, in, cards).Run();

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
