// The analog output window: for each card the playback source of its analog
// output (the applications' playback, the digital output, the analog or
// digital input, or two ADAT input channels), the two playback faders with
// their mute buttons and link box, and peak meters that show whatever the
// chosen source plays.
//
// Where the card's metering happens follows the source: on the output
// itself for the applications' playback, otherwise on two source metering
// handles opened on the device the source comes from. A source change
// stops the card's metering, moves those handles and starts it again; the
// driver's source is read back every second, so a change made elsewhere
// shows up and the window follows it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mixer/mixer_window.h"

namespace zentra {

class TExtSpeedButton;
class TGroupBox;
class TRadioButton;
class TScrollBox;
class TSlider;
class TSpeedButton;
class TTimer;

class TfrmAnalogOut : public TMixerWindow {
 public:
  static const MixerClassInfo kClassInfo;

  // Source codes 0..4 (kSourceProgram .. kSourceAdatInput, byte 0 of an
  // OutputSourceBlock), one radio button each.
  static constexpr int kSourceCount = 5;
  // The Tag of a right-row channel button is this plus the channel.
  static constexpr std::int32_t kRightRowTag = 65536;
  // Posted to the window itself when another window asks for a refresh.
  static constexpr std::uint32_t kSourceRefreshMessage = WM_USER + 110;

  TfrmAnalogOut(Component* owner, ProgramLink& program);
  const char* ClassName() const override { return "TfrmAnalogOut"; }
  // Another window changed an output source: read the sources again, once
  // that window's handling has returned (following the driver here may
  // close the window that asked).
  void RefreshFromDriver() override;
  // Sources, channels, volumes and mutes read again as at showing.
  void ReloadFromDriver() override;

  // The window's record of the card's source (byte 0 of its analog block).
  int SourceOf(int card) const;
  // The card's analog and digital OutputSourceBlocks (allocated at showing).
  const Shared16Block* AnalogSourceBlock(int card) const { return analogSource_[card]; }
  const Shared16Block* DigitalSourceBlock(int card) const { return digitalSource_[card]; }
  const Shared16Block& VolumeBlock() const { return *volumeBlock_; }
  const Shared16Block& MuteBlock() const { return *muteBlock_; }
  // The handle of the card's digital playback device that reads its source.
  const ControlHandle& DigitalPlaybackHandle(int card) const { return CardHandle(1, card); }
  // The card's source metering handle of a side (0 left, 1 right).
  const ControlHandle& MeteringHandle(int card, int side) const { return SourceHandle(card, side); }
  bool FaderHandlingEnabled() const { return faderHandling_; }
  TRadioButton* LastRouteButton(int card) const { return lastRoute_[card]; }

  // The strips' controls: faders and mute buttons by number (2c left, 2c + 1
  // right), the others by card.
  TSlider* Fader(int number) const;
  TSpeedButton* MuteButton(int number) const;
  TCheckBox* LinkBox(int card) const;
  TRadioButton* SourceButton(int card, int source) const;
  // side 0 the left row, 1 the right row; channel 0..7.
  TExtSpeedButton* ChannelButton(int card, int side, int channel) const;
  TGroupBox* ChannelGroup(int card) const;

  // Published controls.
  TTimer* SecTimer = nullptr;
  TPanel* pnGround = nullptr;
  TScrollBox* sbStrips = nullptr;
  TPanel* pnHeader = nullptr;
  TPanel* pnPlaybackSel = nullptr;
  TBevel* bvLine = nullptr;
  TPanel* pnLevel = nullptr;
  TPanel* pnRouteParent = nullptr;
  TPanel* pnSlider12 = nullptr;
  TGroupBox* grpAdatChn = nullptr;
  TRadioButton* btnProgram = nullptr;
  TRadioButton* btnDigOut = nullptr;
  TRadioButton* btnAnaInp = nullptr;
  TRadioButton* btnDigInp = nullptr;
  TRadioButton* btnAdatInp = nullptr;
  TSlider* Slider0 = nullptr;
  TSlider* Slider1 = nullptr;
  TSpeedButton* btnMuteOut1 = nullptr;
  TSpeedButton* btnMuteOut2 = nullptr;
  TCheckBox* chkLink12 = nullptr;
  TCheckBox* chkPlaybackSel = nullptr;

 protected:
  void AssignRadioTags() override;
  void FixUpClone(const Control& from, Control*& copy, int card) override;
  void StripsBuilt() override;
  void AllocateSingleBlocks() override;
  bool PrepareShowing() override;
  void OptionsRestored() override;
  MeterRoute RouteOf(std::size_t device) const override;

 private:
  // Handlers bound by name.
  void SliderChange(Component* sender);
  void chkLinkClick(Component* sender);
  void btnMuteClick(Component* sender);
  void btnRouteClick(Component* sender);
  void btnRouteExit(Component* sender);
  void btnAdatChnDown(Component* sender);
  void SecTimerTimer(Component* sender);
  void chkPlaybackSelClick(Component* sender);

  // Construction and showing.
  void CollectStripControls();
  void LoadVolumes();
  void LoadMutes();
  // Analog playback handle `index` (2c + side).
  const ControlHandle& PlaybackHandle(int index) const { return GroupHandle(0, static_cast<std::size_t>(index)); }

  // Source change: what the card's metering and the control window do.
  void ChangeSource(TRadioButton& button, int card, int source);
  // After a failed change: true (and the control window's boxes set for
  // the previous source) when the window was closed meanwhile.
  bool ClosedMeanwhile(int previous);
  void RestoreLastRoute(int card, TRadioButton& failed, int previous);
  // After a change that failed before the driver was told (a source handle
  // that would not close): the previous source's button again, without
  // running the change.
  void KeepPreviousRoute(int card, TRadioButton& failed, int previous);
  void SetWindowBoxesFor(int source);
  int MeteredSource(int card) const override { return SourceOf(card); }
  void SetMeteredSource(int card, int source) override;
  void OpenSourceHandles(int card, int source) override;
  // The ADAT recording device slot of a channel of the card.
  int AdatSlot(int card, int channel) const;
  std::uint32_t RouteValue(int card, int source) const;

  // Source refresh.
  void SourceRefresh();
  void WMSourceRefresh(Message& message);
  void RefreshCard(int card);
  void ShowChannels(int card);
  void EnableSourceButtons(int card, TRadioButton& button);
  // Reopens one side's ADAT metering handle on the pair of its channel.
  void ReopenAdatSide(int card, int side);

  Shared16Block* volumeBlock_ = nullptr;
  Shared16Block* muteBlock_ = nullptr;
  std::array<Shared16Block*, kMaxCards> analogSource_{};
  std::array<Shared16Block*, kMaxCards> digitalSource_{};
  std::array<TRadioButton*, kMaxCards> lastRoute_{};
  // Controls of each strip, collected once the strips exist.
  std::vector<TSlider*> faders_;           // by Number
  std::vector<TSpeedButton*> muteButtons_;  // by Tag
  std::array<TCheckBox*, kMaxCards> linkBoxes_{};
  std::array<std::array<TRadioButton*, kSourceCount>, kMaxCards> sourceButtons_{};
  std::array<std::array<std::array<TExtSpeedButton*, 8>, 2>, kMaxCards> channelButtons_{};
  std::array<TGroupBox*, kMaxCards> channelGroups_{};
  int nextFaderNumber_ = 2;
  int linkBoxCounter_ = 1;
  bool faderHandling_ = false;
  bool refreshRunning_ = false;
  bool restoring_ = false;  // a button checked back needs no source change
  bool refreshPosted_ = false;
};

}  // namespace zentra
