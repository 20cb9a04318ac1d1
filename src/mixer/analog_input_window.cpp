#include "mixer/analog_input_window.h"

#include "driver/control_messages.h"
#include "platform/platform.h"
#include "toolkit/std_controls.h"

namespace zentra {

const MixerClassInfo TfrmAnalogInp::kClassInfo = {
    "Analog Input", kKindAnalog, Direction::Record,
    /*handlesPerCard*/ 2, /*metersPerCard*/ 2, /*stripWidth*/ 135, /*designHeight*/ 444,
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

void TfrmAnalogInp::AttachSections() {
  mainPanel_ = grpInput;
  settingsSection_ = pnInpMon;
  meterSection_ = pnMeters;
}

void TfrmAnalogInp::AssignRadioTags() {
  btnAnaMon->SetTag(1);
  btnDigMon->SetTag(2);
  btnNever->SetTag(0);
  btnOnRec->SetTag(1);
  btnOnPunch->SetTag(2);
}

bool TfrmAnalogInp::PrepareShowing() {
  Wow16Api& wow = *CurrentPlatform().wow16;
  for (int card = 0; card < static_cast<int>(handleCount_ / 2); ++card) {
    if (inputState_[card].AllocateFixed(wow, kInputStateBlockSize, kWindowBlockFlags) == nullptr)
      return false;  // blocks allocated so far stay until destruction
    SendOn(handles_[card * 2], CTL_GET_INPUT_STATE, inputState_[card].Address());
  }
  ShowStateByte(*pnRouteParent, kMonitorDestinationByte);
  ShowStateByte(*pnWhenToMonParent, kMonitorActivityByte);
  return true;
}

void TfrmAnalogInp::ShowStateByte(const TPanel& groupTemplate, std::uint32_t byte) {
  // The template group and its clones: same top, same parent section.
  const std::vector<Component*> components = Components();
  for (Component* c : components) {
    auto* panel = dynamic_cast<TPanel*>(c);
    if (panel == nullptr || panel->Parent() != pnInpMon || panel->Top() != groupTemplate.Top())
      continue;
    const int card = panel->Tag();
    if (card < 0 || card >= static_cast<int>(handleCount_ / 2) || !inputState_[card].Usable())
      continue;
    const std::uint8_t value = inputState_[card].Byte(byte);
    for (Control* child : panel->Children())
      if (auto* button = dynamic_cast<TRadioButton*>(child))
        button->SetChecked(button->Tag() == value);
  }
}

void TfrmAnalogInp::btnPunchRouteClick(Component* sender) { ChoiceMade(sender, kMonitorDestinationByte); }

void TfrmAnalogInp::btnWhenToMonClick(Component* sender) { ChoiceMade(sender, kMonitorActivityByte); }

void TfrmAnalogInp::ChoiceMade(Component* sender, std::uint32_t byte) {
  auto* button = dynamic_cast<TRadioButton*>(sender);
  if (button == nullptr || !button->Checked()) return;
  const int card = CardOfControl(button);
  if (card < 0 || !inputState_[card].Usable()) return;
  Shared16Block& state = inputState_[card];
  state.SetByte(byte, static_cast<std::uint8_t>(button->Tag()));
  SendOn(handles_[card * 2], CTL_SET_INPUT_STATE, state.Word32(0));
}

void TfrmAnalogInp::chkRoutingClick(Component*) { SettingsSectionToggle(*chkRouting); }

void TfrmAnalogInp::ReleaseBlocks() {
  for (Shared16Block& block : inputState_) block.Release();
  TMixerWindow::ReleaseBlocks();
}

}  // namespace zentra
