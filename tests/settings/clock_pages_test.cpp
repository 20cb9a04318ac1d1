// The "Clock" and "Geräte" pages: what each control writes, the rules that
// enable and disable controls across both pages, loading of stored codes,
// and the validation of the two default-rate edits.
#include <gtest/gtest.h>

#include "settings/settings_rig.h"

namespace zentra::testing {
namespace {

// A dialog on card 0 of a record prepared by `prepare` (from the driver's defaults).
class ClockPagesTest : public ::testing::Test {
 protected:
  TdlgCfg& Open(const std::function<void(ConfigRecordBytes&)>& prepare = {}) {
    dialog = &s.OpenOn(prepare);
    return *dialog;
  }
  std::int32_t Field(ConfigField field) const { return dialog->WorkingCopy().Get(field); }
  // Every control inside a container, through nested panels.
  static std::vector<Control*> Inside(Control& container) {
    std::vector<Control*> all;
    for (Control* c : container.Children()) {
      all.push_back(c);
      if (c->AcceptsChildren())
        for (Control* d : Inside(*c)) all.push_back(d);
    }
    return all;
  }
  static bool AllEnabled(Control& container, bool enabled) {
    for (Control* c : Inside(container))
      if (c->Enabled() != enabled) return false;
    return !Inside(container).empty();
  }

  SettingsRig s{2};
  TdlgCfg* dialog = nullptr;
};

// --- rule 1: master ------------------------------------------------------------------

TEST_F(ClockPagesTest, MasterEnablesTheSyncBusClocksAndTheDigitalInputOnlyWithoutAdatSync) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) { SetField(r, 0, F::IsMaster, 0); });
  EXPECT_FALSE(d.chkMaster->Checked());
  for (TRadioButton* radio : {d.chkSyncBusClock_Clock1, d.chkSyncBusClock_Clock2, d.chkSyncBusClock_DINP})
    EXPECT_FALSE(radio->Enabled()) << radio->Name();

  s.ui.Click(*d.chkMaster);
  EXPECT_EQ(Field(F::IsMaster), -1);
  EXPECT_TRUE(d.chkSyncBusClock_Clock1->Enabled());
  EXPECT_TRUE(d.chkSyncBusClock_Clock2->Enabled());
  EXPECT_TRUE(d.chkSyncBusClock_DINP->Enabled());
  EXPECT_TRUE(d.chkSyncBusClock_Clock1->Checked()) << "the checked SyncBus clock is kept";

  s.ui.Click(*d.chkSyncToAdat);
  s.ui.Click(*d.chkMaster);
  EXPECT_EQ(Field(F::IsMaster), 0);
  EXPECT_FALSE(d.chkSyncBusClock_Clock1->Enabled());
  s.ui.Click(*d.chkMaster);
  EXPECT_TRUE(d.chkSyncBusClock_Clock2->Enabled());
  EXPECT_FALSE(d.chkSyncBusClock_DINP->Enabled()) << "Clock 2 follows ADAT";
}

// --- rule 2: SyncBus clock -------------------------------------------------------------

TEST_F(ClockPagesTest, SyncBusClockRadiosWriteTheirCodeAndTheDigitalInputGreysOutAdat) {
  TdlgCfg& d = Open();
  s.ui.Click(*d.chkSyncBusClock_Clock2);
  EXPECT_EQ(Field(F::SyncBusClockSource), 1);
  EXPECT_TRUE(d.chkSyncToAdat->Enabled());
  s.ui.Click(*d.chkSyncBusClock_DINP);
  EXPECT_EQ(Field(F::SyncBusClockSource), 2);
  EXPECT_FALSE(d.chkSyncToAdat->Enabled());
  EXPECT_TRUE(AllEnabled(*d.pnAdatPlay, false));
  EXPECT_TRUE(AllEnabled(*d.pnAdatRec, false));
  s.ui.Click(*d.chkSyncBusClock_Clock1);
  EXPECT_EQ(Field(F::SyncBusClockSource), 0);
  EXPECT_TRUE(d.chkSyncToAdat->Enabled());
  EXPECT_TRUE(AllEnabled(*d.pnAdatPlay, true));
}

// --- rule 3: Sync to ADAT ----------------------------------------------------------------

TEST_F(ClockPagesTest, SyncToAdatGreysOutTheDigitalPanelsAndTheAnalogDigitalInputClock) {
  TdlgCfg& d = Open();
  s.ui.Click(*d.chkSyncToAdat);
  EXPECT_EQ(Field(F::SyncClock2ToAdat), -1);
  EXPECT_TRUE(AllEnabled(*d.pnDigPlay, false));
  EXPECT_TRUE(AllEnabled(*d.pnDigRec, false));
  EXPECT_FALSE(d.btnAnaOutDREC->Enabled());
  EXPECT_FALSE(d.chkSyncBusClock_DINP->Enabled());
  s.ui.Click(*d.chkSyncToAdat);
  EXPECT_EQ(Field(F::SyncClock2ToAdat), 0);
  EXPECT_TRUE(AllEnabled(*d.pnDigPlay, true));
  EXPECT_TRUE(AllEnabled(*d.pnDigRec, true));
  EXPECT_TRUE(d.btnAnaOutDREC->Enabled());
  EXPECT_TRUE(d.chkSyncBusClock_DINP->Enabled());
}

TEST_F(ClockPagesTest, SyncToAdatMovesTheSyncBusClockOffTheDigitalInput) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) { SetField(r, 0, F::SyncBusClockSource, 2); });
  ASSERT_TRUE(d.chkSyncBusClock_DINP->Checked());
  // The box is greyed out by the digital-input clock; its handling runs when
  // its state is set, as loading does.
  d.chkSyncToAdat->SetChecked(true);
  EXPECT_TRUE(d.chkSyncBusClock_Clock1->Checked());
  EXPECT_EQ(Field(F::SyncBusClockSource), 0);
  EXPECT_EQ(Field(F::SyncClock2ToAdat), -1);
  EXPECT_FALSE(d.chkSyncBusClock_DINP->Enabled());
  EXPECT_TRUE(AllEnabled(*d.pnDigPlay, false));
}

TEST_F(ClockPagesTest, InconsistentStoredValuesAreShownAsStored) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) {
    SetField(r, 0, F::SyncBusClockSource, 2);
    SetField(r, 0, F::SyncClock2ToAdat, 1);
  });
  EXPECT_TRUE(d.chkSyncBusClock_DINP->Checked());
  EXPECT_TRUE(d.chkSyncToAdat->Checked());
  EXPECT_FALSE(d.chkSyncToAdat->Enabled()) << "greyed out, but keeps its state";
  EXPECT_EQ(Field(F::SyncClock2ToAdat), -1) << "normalised";
}

// --- rules 5 and 9: device clocks ------------------------------------------------------------

TEST_F(ClockPagesTest, DigitalInputClockOfAPlaybackGroupGreysOutSyncToAdatAndBothAdatPanels) {
  TdlgCfg& d = Open();
  s.Page(d, kDevicesPage);
  for (TRadioButton* dinput : {d.btnAnaOutDREC, d.btnDigOutDRec}) {
    s.ui.Click(*dinput);
    EXPECT_FALSE(d.chkSyncToAdat->Enabled()) << dinput->Name();
    EXPECT_TRUE(AllEnabled(*d.pnAdatPlay, false)) << dinput->Name();
    EXPECT_TRUE(AllEnabled(*d.pnAdatRec, false)) << dinput->Name();
    TRadioButton* other = dinput == d.btnAnaOutDREC ? d.btnAnaOutClock2 : d.btnDigOutClock2;
    s.ui.Click(*other);
    EXPECT_TRUE(d.chkSyncToAdat->Enabled()) << other->Name();
    EXPECT_TRUE(AllEnabled(*d.pnAdatPlay, true)) << other->Name();
    EXPECT_TRUE(AllEnabled(*d.pnAdatRec, true)) << other->Name();
  }
}

TEST_F(ClockPagesTest, DeviceClockRadiosWriteTheirFields) {
  TdlgCfg& d = Open();
  s.Page(d, kDevicesPage);
  s.ui.Click(*d.btnAnaOutDREC);
  EXPECT_EQ(Field(F::AnalogOutClockSource), 2);
  EXPECT_EQ(Field(F::AnalogInClockSource), 2) << "analog record is clocked like analog playback";
  s.ui.Click(*d.btnAnaOutSyncBus);
  EXPECT_EQ(Field(F::AnalogOutClockSource), 3);
  EXPECT_EQ(Field(F::AnalogInClockSource), 3);
  s.ui.Click(*d.btnDigOutClock2);
  EXPECT_EQ(Field(F::DigitalOutClockSource), 1);
  s.ui.Click(*d.btnAdatOutSyncBus);
  EXPECT_EQ(Field(F::AdatOutClockSource), 3);
  s.ui.Click(*d.btnAdatOutClock2);
  EXPECT_EQ(Field(F::AdatOutClockSource), 1);
}

// --- rules 6 and 7: analog and digital start ----------------------------------------------

TEST_F(ClockPagesTest, SyncBusStartSelectsTheSyncBusClockAndAutonomReleasesTheClocks) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) { SetField(r, 0, F::AnalogInSyncBusStart, -1); });
  s.Page(d, kDevicesPage);
  s.ui.Click(*d.chkAnaOut_SyncBus);
  EXPECT_TRUE(d.btnAnaOutSyncBus->Checked());
  EXPECT_FALSE(d.btnAnaOutClock1->Enabled());
  EXPECT_FALSE(d.btnAnaOutClock2->Enabled());
  EXPECT_TRUE(d.btnAnaOutDREC->Enabled()) << "the digital input clock keeps its state";
  EXPECT_EQ(Field(F::AnalogOutSyncBusStart), -1);
  EXPECT_EQ(Field(F::AnalogOutClockSource), 3);
  EXPECT_EQ(Field(F::AnalogBothOnSyncBus), -1) << "analog record starts on the SyncBus too";

  s.ui.Click(*d.chkAnaOut_Autonom);
  EXPECT_TRUE(d.btnAnaOutClock1->Enabled());
  EXPECT_TRUE(d.btnAnaOutClock2->Enabled());
  EXPECT_TRUE(d.btnAnaOutSyncBus->Checked()) << "the clock is not changed";
  EXPECT_EQ(Field(F::AnalogOutSyncBusStart), 0);
  EXPECT_EQ(Field(F::AnalogBothOnSyncBus), 0);
  EXPECT_EQ(Field(F::AnalogInSyncBusStart), -1) << "read only";
}

// The rules apply as a whole: a control one rule greys stays grey while
// its cause holds, whatever another rule's control does afterwards.
TEST_F(ClockPagesTest, TheAdatSyncBusStartKeepsItsClocksGreyWhateverClockIsChosenElsewhere) {
  TdlgCfg& d = Open();
  s.Page(d, kDevicesPage);
  s.ui.Click(*d.chkAdatOut_SyncBus);
  ASSERT_FALSE(d.btnAdatOutClock1->Enabled());
  for (TRadioButton* clock : {d.btnAnaOutClock2, d.btnAnaOutClock1, d.btnDigOutClock2, d.btnAnaOutDREC,
                              d.btnAnaOutClock1}) {
    s.ui.Click(*clock);
    EXPECT_FALSE(d.btnAdatOutClock1->Enabled()) << "after " << clock->Name();
    EXPECT_FALSE(d.btnAdatOutClock2->Enabled()) << "after " << clock->Name();
  }
  EXPECT_EQ(Field(F::AdatOutSyncBusStart), -1);
  EXPECT_EQ(Field(F::AdatOutClockSource), 3);
  // The start chosen again lets them go.
  s.ui.Click(*d.chkAdatOut_AllSynchron);
  EXPECT_TRUE(d.btnAdatOutClock1->Enabled());
  EXPECT_TRUE(d.btnAdatOutClock2->Enabled());
}

TEST_F(ClockPagesTest, TheDigitalSyncBusStartKeepsItsClocksGreyAcrossSyncToAdatOnAndOff) {
  TdlgCfg& d = Open();
  s.Page(d, kDevicesPage);
  s.ui.Click(*d.chkDigOut_SyncBus);
  ASSERT_FALSE(d.btnDigOutClock1->Enabled());
  s.Page(d, kClockPage);
  s.ui.Click(*d.chkSyncToAdat);
  EXPECT_TRUE(AllEnabled(*d.pnDigPlay, false));
  s.ui.Click(*d.chkSyncToAdat);
  EXPECT_FALSE(d.btnDigOutClock1->Enabled());
  EXPECT_FALSE(d.btnDigOutClock2->Enabled());
  EXPECT_TRUE(d.btnDigOutSyncBus->Enabled());
  EXPECT_TRUE(d.btnDigOutDRec->Enabled());
  EXPECT_TRUE(d.chkDigOut_Autonom->Enabled());
  EXPECT_EQ(Field(F::DigitalOutSyncBusStart), -1);
  EXPECT_EQ(Field(F::DigitalOutClockSource), 3);
}

// Whatever the user clicks, in any order, the working copy never holds a
// combination the pages forbid.
TEST_F(ClockPagesTest, NoSequenceOfClicksMakesARecordThePagesForbid) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) { SetField(r, 0, F::IsMaster, -1); });
  std::vector<std::pair<Control*, int>> controls;
  for (int page : {kClockPage, kDevicesPage})
    for (Control* c : Inside(page == kClockPage ? *static_cast<Control*>(d.tabClockSrc)
                                               : *static_cast<Control*>(d.tabDevices)))
      if (dynamic_cast<TRadioButton*>(c) != nullptr || dynamic_cast<TCheckBox*>(c) != nullptr)
        controls.emplace_back(c, page);
  ASSERT_GE(controls.size(), 30u);
  std::uint32_t clickState = 2166136261u;
  int clicks = 0;
  for (int step = 0; step < 4000; ++step) {
    clickState = clickState * 1664525u + 1013904223u;
    auto [control, page] = controls[(clickState >> 8) % controls.size()];
    bool reachable = true;
    for (const Control* c = control; c != nullptr; c = c->Parent()) reachable = reachable && c->Enabled();
    if (!reachable) continue;
    s.Page(d, page);
    s.ui.Click(*control);
    ++clicks;
    const std::string after = "after click " + std::to_string(clicks) + " on " + control->Name();
    const bool adatSync = Field(F::SyncClock2ToAdat) != 0;
    // A group started with the SyncBus is clocked by it (or keeps the
    // digital input, which the SyncBus start leaves alone).
    if (Field(F::AnalogOutSyncBusStart) != 0) {
      ASSERT_GE(Field(F::AnalogOutClockSource), 2) << after;
    }
    if (Field(F::DigitalOutSyncBusStart) != 0) {
      ASSERT_GE(Field(F::DigitalOutClockSource), 2) << after;
    }
    if (Field(F::AdatOutSyncBusStart) != 0) {
      ASSERT_EQ(Field(F::AdatOutClockSource), 3) << after;
    }
    if (adatSync) {
      ASSERT_NE(Field(F::AnalogOutClockSource), 2) << after;
      ASSERT_NE(Field(F::DigitalOutClockSource), 2) << after;
      ASSERT_NE(Field(F::SyncBusClockSource), 2) << after;
    }
  }
  EXPECT_GT(clicks, 1000);
}

TEST_F(ClockPagesTest, DigitalStartsDeriveBothOnSyncBusFromTheOtherSide) {
  TdlgCfg& d = Open();
  s.Page(d, kDevicesPage);
  s.ui.Click(*d.chkDigOut_SyncBus);
  EXPECT_TRUE(d.btnDigOutSyncBus->Checked());
  EXPECT_FALSE(d.btnDigOutClock1->Enabled());
  EXPECT_EQ(Field(F::DigitalOutSyncBusStart), -1);
  EXPECT_EQ(Field(F::DigitalBothOnSyncBus), 0) << "digital record is still autonomous";
  s.ui.Click(*d.chkDigInp_SyncBus);
  EXPECT_EQ(Field(F::DigitalInSyncBusStart), -1);
  EXPECT_EQ(Field(F::DigitalBothOnSyncBus), -1);
  s.ui.Click(*d.chkDigInp_Autonom);
  EXPECT_EQ(Field(F::DigitalInSyncBusStart), 0);
  EXPECT_EQ(Field(F::DigitalBothOnSyncBus), 0);
  s.ui.Click(*d.chkDigOut_Autonom);
  EXPECT_TRUE(d.btnDigOutClock1->Enabled());
  EXPECT_EQ(Field(F::DigitalOutSyncBusStart), 0);
}

TEST_F(ClockPagesTest, AnalogRecordStartButtonsWriteNothing) {
  TdlgCfg& d = Open();
  s.Page(d, kDevicesPage);
  const CardConfigBlock before = d.WorkingCopy();
  s.ui.Click(*d.chkAnaInp_SyncBus);
  EXPECT_EQ(d.WorkingCopy().Raw(), before.Raw());
}

// --- rule 8: ADAT start -----------------------------------------------------------------------

TEST_F(ClockPagesTest, AdatStartButtonsFollowTheTable) {
  TdlgCfg& d = Open();
  s.Page(d, kDevicesPage);
  struct Row {
    TRadioButton* button;
    std::int32_t syncBus, allSynchronous, both;
  };
  // Playback while record is autonomous: "both" stays false.
  for (const Row& row : {Row{d.chkAdatOut_AllSynchron, 0, -1, 0}, Row{d.chkAdatOut_SyncBus, -1, -1, 0},
                         Row{d.chkAdatOut_AllAutonom, 0, 0, 0}}) {
    s.ui.Click(*row.button);
    EXPECT_EQ(Field(F::AdatOutSyncBusStart), row.syncBus) << row.button->Name();
    EXPECT_EQ(Field(F::AdatOutAllSynchronous), row.allSynchronous) << row.button->Name();
    EXPECT_EQ(Field(F::AdatBothOnSyncBus), row.both) << row.button->Name();
  }
  // Record on the SyncBus, then playback on it too: both.
  s.ui.Click(*d.chkAdatInp_SyncBus);
  EXPECT_EQ(Field(F::AdatInSyncBusStart), -1);
  EXPECT_EQ(Field(F::AdatInAllSynchronous), -1);
  EXPECT_EQ(Field(F::AdatBothOnSyncBus), 0);
  s.ui.Click(*d.chkAdatOut_SyncBus);
  EXPECT_EQ(Field(F::AdatBothOnSyncBus), -1);
  EXPECT_TRUE(d.btnAdatOutSyncBus->Checked());
  EXPECT_EQ(Field(F::AdatOutClockSource), 3);
  EXPECT_FALSE(d.btnAdatOutClock1->Enabled());
  EXPECT_FALSE(d.btnAdatOutClock2->Enabled());
  s.ui.Click(*d.chkAdatInp_AllSynchron);
  EXPECT_EQ(Field(F::AdatInSyncBusStart), 0);
  EXPECT_EQ(Field(F::AdatInAllSynchronous), -1);
  EXPECT_EQ(Field(F::AdatBothOnSyncBus), 0);
  s.ui.Click(*d.chkAdatOut_AllSynchron);
  EXPECT_TRUE(d.btnAdatOutClock1->Enabled());
  EXPECT_TRUE(d.btnAdatOutClock2->Enabled());
}

// --- loading ------------------------------------------------------------------------------------

TEST_F(ClockPagesTest, LoadingChecksTheStoredChoices) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) {
    SetField(r, 0, F::SyncBusClockSource, 1);
    SetField(r, 0, F::AnalogOutClockSource, 1);
    SetField(r, 0, F::DigitalOutClockSource, 3);
    SetField(r, 0, F::AdatOutClockSource, 3);
    SetField(r, 0, F::DigitalOutSyncBusStart, 5);
    SetField(r, 0, F::DigitalInSyncBusStart, -1);
    SetField(r, 0, F::AdatOutSyncBusStart, -1);
    SetField(r, 0, F::AdatOutAllSynchronous, -1);
    SetField(r, 0, F::AdatInSyncBusStart, -1);  // with AllSynchronous false: the design choice
    SetField(r, 0, F::DefaultRateClock2, 77777);
  });
  EXPECT_TRUE(d.chkSyncBusClock_Clock2->Checked());
  EXPECT_TRUE(d.btnAnaOutClock2->Checked());
  EXPECT_TRUE(d.btnDigOutSyncBus->Checked());
  EXPECT_TRUE(d.btnAdatOutSyncBus->Checked());
  EXPECT_TRUE(d.chkAnaOut_Autonom->Checked());
  EXPECT_TRUE(d.chkDigOut_SyncBus->Checked());
  EXPECT_EQ(Field(F::DigitalOutSyncBusStart), -1) << "written back in normal form";
  EXPECT_EQ(Field(F::DigitalBothOnSyncBus), -1) << "derived again";
  EXPECT_FALSE(d.btnDigOutClock1->Enabled());
  EXPECT_TRUE(d.chkDigInp_SyncBus->Checked());
  EXPECT_TRUE(d.chkAdatOut_SyncBus->Checked());
  EXPECT_TRUE(d.chkAdatInp_AllSynchron->Checked());
  EXPECT_EQ(d.edDefaultRate2->Text(), "77777");
}

TEST_F(ClockPagesTest, ClockCodesOutsideTheListLeaveTheirGroupsAlone) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) {
    for (F field : {F::SyncBusClockSource, F::AnalogOutClockSource, F::DigitalOutClockSource,
                    F::AdatOutClockSource})
      SetField(r, 0, field, 7);
    SetField(r, 0, F::AdatOutClockSource, 2);  // not offered for ADAT
  });
  for (Control* group : {static_cast<Control*>(d.pnSyncBus), static_cast<Control*>(d.pnAnaPlayClock),
                         static_cast<Control*>(d.pnDigPlayClock), static_cast<Control*>(d.pnAdatPlayClock)})
    for (Control* c : group->Children())
      if (auto* radio = dynamic_cast<TRadioButton*>(c)) {
        EXPECT_FALSE(radio->Checked()) << radio->Name();
      }
  EXPECT_EQ(Field(F::SyncBusClockSource), 7) << "kept as the driver gave it";
  EXPECT_EQ(Field(F::AdatOutClockSource), 2);
  // Applying it sends the codes back unchanged.
  s.ui.Click(*d.btnApply);
  EXPECT_EQ(FieldOf(s.LastSetConfig(), 0, F::AnalogOutClockSource), 7);
}

TEST_F(ClockPagesTest, EveryUserChangeEnablesApplyAgain) {
  TdlgCfg& d = Open();
  s.ui.Click(*d.btnApply);
  ASSERT_FALSE(d.btnApply->Enabled());
  s.ui.Click(*d.chkSyncBusClock_Clock2);
  EXPECT_TRUE(d.btnApply->Enabled());
  s.ui.Click(*d.btnApply);
  s.Page(d, kDevicesPage);
  s.ui.Click(*d.chkDigInp_SyncBus);
  EXPECT_TRUE(d.btnApply->Enabled());
}

// --- rule 4: default rates -------------------------------------------------------------------------

TEST_F(ClockPagesTest, Clock1RateRejects44000And8000AndAccepts32000) {
  TdlgCfg& d = Open();
  for (const char* rejected : {"44000", "8000"}) {
    const std::size_t beeps = s.rig.user().Beeps().size();
    s.ui.Type(*d.edDefaultRate1, rejected);
    s.ui.Focus(*d.edDefaultRate2);  // leaving the edit
    EXPECT_EQ(s.rig.user().Beeps().size(), beeps + 1) << rejected;
    EXPECT_EQ(s.rig.user().Beeps().back(), 1u);
    EXPECT_TRUE(d.RateEditInvalid()) << rejected;
    EXPECT_EQ(d.edDefaultRate1->GetColor(), clRed) << rejected;
    EXPECT_EQ(d.ActiveControl(), d.edDefaultRate1) << "the focus comes back";
    EXPECT_EQ(Field(F::DefaultRateClock1), 44100) << "the field keeps its value";
  }
  s.ui.Type(*d.edDefaultRate1, "32000");
  EXPECT_EQ(d.edDefaultRate1->GetColor(), clWindow) << "white again as soon as the text changes";
  EXPECT_FALSE(d.RateEditInvalid());
  s.ui.Leave(*d.edDefaultRate1);
  EXPECT_EQ(Field(F::DefaultRateClock1), 32000);
  EXPECT_EQ(d.edDefaultRate1->GetColor(), clWindow);
}

TEST_F(ClockPagesTest, Clock2RateAcceptsItsRangeInclusive) {
  TdlgCfg& d = Open();
  for (const auto& [text, accepted] : std::vector<std::pair<const char*, bool>>{
           {"29000", true}, {"105000", true}, {"28999", false}, {"105001", false}}) {
    s.ui.Type(*d.edDefaultRate2, text);
    s.ui.Leave(*d.edDefaultRate2);
    EXPECT_EQ(!d.RateEditInvalid(), accepted) << text;
    if (accepted) {
      EXPECT_EQ(Field(F::DefaultRateClock2), std::stoi(text)) << text;
    }
  }
  EXPECT_EQ(Field(F::DefaultRateClock2), 105000);
}

TEST_F(ClockPagesTest, RateTextsThatAreNoNumberAreRejectedWithoutHarm) {
  TdlgCfg& d = Open();
  for (const char* text : {"", "abc", " 48000", "48 000", "-48000", "+-1", "99999999999999999999",
                           "4294967296", "48000Hz"}) {
    s.ui.Type(*d.edDefaultRate1, text);
    s.ui.Leave(*d.edDefaultRate1);
    EXPECT_TRUE(d.RateEditInvalid()) << "'" << text << "'";
    EXPECT_EQ(Field(F::DefaultRateClock1), 44100) << "'" << text << "'";
  }
  s.ui.Type(*d.edDefaultRate1, "+48000");
  s.ui.Leave(*d.edDefaultRate1);
  EXPECT_EQ(Field(F::DefaultRateClock1), 48000);
}

TEST_F(ClockPagesTest, OneInvalidFlagServesBothEditsAndApplyChecksBothAgain) {
  TdlgCfg& d = Open();
  s.ui.Type(*d.edDefaultRate1, "1");
  s.ui.Leave(*d.edDefaultRate1);
  ASSERT_TRUE(d.RateEditInvalid());
  s.ui.Type(*d.edDefaultRate2, "50000");  // clears the shared flag
  EXPECT_FALSE(d.RateEditInvalid());
  EXPECT_EQ(d.edDefaultRate1->GetColor(), clRed) << "the other edit stays red";
  // Apply from another page: it validates both edits again, shows the
  // offending one and refuses.
  s.Page(d, kDsoundPage);
  s.ui.Click(*d.btnApply);
  EXPECT_TRUE(s.Commands().empty());
  EXPECT_TRUE(d.RateEditInvalid());
  EXPECT_EQ(d.pgConfig->ActivePage(), d.tabClockSrc);
  EXPECT_EQ(d.ActiveControl(), d.edDefaultRate1);
  EXPECT_EQ(Field(F::DefaultRateClock2), 50000) << "the valid edit was stored";
}

}  // namespace
}  // namespace zentra::testing
