// The digital output window: for each card which signal the digital output
// plays (the applications' playback, the analog output, the analog input or
// the digital input), its channel-status format (S/PDIF, or AES/EBU with or
// without the audio flag), and peak meters that show the chosen source.
// The source is read from the driver every second, so a change made by
// another program or by the analog output window shows up and the metering
// follows it; the analog input choice is disabled while the analog output
// plays the digital output, the digital input or an ADAT input.
#pragma once

#include <array>

#include "mixer/mixer_window.h"

namespace zentra {

class TLabel;
class TRadioButton;
class TScrollBox;
class TTimer;

class TfrmDigOut : public TMixerWindow {
 public:
  static const MixerClassInfo kClassInfo;

  // The format word.
  static constexpr std::uint32_t kConsumerFormat = 0x20;
  static constexpr std::uint32_t kProfessionalFormat = 0x80;
  static constexpr std::uint32_t kAudioFlag = 0x08;

  TfrmDigOut(Component* owner, ProgramLink& program);
  const char* ClassName() const override { return "TfrmDigOut"; }

  // The analog output window changed a source: read ours again.
  void RefreshFromDriver() override { SourceRefresh(); }
  // Sources and formats read again as at showing.
  void ReloadFromDriver() override;

  // One card strip's controls.
  struct Strip {
    TPanel* route = nullptr;
    TPanel* format = nullptr;
    std::array<TRadioButton*, 4> sources{};  // by source code
    TRadioButton* cons = nullptr;
    TRadioButton* prof = nullptr;
    TCheckBox* audio = nullptr;
  };
  const Strip& StripOf(int card) const { return strips_[card]; }
  // The source whose metering the card has now (the last one set).
  int SourceOf(int card) const;
  TRadioButton* LastRouteButton(int card) const { return lastRoute_[card]; }
  // The card's source metering handles (open while its source is 1, 2 or 3).
  const ControlHandle& SourceMeteringHandle(int card, int side) const { return SourceHandle(card, side); }

  // Published controls.
  TPanel* pnGround = nullptr;
  TScrollBox* sbStrips = nullptr;
  TPanel* pnHeader = nullptr;
  TPanel* pnPlaybackSel = nullptr;
  TPanel* pnLevel = nullptr;
  TPanel* pnRouteParent = nullptr;
  TPanel* pnFormat = nullptr;
  TRadioButton* btnProgram = nullptr;
  TRadioButton* btnAnaOut = nullptr;
  TRadioButton* btnAnaInp = nullptr;
  TRadioButton* btnDigInp = nullptr;
  TRadioButton* btnCons = nullptr;
  TRadioButton* btnProf = nullptr;
  TCheckBox* chkAudio = nullptr;
  TCheckBox* chkPlaybackSel = nullptr;
  TTimer* secTimer = nullptr;

 protected:
  void AssignRadioTags() override;
  void StripsBuilt() override;
  void AllocateSingleBlocks() override;
  bool PrepareShowing() override;
  MeterRoute RouteOf(std::size_t device) const override;

 private:
  // Handle groups: the window's own digital output devices, then the
  // analog output devices whose source is read.
  static constexpr std::size_t kDigitalOut = 0;
  static constexpr std::size_t kAnalogOut = 1;

  void btnRouteClick(Component* sender);
  void btnRouteExit(Component* sender);
  void btnFormatClick(Component* sender);
  void chkAudioClick(Component* sender);
  void chkPlaybackSelClick(Component* sender);
  void secTimerTimer(Component* sender);

  void SourceRefresh();
  // Carries out the change of card's source to the button's; false when
  // the driver refused it (nothing changed then). driverChanged tells
  // whether the driver took the new source before a later step failed.
  bool ChangeSource(int card, int source, bool& driverChanged);
  // Undoes a change that failed: the driver set back to the old source
  // (when it had taken the new one), the old source's metering, and the
  // previous button checked without running a change (or, with none, the
  // button of the driver's source).
  void UndoChange(int card, TRadioButton& failed, int old, bool driverChanged);
  int MeteredSource(int card) const override { return SourceOf(card); }
  void SetMeteredSource(int card, int source) override;
  void OpenSourceHandles(int card, int source) override;
  void ReadFormats();
  int CardOfStripControl(const Control* control) const;

  std::array<Strip, kMaxCards> strips_{};
  std::array<Shared16Block*, kMaxCards> outputSource_{};
  std::array<Shared16Block*, kMaxCards> analogSource_{};
  std::array<TRadioButton*, kMaxCards> lastRoute_{};
  // The source the driver last reported or took, per card.
  std::array<int, kMaxCards> driverSource_{};
  Shared16Block* channelStatus_ = nullptr;
  bool sourceBlocksReady_ = false;
  bool refreshing_ = false;
  bool restoring_ = false;  // a button checked back needs no source change
};

}  // namespace zentra
