// The "Clock" and "Geräte" pages of the settings dialog: the card's role on
// the SyncBus, its default rates, and per device group the clock source and
// how the group starts. Each control writes its field of the working copy;
// the rules below grey out what cannot be combined.
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "settings/default_rates.h"
#include "settings/settings_dialog.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using F = ConfigField;

// Enables or disables every control inside the container, through nested
// containers.
void SetControlsInsideEnabled(Control& container, bool enabled) {
  for (Control* child : container.Children()) {
    child->SetEnabled(enabled);
    if (child->AcceptsChildren()) SetControlsInsideEnabled(*child, enabled);
  }
}

// Checks the radio button of the container whose Tag is the value; a value
// no button stands for leaves the group as it is.
void CheckRadioOfValue(Control& container, std::int32_t value) {
  for (Control* child : container.Children()) {
    auto* radio = dynamic_cast<TRadioButton*>(child);
    if (radio != nullptr && radio->Tag() == value) {
      radio->SetChecked(true);
      return;
    }
  }
}

// The ADAT start radios' Tags (0 stands for all devices autonomous).
constexpr std::int32_t kAdatAllSynchronous = 1;
constexpr std::int32_t kAdatSyncBus = 2;

}  // namespace

void TdlgCfg::BindClockPageHandlers() {
  BindHandler("chkMasterClick", &TdlgCfg::chkMasterClick);
  for (const char* name :
       {"chkSyncBusClock_Clock1Click", "chkSyncBusClock_Clock2Click", "chkSyncBusClock_DINPClick"})
    Handlers().Add(name, NotifyEvent([this](Component* sender) { SyncBusClockClick(sender); }));
  BindHandler("chkSyncToADATClick", &TdlgCfg::chkSyncToADATClick);
  BindHandler("edDefaultRate1Exit", &TdlgCfg::edDefaultRate1Exit);
  BindHandler("eddefaultRate2Exit", &TdlgCfg::eddefaultRate2Exit);
  BindHandler("edDefaultRate1Change", &TdlgCfg::edDefaultRate1Change);
  BindHandler("edDefaultRate2Change", &TdlgCfg::edDefaultRate2Change);

  // Device clock radios: which fields each group's radios write.
  const std::vector<std::pair<std::vector<const char*>, std::vector<F>>> clocks = {
      {{"btnAnaOutClock1Click", "btnAnaOutClock2Click", "btnAnaOutDRECClick", "btnAnaOutSyncBusClick"},
       {F::AnalogOutClockSource, F::AnalogInClockSource}},
      {{"btnDigOutClock1Click", "btnDigOutClock2Click", "btnDigOutDRecClick", "btnDigOutSyncBusClick"},
       {F::DigitalOutClockSource}},
      {{"btnAdatOutClock1Click", "btnAdatOutClock2Click", "btnAdatOutSyncBusClick"},
       {F::AdatOutClockSource}},
  };
  for (const auto& group : clocks) {
    const std::vector<F> written = group.second;
    for (const char* name : group.first)
      Handlers().Add(name, NotifyEvent([this, written](Component* sender) {
                       EnableApply();
                       for (F field : written) working_.Set(field, sender->Tag());
                       DigitalInputRule();
                     }));
  }

  BindHandler("chkAnaOut_AutonomClick", &TdlgCfg::chkAnaOut_AutonomClick);
  BindHandler("chkAnaOut_SyncBusClick", &TdlgCfg::chkAnaOut_SyncBusClick);
  BindHandler("chkDigOut_AutonomClick", &TdlgCfg::chkDigOut_AutonomClick);
  BindHandler("chkDigOut_SyncBusClick", &TdlgCfg::chkDigOut_SyncBusClick);
  BindHandler("chkDigInp_AutonomClick", &TdlgCfg::chkDigInp_AutonomClick);
  BindHandler("chkDigInp_SyncBusClick", &TdlgCfg::chkDigInp_SyncBusClick);
  for (const char* name :
       {"chkAdatOut_AllAutonomClick", "chkAdatOut_AllSynchronClick", "chkAdatOut_SyncBusClick"})
    Handlers().Add(name, NotifyEvent([this](Component* sender) { AdatStartClick(sender, true); }));
  for (const char* name :
       {"chkAdatInp_AllAutonomClick", "chkAdatInp_AllSynchronClick", "chkAdatInp_SyncBusClick"})
    Handlers().Add(name, NotifyEvent([this](Component* sender) { AdatStartClick(sender, false); }));

  BindField("chkMaster", chkMaster);
  BindField("pnSyncBus", pnSyncBus);
  BindField("chkSyncBusClock_Clock1", chkSyncBusClock_Clock1);
  BindField("chkSyncBusClock_Clock2", chkSyncBusClock_Clock2);
  BindField("chkSyncBusClock_DINP", chkSyncBusClock_DINP);
  BindField("edDefaultRate1", edDefaultRate1);
  BindField("edDefaultRate2", edDefaultRate2);
  BindField("chkSyncToAdat", chkSyncToAdat);
  BindField("pnAnaPlay", pnAnaPlay);
  BindField("pnDigPlay", pnDigPlay);
  BindField("pnDigRec", pnDigRec);
  BindField("pnAdatPlay", pnAdatPlay);
  BindField("pnAdatRec", pnAdatRec);
  BindField("pnAnaPlayClock", pnAnaPlayClock);
  BindField("pnDigPlayClock", pnDigPlayClock);
  BindField("pnAdatPlayClock", pnAdatPlayClock);
  BindField("btnAnaOutClock1", btnAnaOutClock1);
  BindField("btnAnaOutClock2", btnAnaOutClock2);
  BindField("btnAnaOutDREC", btnAnaOutDREC);
  BindField("btnAnaOutSyncBus", btnAnaOutSyncBus);
  BindField("btnDigOutClock1", btnDigOutClock1);
  BindField("btnDigOutClock2", btnDigOutClock2);
  BindField("btnDigOutDRec", btnDigOutDRec);
  BindField("btnDigOutSyncBus", btnDigOutSyncBus);
  BindField("btnAdatOutClock1", btnAdatOutClock1);
  BindField("btnAdatOutClock2", btnAdatOutClock2);
  BindField("btnAdatOutSyncBus", btnAdatOutSyncBus);
  BindField("chkAnaOut_Autonom", chkAnaOut_Autonom);
  BindField("chkAnaOut_SyncBus", chkAnaOut_SyncBus);
  BindField("chkAnaInp_Autonom", chkAnaInp_Autonom);
  BindField("chkAnaInp_SyncBus", chkAnaInp_SyncBus);
  BindField("chkDigOut_Autonom", chkDigOut_Autonom);
  BindField("chkDigOut_SyncBus", chkDigOut_SyncBus);
  BindField("chkDigInp_Autonom", chkDigInp_Autonom);
  BindField("chkDigInp_SyncBus", chkDigInp_SyncBus);
  BindField("chkAdatOut_AllAutonom", chkAdatOut_AllAutonom);
  BindField("chkAdatOut_AllSynchron", chkAdatOut_AllSynchron);
  BindField("chkAdatOut_SyncBus", chkAdatOut_SyncBus);
  BindField("chkAdatInp_AllAutonom", chkAdatInp_AllAutonom);
  BindField("chkAdatInp_AllSynchron", chkAdatInp_AllSynchron);
  BindField("chkAdatInp_SyncBus", chkAdatInp_SyncBus);
}

// --- loading -------------------------------------------------------------------------

void TdlgCfg::LoadClockPages() {
  chkSyncToAdat->SetChecked(working_.Flag(F::SyncClock2ToAdat));
  edDefaultRate1->SetText(std::to_string(working_.Get(F::DefaultRateClock1)));
  edDefaultRate2->SetText(std::to_string(working_.Get(F::DefaultRateClock2)));
  chkMaster->SetChecked(working_.Flag(F::IsMaster));
  CheckRadioOfValue(*pnSyncBus, working_.Get(F::SyncBusClockSource));
  CheckRadioOfValue(*pnAnaPlayClock, working_.Get(F::AnalogOutClockSource));
  CheckRadioOfValue(*pnDigPlayClock, working_.Get(F::DigitalOutClockSource));
  CheckRadioOfValue(*pnAdatPlayClock, working_.Get(F::AdatOutClockSource));
  if (working_.Flag(F::AnalogOutSyncBusStart)) chkAnaOut_SyncBus->SetChecked(true);
  if (working_.Flag(F::DigitalOutSyncBusStart)) chkDigOut_SyncBus->SetChecked(true);
  if (working_.Flag(F::DigitalInSyncBusStart)) chkDigInp_SyncBus->SetChecked(true);
  // ADAT: SyncBus when both fields are true, all autonomous when both are
  // false; otherwise the designed "all synchronous" stays.
  const auto loadAdat = [](bool syncBus, bool allSynchronous, TRadioButton& syncBusButton,
                           TRadioButton& autonomButton) {
    if (syncBus && allSynchronous) syncBusButton.SetChecked(true);
    else if (!syncBus && !allSynchronous) autonomButton.SetChecked(true);
  };
  loadAdat(working_.Flag(F::AdatOutSyncBusStart), working_.Flag(F::AdatOutAllSynchronous),
           *chkAdatOut_SyncBus, *chkAdatOut_AllAutonom);
  loadAdat(working_.Flag(F::AdatInSyncBusStart), working_.Flag(F::AdatInAllSynchronous),
           *chkAdatInp_SyncBus, *chkAdatInp_AllAutonom);
}

// --- Clock page ----------------------------------------------------------------------

void TdlgCfg::chkMasterClick(Component*) {
  EnableApply();
  const bool master = chkMaster->Checked();
  working_.SetFlag(F::IsMaster, master);
  ApplyEnablingRules();
}

void TdlgCfg::SyncBusClockClick(Component* sender) {
  EnableApply();
  working_.Set(F::SyncBusClockSource, sender->Tag());
  DigitalInputRule();
}

void TdlgCfg::chkSyncToADATClick(Component*) {
  EnableApply();
  const bool sync = chkSyncToAdat->Checked();
  working_.SetFlag(F::SyncClock2ToAdat, sync);
  // Clock 2 follows the ADAT input: nothing can run on the digital input.
  if (sync && chkSyncBusClock_DINP->Checked()) chkSyncBusClock_Clock1->SetChecked(true);
  ApplyEnablingRules();
}

void TdlgCfg::edDefaultRate1Exit(Component*) { ValidateRateEdit(*edDefaultRate1, F::DefaultRateClock1); }

void TdlgCfg::eddefaultRate2Exit(Component*) { ValidateRateEdit(*edDefaultRate2, F::DefaultRateClock2); }

void TdlgCfg::edDefaultRate1Change(Component*) { RateEditChanged(*edDefaultRate1); }

void TdlgCfg::edDefaultRate2Change(Component*) { RateEditChanged(*edDefaultRate2); }

void TdlgCfg::ValidateRateEdit(TEdit& edit, ConfigField field) {
  const std::optional<std::int32_t> rate = RateFromText(edit.Text());
  const bool accepted =
      rate && (field == F::DefaultRateClock1 ? IsClock1Rate(*rate) : IsClock2Rate(*rate));
  if (accepted) {
    EnableApply();
    working_.Set(field, *rate);
    return;
  }
  if (UserApi* user = CurrentPlatform().user) user->MessageBeep(1);
  rateEditInvalid_ = true;
  edit.SetColor(clRed);
  // Bring the edit's page forward so the user sees what is wrong, then give
  // the focus back to the edit.
  if (pgConfig->ActivePage() != tabClockSrc && pgConfig->Enabled()) pgConfig->SetActivePage(tabClockSrc);
  if (edit.CanFocus()) edit.SetFocus();
}

void TdlgCfg::RateEditChanged(TEdit& edit) {
  edit.SetColor(clWindow);
  rateEditInvalid_ = false;
}

// --- Geräte page ----------------------------------------------------------------------

void TdlgCfg::PlaybackStartAutonom(ConfigField outSyncBus, ConfigField bothOnSyncBus) {
  EnableApply();
  working_.SetFlag(outSyncBus, false);
  working_.SetFlag(bothOnSyncBus, false);
  ApplyEnablingRules();  // the group's Clock 1 and Clock 2 come back
}

void TdlgCfg::PlaybackStartSyncBus(TRadioButton& syncBusClock, ConfigField outSyncBus,
                                   ConfigField inSyncBus, ConfigField bothOnSyncBus) {
  EnableApply();
  syncBusClock.SetChecked(true);
  working_.SetFlag(outSyncBus, true);
  working_.SetFlag(bothOnSyncBus, working_.Flag(inSyncBus));
  ApplyEnablingRules();  // the group's Clock 1 and Clock 2 go grey
}

void TdlgCfg::chkAnaOut_AutonomClick(Component*) {
  PlaybackStartAutonom(F::AnalogOutSyncBusStart, F::AnalogBothOnSyncBus);
}

void TdlgCfg::chkAnaOut_SyncBusClick(Component*) {
  PlaybackStartSyncBus(*btnAnaOutSyncBus, F::AnalogOutSyncBusStart, F::AnalogInSyncBusStart,
                       F::AnalogBothOnSyncBus);
}

void TdlgCfg::chkDigOut_AutonomClick(Component*) {
  PlaybackStartAutonom(F::DigitalOutSyncBusStart, F::DigitalBothOnSyncBus);
}

void TdlgCfg::chkDigOut_SyncBusClick(Component*) {
  PlaybackStartSyncBus(*btnDigOutSyncBus, F::DigitalOutSyncBusStart, F::DigitalInSyncBusStart,
                       F::DigitalBothOnSyncBus);
}

void TdlgCfg::chkDigInp_AutonomClick(Component*) {
  EnableApply();
  working_.SetFlag(F::DigitalInSyncBusStart, false);
  working_.SetFlag(F::DigitalBothOnSyncBus, false);
}

void TdlgCfg::chkDigInp_SyncBusClick(Component*) {
  EnableApply();
  working_.SetFlag(F::DigitalInSyncBusStart, true);
  working_.SetFlag(F::DigitalBothOnSyncBus, working_.Flag(F::DigitalOutSyncBusStart));
}

void TdlgCfg::AdatStartClick(Component* sender, bool playback) {
  EnableApply();
  const std::int32_t mode = sender->Tag();
  const F syncBus = playback ? F::AdatOutSyncBusStart : F::AdatInSyncBusStart;
  const F allSynchronous = playback ? F::AdatOutAllSynchronous : F::AdatInAllSynchronous;
  const F otherSyncBus = playback ? F::AdatInSyncBusStart : F::AdatOutSyncBusStart;
  if (playback && mode == kAdatSyncBus) btnAdatOutSyncBus->SetChecked(true);
  working_.SetFlag(syncBus, mode == kAdatSyncBus);
  working_.SetFlag(allSynchronous, mode == kAdatSyncBus || mode == kAdatAllSynchronous);
  working_.SetFlag(F::AdatBothOnSyncBus, mode == kAdatSyncBus && working_.Flag(otherSyncBus));
  ApplyEnablingRules();  // the ADAT playback's Clock 1 and Clock 2 follow the SyncBus start
}

void TdlgCfg::DigitalInputRule() { ApplyEnablingRules(); }

void TdlgCfg::ApplyEnablingRules() {
  const bool master = chkMaster->Checked();
  const bool adatSync = chkSyncToAdat->Checked();
  // Rule 1 (and 3): the SyncBus clocks of a master; not the digital input
  // while Clock 2 follows the ADAT input.
  chkSyncBusClock_Clock1->SetEnabled(master);
  chkSyncBusClock_Clock2->SetEnabled(master);
  chkSyncBusClock_DINP->SetEnabled(master && !adatSync);
  // Rule 9: a clock from the digital input rules out ADAT sync and ADAT.
  const bool digitalInputClock = btnAnaOutDREC->Checked() || btnDigOutDRec->Checked() ||
                                 chkSyncBusClock_DINP->Checked();
  chkSyncToAdat->SetEnabled(!digitalInputClock);
  SetControlsInsideEnabled(*pnAdatPlay, !digitalInputClock);
  SetControlsInsideEnabled(*pnAdatRec, !digitalInputClock);
  // Rule 3: with ADAT sync nothing runs on the digital input.
  SetControlsInsideEnabled(*pnDigPlay, !adatSync);
  SetControlsInsideEnabled(*pnDigRec, !adatSync);
  btnAnaOutDREC->SetEnabled(!adatSync);
  // Rules 6 and 8: a group started with the SyncBus is clocked by it.
  const auto clocksFree = [](TRadioButton& syncBusStart) { return !syncBusStart.Checked(); };
  btnAnaOutClock1->SetEnabled(clocksFree(*chkAnaOut_SyncBus));
  btnAnaOutClock2->SetEnabled(clocksFree(*chkAnaOut_SyncBus));
  btnDigOutClock1->SetEnabled(!adatSync && clocksFree(*chkDigOut_SyncBus));
  btnDigOutClock2->SetEnabled(!adatSync && clocksFree(*chkDigOut_SyncBus));
  btnAdatOutClock1->SetEnabled(!digitalInputClock && clocksFree(*chkAdatOut_SyncBus));
  btnAdatOutClock2->SetEnabled(!digitalInputClock && clocksFree(*chkAdatOut_SyncBus));
}

}  // namespace zentra
