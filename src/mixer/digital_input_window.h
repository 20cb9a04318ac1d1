// The digital input window: for each card's digital recording device which
// physical input feeds it (optical or electrical), the sample rate the card
// measures on it (read every second), where and when the input is
// monitored, and the input peak meters.
#pragma once

#include <array>

#include "mixer/input_mixer_window.h"

namespace zentra {

class TLabel;
class TRadioButton;
class TScrollBox;
class TTimer;

class TfrmDigInp : public TInputMixerWindow {
 public:
  static const MixerClassInfo kClassInfo;

  TfrmDigInp(Component* owner, ProgramLink& program);
  const char* ClassName() const override { return "TfrmDigInp"; }

  // The label that shows card's measured rate (null for a card not present).
  TLabel* RateLabel(int card) const { return rateLabels_[card]; }
  const Shared16Block& RateBlock() const { return *rateBlock_; }

  // Published controls.
  TPanel* pnGround = nullptr;
  TScrollBox* sbStrips = nullptr;
  TPanel* pnHeader = nullptr;
  TPanel* pnInpStat = nullptr;
  TPanel* pnLevel = nullptr;
  TPanel* pnInpSelParent = nullptr;
  TPanel* pnRouteParent = nullptr;
  TPanel* pnWhenToMonParent = nullptr;
  TRadioButton* btnOptical = nullptr;
  TRadioButton* btnElectrical = nullptr;
  TRadioButton* btnAnaMon = nullptr;
  TRadioButton* btnDigMon = nullptr;
  TRadioButton* btnNever = nullptr;
  TRadioButton* btnOnRec = nullptr;
  TRadioButton* btnOnPunch = nullptr;
  TLabel* lbRate = nullptr;
  TCheckBox* chkInpSelRate = nullptr;
  TTimer* RateTimer = nullptr;

 protected:
  void AssignRadioTags() override;
  void FixUpClone(const Control& from, Control*& copy, int card) override;
  void StripsBuilt() override;
  void AllocateSingleBlocks() override;
  bool PrepareShowing() override;
  void FinishShowing() override;

 private:
  // Bytes of the InputStateBlock.
  static constexpr std::uint32_t kInputSelectByte = 0;
  static constexpr std::uint32_t kMonitorDestinationByte = 1;
  static constexpr std::uint32_t kMonitorActivityByte = 2;

  void btnRouteClick(Component* sender);
  void btnMonRouteClick(Component* sender);
  void btnWhenToMonClick(Component* sender);
  void chkInpSelRateClick(Component* sender);
  void RateTimerTimer(Component* sender);

  Shared16Block* rateBlock_ = nullptr;
  std::array<TLabel*, kMaxCards> rateLabels_{};
};

// What a rate label shows for a measured rate: "<rate> Hz", or "No Lock"
// for 0.
std::string RateCaption(std::uint32_t rate);

}  // namespace zentra
