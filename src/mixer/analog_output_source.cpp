// The analog output window's playback source: changing it, reading the
// driver's source back every second, the ADAT channel buttons, and metering
// on the device the source comes from.
#include <exception>

#include "controls/bilingual.h"
#include "driver/control_messages.h"
#include "mixer/analog_output_window.h"
#include "platform/silent_abort.h"
#include "toolkit/application.h"
#include "toolkit/std_controls.h"
#include "toolkit/timer.h"
#include "winutil/flag_scope.h"

namespace zentra {
namespace {

constexpr const char* kErrorCaption = "Zentra Fehler";
constexpr const char* kAdatRefusedText =
    "Kein Adat-Monitoring möglich.\r\nDas Wiedergabegerät wird durch eine andere Anwendung benutzt.";
constexpr const char* kOtherSourceRefusedText =
    "Gleichzeitiger Betrieb von ADAT/ADAT Monitoring/ADAT Sync und Digital/Digital Monitoring/"
    "Digital Sync nicht möglich.";

// The timer is off while a source changes and on again afterwards, also
// when the change fails.
// A window closed meanwhile (its release waits for the handler) keeps it off.
class TimerPaused {
 public:
  TimerPaused(TTimer* timer, const TForm& window) : timer_(timer), window_(window) {
    if (timer_ != nullptr) timer_->SetEnabled(false);
  }
  ~TimerPaused() {
    if (timer_ != nullptr && !window_.ReleasePending()) timer_->SetEnabled(true);
  }
  TimerPaused(const TimerPaused&) = delete;
  TimerPaused& operator=(const TimerPaused&) = delete;

 private:
  TTimer* timer_;
  const TForm& window_;
};

// A change of the source that did not come about.
struct SourceRefused {};

// How a change to a source goes: ADAT monitoring meters from the moment it
// is asked for, every other source only once the driver has taken it; each
// refusal has its own text.
struct SourceChangeSteps {
  bool metersBeforeAsking;
  const char* refusalText;
};

SourceChangeSteps StepsFor(int source) {
  if (source == kSourceAdatInput) return {true, kAdatRefusedText};
  return {false, kOtherSourceRefusedText};
}

}  // namespace

int TfrmAnalogOut::SourceOf(int card) const {
  const Shared16Block* block = card >= 0 && card < Cards() ? analogSource_[card] : nullptr;
  return block != nullptr && block->Usable() ? block->Byte(kSourceByte) : kSourceProgram;
}

// --- metering by source -----------------------------------------------------------

MeterRoute TfrmAnalogOut::RouteOf(std::size_t device) const {
  const int card = static_cast<int>(device);
  const ControlHandle& own = PlaybackHandle(2 * card);
  switch (SourceOf(card)) {
    case kSourceOtherOutput:
    case kSourceAnalogInput:
    case kSourceDigitalInput:
      return MeterRoute::OnPair(SourceHandle(card, 0), SourceHandle(card, 1));
    case kSourceAdatInput: {
      // One handle per side, each on the pair of its channel; the driver
      // gives the pair's even channel first.
      const Shared16Block& block = *analogSource_[card];
      MeterRoute route;
      route.started = {&SourceHandle(card, 0), &SourceHandle(card, 1)};
      route.meters = {MeterRoute::MeterSource{&SourceHandle(card, 0), block.Byte(kLeftChannelByte) % 2},
                      MeterRoute::MeterSource{&SourceHandle(card, 1), block.Byte(kRightChannelByte) % 2}};
      return route;
    }
    default:
      return MeterRoute::On(own);
  }
}

void TfrmAnalogOut::SetMeteredSource(int card, int source) {
  analogSource_[card]->SetByte(kSourceByte, static_cast<std::uint8_t>(source));
}

int TfrmAnalogOut::AdatSlot(int card, int channel) const {
  return DeviceSlot(card, FirstPairIndexOfKind(kKindAdat, Direction::Record) + (channel & 7) / 2);
}

void TfrmAnalogOut::OpenSourceHandles(int card, int source) {
  auto both = [&](int kind, Direction direction) {
    const int slot = DeviceSlot(card, FirstPairIndexOfKind(kind, direction));
    for (int side = 0; side < 2; ++side) OpenSourceHandle(card, side, slot, direction);
  };
  switch (source) {
    case kSourceOtherOutput:
      both(kKindDigital, Direction::Playback);
      break;
    case kSourceAnalogInput:
      both(kKindAnalog, Direction::Record);
      break;
    case kSourceDigitalInput:
      both(kKindDigital, Direction::Record);
      break;
    case kSourceAdatInput: {
      const Shared16Block& block = *analogSource_[card];
      OpenSourceHandle(card, 0, AdatSlot(card, block.Byte(kLeftChannelByte)), Direction::Record);
      OpenSourceHandle(card, 1, AdatSlot(card, block.Byte(kRightChannelByte)), Direction::Record);
      break;
    }
    default:
      break;
  }
}

// --- source change ----------------------------------------------------------------

std::uint32_t TfrmAnalogOut::RouteValue(int card, int source) const {
  return (analogSource_[card]->Word32(0) & 0xFFFFFF00u) | static_cast<std::uint8_t>(source);
}

void TfrmAnalogOut::btnRouteClick(Component* sender) {
  if (restoring_) return;
  TimerPaused paused(SecTimer, *this);
  auto* button = dynamic_cast<TRadioButton*>(sender);
  if (button == nullptr || !button->Checked()) return;
  const int card = CardOfControl(button);
  const int source = button->Tag();
  if (card < 0 || analogSource_[card] == nullptr || !analogSource_[card]->Usable() || source < 0 ||
      source >= kSourceCount)
    return;
  ChangeSource(*button, card, source);
}

void TfrmAnalogOut::SetWindowBoxesFor(int source) {
  ProgramLink& program = Program();
  if (source == kSourceAdatInput) {
    program.SetWindowAvailable("TfrmDigInp", false);
    program.SetWindowAvailable("TfrmDigOut", false);
    program.SetWindowAvailable("TfrmAdatInp", true);
    program.SetWindowAvailable("TfrmAdatOut", true);
    return;
  }
  const bool adat = source == kSourceProgram || source == kSourceAnalogInput;
  program.SetWindowAvailable("TfrmAdatInp", adat);
  program.SetWindowAvailable("TfrmAdatOut", adat);
  program.SetWindowAvailable("TfrmDigInp", true);
  program.SetWindowAvailable("TfrmDigOut", true);
}

void TfrmAnalogOut::ChangeSource(TRadioButton& button, int card, int source) {
  const int previous = analogSource_[card]->Byte(kSourceByte);
  const std::uint32_t route = RouteValue(card, source);
  const ControlHandle& own = PlaybackHandle(2 * card);
  try {
    const SourceChangeSteps steps = StepsFor(source);
    SetWindowBoxesFor(source);
    LeaveSourceMetering(card);
    if (steps.metersBeforeAsking) EnterSourceMetering(card, source);
    if (own.Send(CTL_SET_OUTPUT_SOURCE, route) != MMSYSERR_NOERROR) {
      Application::Instance().MessageBox(steps.refusalText, kErrorCaption, MB_ICONERROR, Handle());
      throw SourceRefused{};
    }
    if (!steps.metersBeforeAsking) EnterSourceMetering(card, source);
    RefreshWindowOf("TfrmDigOut");
  } catch (const SourceHandlesKept&) {
    // The old source's handles would not close: the driver was not asked
    // yet and the old source is metered still.
    if (!ClosedMeanwhile(previous)) KeepPreviousRoute(card, button, previous);
  } catch (const SourceRefused&) {
    if (!ClosedMeanwhile(previous)) RestoreLastRoute(card, button, previous);
  } catch (const SilentAbort&) {
    if (!ClosedMeanwhile(previous)) RestoreLastRoute(card, button, previous);
  } catch (...) {
    if (!ClosedMeanwhile(previous)) RestoreLastRoute(card, button, previous);
    throw;
  }
}

bool TfrmAnalogOut::ClosedMeanwhile(int previous) {
  // Switched off while its refusal box was up: the window goes once this
  // handler is done and sends nothing more (its close stopped metering,
  // its destruction closes the handles). The driver still plays the
  // previous source: the control window's boxes follow that one again.
  if (!ReleasePending()) return false;
  if (previous >= 0 && previous < kSourceCount) SetWindowBoxesFor(previous);
  return true;
}

void TfrmAnalogOut::RestoreLastRoute(int card, TRadioButton& failed, int previous) {
  // Without a last route button yet (the first reading at showing), the
  // source of the window's own record is the one to go back to.
  TRadioButton* last = lastRoute_[card];
  if (last == nullptr && previous >= 0 && previous < kSourceCount) last = sourceButtons_[card][previous];
  if (last != nullptr && last != &failed) {
    // Checking it runs the source change for the previous source.
    last->SetChecked(true);
    if (ReleasePending()) return;  // closed under a box of that change
    if (last->Checked()) lastRoute_[card] = last;
    last->SetFocus();
    return;
  }
  // Nothing else to go back to: no half-opened handles stay, the record
  // keeps the previous source, and the next reading of the driver's source
  // tries again. Also brings back the level poll timer the stop took away.
  failed.SetChecked(false);
  RestoreSourceMetering(card, previous);
}

void TfrmAnalogOut::KeepPreviousRoute(int card, TRadioButton& failed, int previous) {
  SetWindowBoxesFor(previous);
  TRadioButton* back = previous >= 0 && previous < kSourceCount ? sourceButtons_[card][previous] : nullptr;
  if (back == nullptr || back == &failed) {
    failed.SetChecked(false);
    return;
  }
  {
    FlagScope restoring(restoring_, true);
    back->SetChecked(true);
  }
  lastRoute_[card] = back;
  back->SetFocus();
}

void TfrmAnalogOut::btnRouteExit(Component* sender) {
  auto* button = dynamic_cast<TRadioButton*>(sender);
  // Only a source in force can be gone back to: a button that lost its
  // check (a refused choice) is no route to restore.
  if (button == nullptr || !button->Checked()) return;
  const int card = CardOfControl(button);
  if (card >= 0) lastRoute_[card] = button;
}

// --- source refresh ----------------------------------------------------------------

void TfrmAnalogOut::SecTimerTimer(Component*) { SourceRefresh(); }

void TfrmAnalogOut::RefreshFromDriver() {
  if (!refreshPosted_) refreshPosted_ = PostMessageToWindow(Handle(), kSourceRefreshMessage, 0, 0);
}

void TfrmAnalogOut::WMSourceRefresh(Message& message) {
  refreshPosted_ = false;
  SourceRefresh();
  message.result = 0;
}

void TfrmAnalogOut::SourceRefresh() {
  if (refreshRunning_ || ReleasePending()) return;
  FlagScope running(refreshRunning_, true);
  for (int card = 0; card < Cards() && !ReleasePending(); ++card) RefreshCard(card);
}

void TfrmAnalogOut::RefreshCard(int card) {
  Shared16Block* analog = analogSource_[card];
  Shared16Block* digital = digitalSource_[card];
  if (analog == nullptr || digital == nullptr || !analog->Usable() || !digital->Usable()) return;

  // The driver's source is compared with the window's own record, which
  // stays in byte 0; a channel the driver cannot have keeps the window's.
  const std::uint8_t own = analog->Byte(kSourceByte);
  const std::uint8_t left = analog->Byte(kLeftChannelByte);
  const std::uint8_t right = analog->Byte(kRightChannelByte);
  PlaybackHandle(2 * card).Send(CTL_GET_OUTPUT_SOURCE, analog->Address());
  const int driverSource = analog->Byte(kSourceByte);
  analog->SetByte(kSourceByte, own);
  if (analog->Byte(kLeftChannelByte) > 7) analog->SetByte(kLeftChannelByte, left);
  if (analog->Byte(kRightChannelByte) > 7) analog->SetByte(kRightChannelByte, right);

  ShowChannels(card);
  DigitalPlaybackHandle(card).Send(CTL_GET_OUTPUT_SOURCE, digital->Address());

  for (TRadioButton* button : sourceButtons_[card]) {
    if (button == nullptr) continue;
    if (button->Tag() == driverSource) {
      // Runs the source change when it was not checked, which brings the
      // window's record, handles and metering in line with the driver.
      button->SetChecked(true);
      if (ReleasePending()) return;  // closed under the refusal box of that change
      if (button->Checked()) lastRoute_[card] = button;
    }
    EnableSourceButtons(card, *button);
  }
}

void TfrmAnalogOut::ShowChannels(int card) {
  const Shared16Block& block = *analogSource_[card];
  for (int side = 0; side < 2; ++side) {
    TExtSpeedButton* button = ChannelButton(card, side, block.Byte(kLeftChannelByte + static_cast<std::uint32_t>(side)));
    // Going down runs the channel handling (OnDown).
    if (button != nullptr && !button->Down()) button->SetDown(true);
  }
}

void TfrmAnalogOut::EnableSourceButtons(int card, TRadioButton& button) {
  const int source = button.Tag();
  if (source != kSourceOtherOutput && source != kSourceDigitalInput && source != kSourceAdatInput) return;
  const Shared16Block& analog = *analogSource_[card];
  // The digital output plays the analog input: the choices that need the
  // digital side are taken. The busy count includes the window's own two
  // handles while it meters the analog input.
  const bool digitalTaken = digitalSource_[card]->Byte(kSourceByte) == kSourceAnalogInput;
  const bool own = MetersRunning() && analog.Byte(kSourceByte) == kSourceAnalogInput;
  const int busyCount = analog.Byte(kBusyCountByte);
  const bool busy = (!own && busyCount > 0) || (own && busyCount > 2);
  const bool enabled = !(digitalTaken || busy);
  button.SetEnabled(enabled);
  if (source == kSourceAdatInput)
    if (TGroupBox* group = ChannelGroup(card)) group->SetEnabled(enabled);
}

// --- ADAT channel buttons ------------------------------------------------------------

void TfrmAnalogOut::btnAdatChnDown(Component* sender) {
  if (!Visible()) return;
  auto* button = dynamic_cast<TExtSpeedButton*>(sender);
  if (button == nullptr) return;
  const int card = CardOfControl(button);
  if (card < 0 || analogSource_[card] == nullptr || !analogSource_[card]->Usable()) return;
  const int side = button->Tag() >= kRightRowTag ? 1 : 0;
  const int channel = button->Tag() - side * kRightRowTag;
  if (channel < 0 || channel > 7) return;
  Shared16Block& block = *analogSource_[card];
  block.SetByte(kLeftChannelByte + static_cast<std::uint32_t>(side), static_cast<std::uint8_t>(channel));
  // A channel shown from the driver's reading is already the driver's; the
  // user's choice goes to the driver.
  if (!refreshRunning_) PlaybackHandle(2 * card).Send(CTL_SET_OUTPUT_SOURCE, block.Word32(0));
  if (block.Byte(kSourceByte) == kSourceAdatInput) ReopenAdatSide(card, side);
}

void TfrmAnalogOut::ReopenAdatSide(int card, int side) {
  ControlHandle& handle = SourceHandle(card, side);
  if (MetersRunning()) handle.Send(CTL_IN_METER_STOP);
  handle.Close();
  const int channel = analogSource_[card]->Byte(kLeftChannelByte + static_cast<std::uint32_t>(side));
  try {
    OpenSourceHandle(card, side, AdatSlot(card, channel), Direction::Record);
  } catch (const SilentAbort&) {
    return;  // that side's meter stays dark until the source changes
  }
  if (MetersRunning()) handle.Send(CTL_IN_METER_START);
}

}  // namespace zentra
