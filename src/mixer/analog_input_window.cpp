#include "mixer/analog_input_window.h"

#include "driver/control_messages.h"
#include "toolkit/std_controls.h"

namespace zentra {

const MixerClassInfo TfrmAnalogInp::kClassInfo = {
    "Analog Input",
    {{kKindAnalog, Direction::Record, 2}},
    /*devicesPerCard*/ 1,
    "grpInput", "pnInpMon", "pnMeters", "pnHeader",
    {{"pnMeters", StripContainerInfo::Labels::Unchanged},
     {"pnInpMon", StripContainerInfo::Labels::Unchanged},
     {"pnHeader", StripContainerInfo::Labels::CardNumber}},
    /*stripWidth*/ 135, /*designHeight*/ 444,
    /*widestPerCard*/ 135, /*widestExtra*/ 24, /*narrowest*/ 155};

TfrmAnalogInp::TfrmAnalogInp(Component* owner, ProgramLink& program)
    : TMixerWindow(owner, program, kClassInfo) {
  BindHandler("btnPunchRouteClick", &TfrmAnalogInp::btnPunchRouteClick);
  BindHandler("btnWhenToMonClick", &TfrmAnalogInp::btnWhenToMonClick);
  BindHandler("chkRoutingClick", &TfrmAnalogInp::chkRoutingClick);
  BindField("grpInput", grpInput);
  BindField("sbStrips", sbStrips);
  BindField("pnHeader", pnHeader);
  BindField("pnInpMon", pnInpMon);
  BindField("bvLine", bvLine);
  BindField("pnMeters", pnMeters);
  BindField("pnRouteParent", pnRouteParent);
  BindField("pnWhenToMonParent", pnWhenToMonParent);
  BindField("btnAnaMon", btnAnaMon);
  BindField("btnDigMon", btnDigMon);
  BindField("btnNever", btnNever);
  BindField("btnOnRec", btnOnRec);
  BindField("btnOnPunch", btnOnPunch);
  BindField("chkRouting", chkRouting);
  Build("analog_input.wnd");
}

void TfrmAnalogInp::AssignRadioTags() {
  btnAnaMon->SetTag(1);
  btnDigMon->SetTag(2);
  btnNever->SetTag(0);
  btnOnRec->SetTag(1);
  btnOnPunch->SetTag(2);
}

bool TfrmAnalogInp::PrepareShowing() {
  for (int card = 0; card < Cards(); ++card) {
    inputState_[card] = &AllocateBlock(kInputStateBlockSize);
    if (!inputState_[card]->Usable()) return false;  // blocks so far stay until destruction
    CardHandle(0, card).Send(CTL_GET_INPUT_STATE, inputState_[card]->Address());
  }
  const std::uint32_t bytes[] = {kMonitorDestinationByte, kMonitorActivityByte};
  CheckRadioGroups(*pnInpMon, {pnRouteParent, pnWhenToMonParent},
                   [&](std::size_t group, int card) -> std::optional<int> {
                     return inputState_[card]->Byte(bytes[group]);
                   });
  return true;
}

void TfrmAnalogInp::btnPunchRouteClick(Component* sender) { ChoiceMade(sender, kMonitorDestinationByte); }

void TfrmAnalogInp::btnWhenToMonClick(Component* sender) { ChoiceMade(sender, kMonitorActivityByte); }

void TfrmAnalogInp::ChoiceMade(Component* sender, std::uint32_t byte) {
  auto* button = dynamic_cast<TRadioButton*>(sender);
  if (button == nullptr || !button->Checked()) return;
  const int card = CardOfControl(button);
  if (card < 0 || inputState_[card] == nullptr || !inputState_[card]->Usable()) return;
  Shared16Block& state = *inputState_[card];
  state.SetByte(byte, static_cast<std::uint8_t>(button->Tag()));
  CardHandle(0, card).Send(CTL_SET_INPUT_STATE, state.Word32(0));
}

void TfrmAnalogInp::chkRoutingClick(Component*) { SettingsSectionToggle(*chkRouting); }

}  // namespace zentra
