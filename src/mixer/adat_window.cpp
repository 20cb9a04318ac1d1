#include "mixer/adat_window.h"

#include <string>

#include "toolkit/std_controls.h"

namespace zentra {
namespace {

constexpr const char* kDescription = "adat.wnd";
// Eight handles per card, two on each of its four ADAT pairs; the metered
// device d is pair d % 4 of card d / 4, and the base's route (the first of
// its two handles, 2d) is the even handle that carries the messages.
constexpr int kAdatPairs = kAdatChannelsPerCard / 2;

MixerClassInfo AdatClassInfo(const char* caption, Direction direction, const char* mainPanel) {
  // The main panel is the meter section: the peak meter box shows and hides
  // it whole. Each further card's meters and channel numbers are cloned 312
  // pixels on, the numbers counting on from the template's eight meters.
  return MixerClassInfo{
      .caption = caption,
      .handleGroups = {{.deviceKind = kKindAdat, .direction = direction, .channelsPerCard = kAdatChannelsPerCard}},
      .devicesPerCard = kAdatPairs,
      .mainPanel = mainPanel,
      .settingsSection = nullptr,
      .meterSection = mainPanel,
      .headerRow = nullptr,
      .strips = {{"pnMeters", StripContainerInfo::Labels::Unchanged},
                 {"pnNumbers", StripContainerInfo::Labels::ChannelNumber}},
      .stripWidth = 312,
      .designHeight = 289,
      .widestPerCard = 314,
      .widestExtra = 16,
      .narrowest = 174};
}

}  // namespace

const AdatWindowInfo TfrmAdatInp::kInfo = {AdatClassInfo("ADAT Inputs", Direction::Record, "grpInput"),
                                           /*meterPanelWidth*/ 314};
const AdatWindowInfo TfrmAdatOut::kInfo = {AdatClassInfo("ADAT Outputs", Direction::Playback, "grpGround"),
                                           /*meterPanelWidth*/ 310};

TfrmAdat::TfrmAdat(Component* owner, ProgramLink& program, const AdatWindowInfo& info)
    : TMixerWindow(owner, program, info.mixer), adat_(info) {
  BindField("sbMeters", sbMeters);
  BindField("pnMeters", pnMeters);
  BindField("pnNumbers", pnNumbers);
}

void TfrmAdat::BuildAdat() {
  // The window is named after its class without the T: frmAdatInp, frmAdatOut.
  Build(kDescription, {{"Name", ClassName() + 1},
                       {"Class", ClassName()},
                       {"Caption", adat_.mixer.caption},
                       {"MainPanel", adat_.mixer.mainPanel},
                       {"MetersWidth", std::to_string(adat_.meterPanelWidth)}});
}

TfrmAdatInp::TfrmAdatInp(Component* owner, ProgramLink& program) : TfrmAdat(owner, program, kInfo) {
  BindField("grpInput", grpInput);
  BuildAdat();
}

TfrmAdatOut::TfrmAdatOut(Component* owner, ProgramLink& program) : TfrmAdat(owner, program, kInfo) {
  BindField("grpGround", grpGround);
  BuildAdat();
}

}  // namespace zentra
