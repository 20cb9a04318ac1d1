#include "mixer/digital_output_window.h"

#include "driver/control_messages.h"
#include "platform/silent_abort.h"
#include "toolkit/std_controls.h"
#include "toolkit/timer.h"
#include "winutil/flag_scope.h"

namespace zentra {
namespace {

// Switches a timer off for the length of a scope and on again however the
// scope ends.
class TimerPause {
 public:
  explicit TimerPause(TTimer* timer) : timer_(timer) {
    if (timer_ != nullptr) timer_->SetEnabled(false);
  }
  ~TimerPause() {
    if (timer_ != nullptr) timer_->SetEnabled(true);
  }
  TimerPause(const TimerPause&) = delete;
  TimerPause& operator=(const TimerPause&) = delete;

 private:
  TTimer* timer_;
};

// Sources the analog output plays that the analog input choice conflicts
// with: the digital output, the digital input and an ADAT input.
bool BlocksAnalogInput(std::uint8_t analogOutputSource) {
  return analogOutputSource == 1 || analogOutputSource == 3 || analogOutputSource == 4;
}

}  // namespace

const MixerClassInfo TfrmDigOut::kClassInfo = {
    .caption = "Digital Output",
    .handleGroups = {{.deviceKind = kKindDigital, .direction = Direction::Playback, .channelsPerCard = 2},
                     {.deviceKind = kKindAnalog, .direction = Direction::Playback, .channelsPerCard = 2}},
    .devicesPerCard = 1,
    .mainPanel = "pnGround",
    .settingsSection = "pnPlaybackSel",
    .meterSection = "pnLevel",
    .headerRow = "pnHeader",
    .strips = {{"pnLevel", StripContainerInfo::Labels::Unchanged},
               {"pnPlaybackSel", StripContainerInfo::Labels::Unchanged},
               {"pnHeader", StripContainerInfo::Labels::CardNumber}},
    .stripWidth = 143,
    .designHeight = 480,
    .widestPerCard = 143,
    .widestExtra = 20,
    .narrowest = 161,
    .metersByTag = true};

TfrmDigOut::TfrmDigOut(Component* owner, ProgramLink& program) : TMixerWindow(owner, program, kClassInfo) {
  BindHandler("btnRouteClick", &TfrmDigOut::btnRouteClick);
  BindHandler("btnRouteExit", &TfrmDigOut::btnRouteExit);
  BindHandler("btnFormatClick", &TfrmDigOut::btnFormatClick);
  BindHandler("chkAudioClick", &TfrmDigOut::chkAudioClick);
  BindHandler("chkPlaybackSelClick", &TfrmDigOut::chkPlaybackSelClick);
  BindHandler("secTimerTimer", &TfrmDigOut::secTimerTimer);
  BindField("pnGround", pnGround);
  BindField("sbStrips", sbStrips);
  BindField("pnHeader", pnHeader);
  BindField("pnPlaybackSel", pnPlaybackSel);
  BindField("pnLevel", pnLevel);
  BindField("pnRouteParent", pnRouteParent);
  BindField("pnFormat", pnFormat);
  BindField("btnProgram", btnProgram);
  BindField("btnAnaOut", btnAnaOut);
  BindField("btnAnaInp", btnAnaInp);
  BindField("btnDigInp", btnDigInp);
  BindField("btnCons", btnCons);
  BindField("btnProf", btnProf);
  BindField("chkAudio", chkAudio);
  BindField("chkPlaybackSel", chkPlaybackSel);
  BindField("secTimer", secTimer);
  Build("digital_output.wnd");
}

// --- construction -----------------------------------------------------------------

void TfrmDigOut::AssignRadioTags() {
  btnProgram->SetTag(kSourceProgram);
  btnAnaOut->SetTag(kSourceOtherOutput);
  btnAnaInp->SetTag(kSourceAnalogInput);
  btnDigInp->SetTag(kSourceDigitalInput);
  btnCons->SetTag(0);
  btnProf->SetTag(1);
  pnRouteParent->SetTag(0);
  pnFormat->SetTag(0);
}

void TfrmDigOut::StripsBuilt() {
  for (int card = 0; card < Cards(); ++card) {
    Strip& strip = strips_[card];
    strip.route = InStrip(card, pnRouteParent);
    strip.format = InStrip(card, pnFormat);
    for (TRadioButton* source : {btnProgram, btnAnaOut, btnAnaInp, btnDigInp})
      strip.sources[static_cast<std::size_t>(source->Tag())] = InStrip(card, source);
    strip.cons = InStrip(card, btnCons);
    strip.prof = InStrip(card, btnProf);
    strip.audio = InStrip(card, chkAudio);
  }
}

void TfrmDigOut::AllocateSingleBlocks() {
  channelStatus_ = &AllocateBlock(kChannelStatusBlockSize);
  AllocateMeterLevelBlock();
}

// --- showing ------------------------------------------------------------------------

bool TfrmDigOut::PrepareShowing() {
  for (int card = 0; card < Cards(); ++card) {
    outputSource_[card] = &AllocateBlock(kOutputSourceBlockSize);
    if (!outputSource_[card]->Usable()) return false;  // blocks so far stay until destruction
    analogSource_[card] = &AllocateBlock(kOutputSourceBlockSize);
    if (!analogSource_[card]->Usable()) return false;
  }
  sourceBlocksReady_ = true;
  SourceRefresh();
  secTimer->SetEnabled(true);
  ReadFormats();
  return true;
}

void TfrmDigOut::ReloadFromDriver() {
  if (!sourceBlocksReady_) return;
  SourceRefresh();
  ReadFormats();
}

int TfrmDigOut::SourceOf(int card) const {
  const Shared16Block* block = outputSource_[card];
  return block != nullptr && block->Usable() ? block->Byte(kSourceByte) : kSourceProgram;
}

int TfrmDigOut::CardOfStripControl(const Control* control) const {
  const int card = CardOfControl(control);
  return card >= 0 && sourceBlocksReady_ ? card : -1;
}

// --- source refresh and source change ---------------------------------------------------

void TfrmDigOut::secTimerTimer(Component*) { SourceRefresh(); }

void TfrmDigOut::SourceRefresh() {
  // Checking a button runs the source change, which may let the analog
  // output window refresh, which may ask for this refresh again.
  if (!sourceBlocksReady_ || refreshing_) return;
  FlagScope refreshing(refreshing_, true);
  const std::vector<Component*> components = Components();
  for (Component* c : components) {
    auto* button = dynamic_cast<TRadioButton*>(c);
    if (button == nullptr || button->Parent() == nullptr || button->Parent()->Parent() != pnPlaybackSel) continue;
    const int card = CardOfStripControl(button);
    if (card < 0) continue;
    // Byte 0 is the window's own record of the source it meters: the
    // driver's value is only compared with the button.
    Shared16Block& block = *outputSource_[card];
    const std::uint8_t saved = block.Byte(kSourceByte);
    CardHandle(kDigitalOut, card).Send(CTL_GET_OUTPUT_SOURCE, block.Address());
    const int current = block.Byte(kSourceByte);
    block.SetByte(0, saved);
    driverSource_[card] = current;
    button->SetChecked(current == button->Tag());
    if (button->Checked()) lastRoute_[card] = button;
    Shared16Block& analog = *analogSource_[card];
    CardHandle(kAnalogOut, card).Send(CTL_GET_OUTPUT_SOURCE, analog.Address());
    if (button->Tag() == kSourceAnalogInput) button->SetEnabled(!BlocksAnalogInput(analog.Byte(kSourceByte)));
  }
}

void TfrmDigOut::btnRouteExit(Component* sender) {
  auto* button = dynamic_cast<TRadioButton*>(sender);
  // Only a source in force can be gone back to: a button that lost its
  // check (a refused choice) is no route to restore.
  if (button == nullptr || !button->Checked()) return;
  const int card = CardOfControl(button);
  if (card >= 0) lastRoute_[card] = button;
}

void TfrmDigOut::btnRouteClick(Component* sender) {
  auto* button = dynamic_cast<TRadioButton*>(sender);
  if (button == nullptr || !button->Checked() || restoring_) return;
  const int card = CardOfStripControl(button);
  if (card < 0) return;
  const TimerPause pause(secTimer);
  const int old = SourceOf(card);
  bool driverChanged = false;
  try {
    if (!ChangeSource(card, button->Tag(), driverChanged)) UndoChange(card, *button, old, false);
  } catch (const SourceHandlesKept&) {
    // The old source's handles would not close: a failed change, undone.
    UndoChange(card, *button, old, driverChanged);
  } catch (const SilentAbort&) {
    // A source metering handle that would not open. Following the driver
    // (at showing, or a source changed elsewhere), its source stays
    // checked and this card's meters stay dark; the window sends nothing
    // again until the driver or the user changes the source. The user's
    // own choice is undone.
    if (!(refreshing_ && driverChanged)) UndoChange(card, *button, old, driverChanged);
  } catch (...) {
    UndoChange(card, *button, old, driverChanged);
    throw;
  }
}

bool TfrmDigOut::ChangeSource(int card, int source, bool& driverChanged) {
  Shared16Block& block = *outputSource_[card];
  const std::uint32_t value = (block.Word32(0) & ~0xFFu) | static_cast<std::uint8_t>(source);
  if (CardHandle(kDigitalOut, card).Send(CTL_SET_OUTPUT_SOURCE, value) != MMSYSERR_NOERROR) return false;
  driverChanged = true;
  driverSource_[card] = source;
  LeaveSourceMetering(card);
  EnterSourceMetering(card, source);
  RefreshWindowOf("TfrmAnalogOut");
  return true;
}

void TfrmDigOut::SetMeteredSource(int card, int source) {
  outputSource_[card]->SetByte(0, static_cast<std::uint8_t>(source));
}

void TfrmDigOut::UndoChange(int card, TRadioButton& failed, int old, bool driverChanged) {
  if (driverChanged) {
    const Shared16Block& block = *outputSource_[card];
    const std::uint32_t value = (block.Word32(0) & ~0xFFu) | static_cast<std::uint8_t>(old);
    if (CardHandle(kDigitalOut, card).Send(CTL_SET_OUTPUT_SOURCE, value) == MMSYSERR_NOERROR)
      driverSource_[card] = old;
  }
  // A failed open left the card on the new source with nothing open; a
  // failed close kept the old source's metering running.
  if (SourceOf(card) != old) RestoreSourceMetering(card, old);
  TRadioButton* back = lastRoute_[card];
  if (back == nullptr || back == &failed) {
    const int driver = driverSource_[card];
    back = driver >= 0 && driver < 4 ? strips_[card].sources[driver] : nullptr;
  }
  if (back == nullptr || back == &failed) {
    // Nothing to go back to: show no choice rather than the refused one.
    failed.SetChecked(false);
    return;
  }
  {
    FlagScope restoring(restoring_, true);
    back->SetChecked(true);
  }
  lastRoute_[card] = back;
  if (back->CanFocus()) back->SetFocus();
}

void TfrmDigOut::OpenSourceHandles(int card, int source) {
  int pair = 0;
  Direction direction = Direction::Playback;
  switch (source) {
    case kSourceOtherOutput:
      pair = FirstPairIndexOfKind(kKindAnalog, Direction::Playback);
      direction = Direction::Playback;
      break;
    case kSourceAnalogInput:
      pair = FirstPairIndexOfKind(kKindAnalog, Direction::Record);
      direction = Direction::Record;
      break;
    case kSourceDigitalInput:
      pair = FirstPairIndexOfKind(kKindDigital, Direction::Record);
      direction = Direction::Record;
      break;
    default:
      return;  // the applications' playback is metered on the window's own handle
  }
  for (int side = 0; side < 2; ++side) OpenSourceHandle(card, side, DeviceSlot(card, pair), direction);
}

MeterRoute TfrmDigOut::RouteOf(std::size_t device) const {
  const int card = static_cast<int>(device);
  switch (SourceOf(card)) {
    case kSourceOtherOutput:
    case kSourceAnalogInput:
    case kSourceDigitalInput:
      return MeterRoute::OnPair(SourceHandle(card, 0), SourceHandle(card, 1));
    default:
      return MeterRoute::On(CardHandle(kDigitalOut, card));
  }
}

// --- format ---------------------------------------------------------------------------

void TfrmDigOut::ReadFormats() {
  for (int card = 0; card < Cards(); ++card) {
    const Strip& strip = strips_[card];
    // The one block serves every card: after a refused read it still holds
    // another card's word. Such a card keeps its format (its buttons as
    // built) and gets no format until the user chooses one.
    if (CardHandle(kDigitalOut, card).Send(CTL_GET_CHANNEL_STATUS, channelStatus_->Address()) != MMSYSERR_NOERROR) {
      // The audio box as designed (a copy is not given the template's
      // disabled state), so a later choice runs only its own handling.
      if (strip.audio != nullptr) strip.audio->SetEnabled(false);
      continue;
    }
    const std::uint32_t word = channelStatus_->Word32(0);
    const bool professional = (word & kProfessionalFormat) != 0;
    for (TRadioButton* button : {strip.cons, strip.prof}) {
      if (button == nullptr) continue;
      if (strip.audio != nullptr) {
        const bool audio = !professional || (word & kAudioFlag) != 0;
        strip.audio->SetChecked(audio);
        strip.audio->SetTag(audio ? 1 : 0);
        strip.audio->SetEnabled(professional);
      }
      // Checking a button sends the format again in the window's own form.
      button->SetChecked(button->Tag() == 1 ? professional : !professional);
    }
  }
}

void TfrmDigOut::btnFormatClick(Component* sender) {
  auto* button = dynamic_cast<TRadioButton*>(sender);
  if (button == nullptr || !button->Checked()) return;
  const int card = CardOfStripControl(button);
  if (card < 0 || channelStatus_ == nullptr || !channelStatus_->Usable()) return;
  TCheckBox* box = strips_[card].audio;
  std::uint32_t word = kConsumerFormat;
  if (button->Tag() == 1) {
    // Back to the audio choice the user left; the box is still disabled
    // while it is set, so its own handler does nothing.
    if (box != nullptr) {
      box->SetChecked(box->Tag() == 1);
      box->SetEnabled(true);
    }
    word = kProfessionalFormat | (box != nullptr && box->Checked() ? kAudioFlag : 0);
  } else if (box != nullptr) {
    // S/PDIF always carries audio: the box shows that, and remembers the
    // user's choice in its Tag for the next switch to AES/EBU.
    box->SetEnabled(false);
    box->SetTag(box->Checked() ? 1 : 0);
    box->SetChecked(true);
  }
  channelStatus_->SetWord32(0, word);
  CardHandle(kDigitalOut, card).Send(CTL_SET_CHANNEL_STATUS, word);
}

void TfrmDigOut::chkAudioClick(Component* sender) {
  auto* box = dynamic_cast<TCheckBox*>(sender);
  if (box == nullptr || !box->Enabled()) return;
  box->SetTag(box->Checked() ? 1 : 0);
  const int card = CardOfStripControl(box);
  if (card < 0) return;
  for (TRadioButton* button : {strips_[card].cons, strips_[card].prof})
    if (button != nullptr && button->Checked()) btnFormatClick(button);
}

void TfrmDigOut::chkPlaybackSelClick(Component*) { SettingsSectionToggle(*chkPlaybackSel); }

}  // namespace zentra
