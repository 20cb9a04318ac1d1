#include "mixer/digital_input_window.h"

#include "driver/control_messages.h"
#include "toolkit/std_controls.h"
#include "toolkit/timer.h"

namespace zentra {

const MixerClassInfo TfrmDigInp::kClassInfo = {
    .caption = "Digital Input",
    .handleGroups = {{.deviceKind = kKindDigital, .direction = Direction::Record, .channelsPerCard = 2}},
    .devicesPerCard = 1,
    .mainPanel = "pnGround",
    .settingsSection = "pnInpStat",
    .meterSection = "pnLevel",
    .headerRow = "pnHeader",
    .strips = {{"pnLevel", StripContainerInfo::Labels::Unchanged},
               {"pnInpStat", StripContainerInfo::Labels::Unchanged},
               {"pnHeader", StripContainerInfo::Labels::CardNumber}},
    .stripWidth = 135,
    .designHeight = 518,
    .widestPerCard = 135,
    .widestExtra = 20,
    .narrowest = 155,
    .runningNeedsLastStart = true};

std::string RateCaption(std::uint32_t rate) {
  return rate == 0 ? "No Lock" : std::to_string(rate) + " Hz";
}

TfrmDigInp::TfrmDigInp(Component* owner, ProgramLink& program)
    : TInputMixerWindow(owner, program, kClassInfo) {
  BindHandler("btnRouteClick", &TfrmDigInp::btnRouteClick);
  BindHandler("btnMonRouteClick", &TfrmDigInp::btnMonRouteClick);
  BindHandler("btnWhenToMonClick", &TfrmDigInp::btnWhenToMonClick);
  BindHandler("chkInpSelRateClick", &TfrmDigInp::chkInpSelRateClick);
  BindHandler("RateTimerTimer", &TfrmDigInp::RateTimerTimer);
  BindField("pnGround", pnGround);
  BindField("sbStrips", sbStrips);
  BindField("pnHeader", pnHeader);
  BindField("pnInpStat", pnInpStat);
  BindField("pnLevel", pnLevel);
  BindField("pnInpSelParent", pnInpSelParent);
  BindField("pnRouteParent", pnRouteParent);
  BindField("pnWhenToMonParent", pnWhenToMonParent);
  BindField("btnOptical", btnOptical);
  BindField("btnElectrical", btnElectrical);
  BindField("btnAnaMon", btnAnaMon);
  BindField("btnDigMon", btnDigMon);
  BindField("btnNever", btnNever);
  BindField("btnOnRec", btnOnRec);
  BindField("btnOnPunch", btnOnPunch);
  BindField("lbRate", lbRate);
  BindField("chkInpSelRate", chkInpSelRate);
  BindField("RateTimer", RateTimer);
  Build("digital_input.wnd");
}

void TfrmDigInp::AssignRadioTags() {
  btnOptical->SetTag(1);
  btnElectrical->SetTag(2);
  btnAnaMon->SetTag(1);
  btnDigMon->SetTag(2);
  btnNever->SetTag(0);
  btnOnRec->SetTag(1);
  btnOnPunch->SetTag(2);
}

void TfrmDigInp::FixUpClone(const Control& from, Control*& copy, int card) {
  // The rate label of strip k is known by its Tag k + 1.
  if (copy != nullptr && &from == lbRate) copy->SetTag(card + 1);
}

void TfrmDigInp::StripsBuilt() {
  for (int card = 0; card < Cards(); ++card) rateLabels_[card] = InStrip(card, lbRate);
}

void TfrmDigInp::AllocateSingleBlocks() {
  AllocateMeterLevelBlock();
  rateBlock_ = &AllocateBlock(kRateBlockSize);
}

bool TfrmDigInp::PrepareShowing() {
  return ReadInputStates(*pnInpStat, {pnInpSelParent, pnRouteParent, pnWhenToMonParent},
                         {kInputSelectByte, kMonitorDestinationByte, kMonitorActivityByte});
}

void TfrmDigInp::FinishShowing() { RateTimer->SetEnabled(true); }

void TfrmDigInp::btnRouteClick(Component* sender) { InputChoiceMade(sender, kInputSelectByte); }

void TfrmDigInp::btnMonRouteClick(Component* sender) { InputChoiceMade(sender, kMonitorDestinationByte); }

void TfrmDigInp::btnWhenToMonClick(Component* sender) { InputChoiceMade(sender, kMonitorActivityByte); }

void TfrmDigInp::chkInpSelRateClick(Component*) { SettingsSectionToggle(*chkInpSelRate); }

void TfrmDigInp::RateTimerTimer(Component*) {
  if (rateBlock_ == nullptr || !rateBlock_->Usable()) return;
  for (int card = 0; card < Cards(); ++card) {
    // A refused request leaves the block with the previous card's rate:
    // the card's label then keeps what it showed rather than another
    // card's rate.
    if (CardHandle(0, card).Send(CTL_GET_INPUT_RATE, rateBlock_->Address()) != MMSYSERR_NOERROR) continue;
    if (rateLabels_[card] != nullptr) rateLabels_[card]->SetCaption(RateCaption(rateBlock_->Word32(0)));
  }
}

}  // namespace zentra
