// The analog output window: construction of its strips, showing, the
// faders with their link boxes and the mute buttons. The playback source
// and the metering that follows it are in analog_output_source.cpp.
#include "mixer/analog_output_window.h"

#include "controls/bilingual.h"
#include "controls/slider.h"
#include "driver/control_messages.h"
#include "driver/device_tables.h"
#include "mixer/volume_mapping.h"
#include "toolkit/std_controls.h"
#include "toolkit/timer.h"
#include "winutil/flag_scope.h"

namespace zentra {
namespace {

// The faders of a strip's fader panel in control order (left, then right).
std::vector<TSlider*> FadersIn(const Control* parent) {
  std::vector<TSlider*> out;
  if (parent == nullptr) return out;
  for (Control* child : parent->Children())
    if (auto* fader = dynamic_cast<TSlider*>(child)) out.push_back(fader);
  return out;
}

}  // namespace

const MixerClassInfo TfrmAnalogOut::kClassInfo = {
    .caption = "Analog Output",
    .handleGroups = {{.deviceKind = kKindAnalog, .direction = Direction::Playback, .channelsPerCard = 2},
                     {.deviceKind = kKindDigital, .direction = Direction::Playback, .channelsPerCard = 2}},
    .devicesPerCard = 1,
    .mainPanel = "pnGround",
    .settingsSection = "pnPlaybackSel",
    .meterSection = "pnLevel",
    .headerRow = "pnHeader",
    .strips = {{"pnLevel", StripContainerInfo::Labels::Unchanged},
               {"pnPlaybackSel", StripContainerInfo::Labels::Unchanged},
               {"pnHeader", StripContainerInfo::Labels::CardNumber}},
    .stripWidth = 193,
    .designHeight = 478,
    .widestPerCard = 197,
    .widestExtra = 8,
    .narrowest = 205};

TfrmAnalogOut::TfrmAnalogOut(Component* owner, ProgramLink& program)
    : TMixerWindow(owner, program, kClassInfo) {
  BindHandler("SliderChange", &TfrmAnalogOut::SliderChange);
  BindHandler("chkLinkClick", &TfrmAnalogOut::chkLinkClick);
  BindHandler("btnMuteClick", &TfrmAnalogOut::btnMuteClick);
  BindHandler("btnRouteClick", &TfrmAnalogOut::btnRouteClick);
  BindHandler("btnRouteExit", &TfrmAnalogOut::btnRouteExit);
  BindHandler("btnAdatChnDown", &TfrmAnalogOut::btnAdatChnDown);
  BindHandler("SecTimerTimer", &TfrmAnalogOut::SecTimerTimer);
  BindHandler("chkPlaybackSelClick", &TfrmAnalogOut::chkPlaybackSelClick);
  BindField("SecTimer", SecTimer);
  BindField("pnGround", pnGround);
  BindField("sbStrips", sbStrips);
  BindField("pnHeader", pnHeader);
  BindField("pnPlaybackSel", pnPlaybackSel);
  BindField("bvLine", bvLine);
  BindField("pnLevel", pnLevel);
  BindField("pnRouteParent", pnRouteParent);
  BindField("pnSlider12", pnSlider12);
  BindField("grpAdatChn", grpAdatChn);
  BindField("btnProgram", btnProgram);
  BindField("btnDigOut", btnDigOut);
  BindField("btnAnaInp", btnAnaInp);
  BindField("btnDigInp", btnDigInp);
  BindField("btnAdatInp", btnAdatInp);
  BindField("Slider0", Slider0);
  BindField("Slider1", Slider1);
  BindField("btnMuteOut1", btnMuteOut1);
  BindField("btnMuteOut2", btnMuteOut2);
  BindField("chkLink12", chkLink12);
  BindField("chkPlaybackSel", chkPlaybackSel);
  SetMessageHandler(kSourceRefreshMessage, [this](Message& m) { WMSourceRefresh(m); });
  Build("analog_output.wnd");
}

// --- construction -------------------------------------------------------------

void TfrmAnalogOut::AssignRadioTags() {
  btnProgram->SetTag(kSourceProgram);
  btnDigOut->SetTag(kSourceOtherOutput);
  btnAnaInp->SetTag(kSourceAnalogInput);
  btnDigInp->SetTag(kSourceDigitalInput);
  btnAdatInp->SetTag(kSourceAdatInput);
  nextFaderNumber_ = 2;
  linkBoxCounter_ = 1;
}

void TfrmAnalogOut::FixUpClone(const Control& from, Control*& copy, int card) {
  if (copy == nullptr) return;
  if (auto* fader = dynamic_cast<TSlider*>(copy)) {
    fader->SetNumber(nextFaderNumber_++);
    fader->SetName("Slider" + std::to_string(fader->Number()));
  } else if (dynamic_cast<TCheckBox*>(copy) != nullptr) {
    // The card's link box, named after its two channels (chkLink34 ...),
    // which is also its key in the INI file.
    const int m = ++linkBoxCounter_;
    copy->SetName("chkLink" + std::to_string(2 * m - 1) + std::to_string(2 * m));
  } else if (auto* button = dynamic_cast<TSpeedButton*>(copy)) {
    if (&from == btnMuteOut1 || &from == btnMuteOut2)
      button->SetTag(button->Tag() + 2 * card);
    else
      button->SetGroupIndex(button->GroupIndex() + 2 * card);
  }
}

void TfrmAnalogOut::StripsBuilt() {
  // Every fader links through the first check box beside it.
  for (Component* c : Components()) {
    auto* fader = dynamic_cast<TSlider*>(c);
    if (fader == nullptr || fader->Parent() == nullptr) continue;
    for (Control* sibling : fader->Parent()->Children()) {
      if (auto* box = dynamic_cast<TCheckBox*>(sibling)) {
        fader->SetLinkCheck(box);
        break;
      }
    }
  }
  CollectStripControls();
}

void TfrmAnalogOut::CollectStripControls() {
  const auto channels = static_cast<std::size_t>(2 * Cards());
  faders_.assign(channels, nullptr);
  muteButtons_.assign(channels, nullptr);
  for (int card = 0; card < Cards(); ++card) {
    const auto left = static_cast<std::size_t>(2 * card);
    faders_[left] = InStrip(card, Slider0);
    faders_[left + 1] = InStrip(card, Slider1);
    muteButtons_[left] = InStrip(card, btnMuteOut1);
    muteButtons_[left + 1] = InStrip(card, btnMuteOut2);
    linkBoxes_[card] = InStrip(card, chkLink12);
    for (TRadioButton* source : {btnProgram, btnDigOut, btnAnaInp, btnDigInp, btnAdatInp})
      sourceButtons_[card][static_cast<std::size_t>(source->Tag())] = InStrip(card, source);
    channelGroups_[card] = InStrip(card, grpAdatChn);
    // The channel buttons are known by their Tags in the designed group.
    for (Control* child : grpAdatChn->Children()) {
      auto* designed = dynamic_cast<TExtSpeedButton*>(child);
      if (designed == nullptr) continue;
      const int side = designed->Tag() >= kRightRowTag ? 1 : 0;
      const int index = designed->Tag() - side * kRightRowTag;
      if (index >= 0 && index < 8) channelButtons_[card][side][index] = InStrip(card, designed);
    }
  }
}

void TfrmAnalogOut::AllocateSingleBlocks() {
  volumeBlock_ = &AllocateBlock(kVolumeBlockSize);
  AllocateMeterLevelBlock();
  muteBlock_ = &AllocateBlock(kMuteBlockSize);
}

TSlider* TfrmAnalogOut::Fader(int number) const {
  return number >= 0 && static_cast<std::size_t>(number) < faders_.size() ? faders_[number] : nullptr;
}

TSpeedButton* TfrmAnalogOut::MuteButton(int number) const {
  return number >= 0 && static_cast<std::size_t>(number) < muteButtons_.size() ? muteButtons_[number]
                                                                               : nullptr;
}

TCheckBox* TfrmAnalogOut::LinkBox(int card) const {
  return card >= 0 && card < Cards() ? linkBoxes_[card] : nullptr;
}

TRadioButton* TfrmAnalogOut::SourceButton(int card, int source) const {
  if (card < 0 || card >= Cards() || source < 0 || source >= kSourceCount) return nullptr;
  return sourceButtons_[card][source];
}

TExtSpeedButton* TfrmAnalogOut::ChannelButton(int card, int side, int channel) const {
  if (card < 0 || card >= Cards() || side < 0 || side > 1 || channel < 0 || channel > 7) return nullptr;
  return channelButtons_[card][side][channel];
}

TGroupBox* TfrmAnalogOut::ChannelGroup(int card) const {
  return card >= 0 && card < Cards() ? channelGroups_[card] : nullptr;
}

// --- showing -----------------------------------------------------------------------

bool TfrmAnalogOut::PrepareShowing() {
  for (int card = 0; card < Cards(); ++card) {
    analogSource_[card] = &AllocateBlock(kOutputSourceBlockSize);
    digitalSource_[card] = &AllocateBlock(kOutputSourceBlockSize);
    if (!analogSource_[card]->Usable() || !digitalSource_[card]->Usable()) return false;
    // The channels the buttons show as designed, until the driver's come.
    analogSource_[card]->SetByte(kLeftChannelByte, 0);
    analogSource_[card]->SetByte(kRightChannelByte, 1);
  }
  SourceRefresh();
  // A refusal box of the refresh's source change may have seen the window
  // closed: it then stays without its timer.
  if (!ReleasePending()) SecTimer->SetEnabled(true);
  return true;
}

void TfrmAnalogOut::OptionsRestored() {
  if (DriverOpen) LoadVolumes();
  LoadMutes();
  faderHandling_ = true;
}

void TfrmAnalogOut::ReloadFromDriver() {
  if (!Ready() || !Visible()) return;
  SourceRefresh();
  if (ReleasePending()) return;  // closed under a refusal box of that refresh
  if (DriverOpen) LoadVolumes();
  LoadMutes();
}

void TfrmAnalogOut::LoadVolumes() {
  // Setting a fader from the driver's volume sends nothing back.
  faderHandling_ = false;
  for (TSlider* fader : faders_) {
    if (fader == nullptr) continue;
    const int number = fader->Number();
    // A refused request leaves the block with another fader's volume: that
    // fader then keeps its place.
    if (PlaybackHandle(number).Send(WODM_GETVOLUME, volumeBlock_->Address()) != MMSYSERR_NOERROR) continue;
    const std::uint32_t volume = volumeBlock_->Word32(0);
    fader->SetPosition(PositionOfVolume(number % 2 == 0 ? volume & 0xFFFF : volume >> 16));
  }
  faderHandling_ = true;
}

void TfrmAnalogOut::LoadMutes() {
  for (TSpeedButton* button : muteButtons_) {
    if (button == nullptr) continue;
    const int number = button->Tag();
    const int pair = number & ~1;
    if (PlaybackHandle(pair).Send(CTL_GET_MUTE, muteBlock_->Address() + 2u * static_cast<unsigned>(pair)) !=
        MMSYSERR_NOERROR)
      continue;
    button->TSpeedButton::SetDown(muteBlock_->Word16(2u * static_cast<unsigned>(number)) != kNotMuted);
  }
  // Any word other than 0 is a muted channel: the window keeps the one value
  // it sends for muted, so what a button shows is what its pair sends.
  for (std::uint32_t offset = 0; offset < kMuteBlockSize; offset += 2)
    if (muteBlock_->Word16(offset) != kNotMuted) muteBlock_->SetWord16(offset, kMuted);
}

// --- faders, link boxes and mutes ----------------------------------------------------

void TfrmAnalogOut::SliderChange(Component* sender) {
  auto* fader = dynamic_cast<TSlider*>(sender);
  if (fader == nullptr || !faderHandling_) return;
  // Setting the other fader below runs this handler again: it must do nothing.
  FlagScope handling(faderHandling_, false);
  const std::vector<TSlider*> pair = FadersIn(fader->Parent());
  if (fader->LinkCheck() != nullptr && fader->LinkCheck()->Checked())
    for (TSlider* other : pair)
      if (other != fader) other->SetPosition(fader->Position());
  // Left volume in the low word, right in the high word.
  std::uint32_t volume = 0;
  for (TSlider* f : pair) volume = (volume >> 16) | static_cast<std::uint32_t>(VolumeOfPosition(f->Position())) << 16;
  PlaybackHandle(fader->Number()).Send(WODM_SETVOLUME, volume);
}

void TfrmAnalogOut::chkLinkClick(Component* sender) {
  auto* box = dynamic_cast<TCheckBox*>(sender);
  if (box == nullptr || !box->Checked()) return;
  const std::vector<TSlider*> pair = FadersIn(box->Parent());
  if (pair.empty()) return;
  const int position = pair.front()->Position();
  // Each setting runs the fader change, which sends the pair's volume.
  for (TSlider* f : pair) f->SetPosition(position);
}

void TfrmAnalogOut::btnMuteClick(Component* sender) {
  auto* button = dynamic_cast<TSpeedButton*>(sender);
  if (button == nullptr) return;
  const int number = button->Tag();
  if (number < 0 || number >= 2 * Cards()) return;
  muteBlock_->SetWord16(2u * static_cast<unsigned>(number), button->Down() ? kMuted : kNotMuted);
  const int pair = number & ~1;
  const std::uint32_t mutes = muteBlock_->Word16(2u * static_cast<unsigned>(pair)) |
                              static_cast<std::uint32_t>(muteBlock_->Word16(2u * static_cast<unsigned>(pair + 1))) << 16;
  PlaybackHandle(number).Send(CTL_SET_MUTE, mutes);
}

void TfrmAnalogOut::chkPlaybackSelClick(Component*) { SettingsSectionToggle(*chkPlaybackSel); }

}  // namespace zentra
