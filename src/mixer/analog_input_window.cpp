#include "mixer/analog_input_window.h"

#include "driver/control_messages.h"
#include "toolkit/std_controls.h"

namespace zentra {

const MixerClassInfo TfrmAnalogInp::kClassInfo = {
    .caption = "Analog Input",
    .handleGroups = {{.deviceKind = kKindAnalog, .direction = Direction::Record, .channelsPerCard = 2}},
    .devicesPerCard = 1,
    .mainPanel = "grpInput",
    .settingsSection = "pnInpMon",
    .meterSection = "pnMeters",
    .headerRow = "pnHeader",
    .strips = {{"pnMeters", StripContainerInfo::Labels::Unchanged},
               {"pnInpMon", StripContainerInfo::Labels::Unchanged},
               {"pnHeader", StripContainerInfo::Labels::CardNumber}},
    .stripWidth = 135,
    .designHeight = 444,
    .widestPerCard = 135,
    .widestExtra = 24,
    .narrowest = 155};

TfrmAnalogInp::TfrmAnalogInp(Component* owner, ProgramLink& program)
    : TInputMixerWindow(owner, program, kClassInfo) {
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
  return ReadInputStates(*pnInpMon, {pnRouteParent, pnWhenToMonParent},
                         {kMonitorDestinationByte, kMonitorActivityByte});
}

void TfrmAnalogInp::btnPunchRouteClick(Component* sender) { InputChoiceMade(sender, kMonitorDestinationByte); }

void TfrmAnalogInp::btnWhenToMonClick(Component* sender) { InputChoiceMade(sender, kMonitorActivityByte); }

void TfrmAnalogInp::chkRoutingClick(Component*) { SettingsSectionToggle(*chkRouting); }

}  // namespace zentra
