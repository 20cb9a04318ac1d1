// The "DirectSound / GSIF" page: latency, cursor handling, the format and
// device restrictions, and the GSIF bars that reach the driver at once.
#include <gtest/gtest.h>

#include "settings/settings_rig.h"

namespace zentra::testing {
namespace {

class DsoundPageTest : public ::testing::Test {
 protected:
  TdlgCfg& Open(const std::function<void(ConfigRecordBytes&)>& prepare = {}) {
    dialog = &s.OpenOn(prepare);
    s.Page(*dialog, kDsoundPage);
    return *dialog;
  }
  std::int32_t Field(ConfigField field) const { return dialog->WorkingCopy().Get(field); }
  std::vector<sim::CallRecord> OnTheFly() const {
    std::vector<sim::CallRecord> out;
    for (const sim::CallRecord& r : s.Commands())
      if (r.command == "setconfig_onthefly") out.push_back(r);
    return out;
  }
  static std::vector<std::uint8_t> GsifBlock(std::int32_t kerning, std::int32_t preload) {
    const OnTheFlyBytes block = MakeOnTheFlyBlock(kerning, preload);
    return {block.begin(), block.end()};
  }

  SettingsRig s{2};
  TdlgCfg* dialog = nullptr;
};

// --- latency -------------------------------------------------------------------------

TEST_F(DsoundPageTest, AutomaticLatencyGreysOutTheBarAndKeepsItsPosition) {
  TdlgCfg& d = Open();
  EXPECT_TRUE(d.btnAutoLatency->Checked());
  EXPECT_FALSE(d.barLatency->Enabled());
  EXPECT_FALSE(d.lbMs->Enabled());
  EXPECT_FALSE(d.lbMsLabel->Enabled());
  EXPECT_FALSE(dynamic_cast<Control*>(d.FindComponent("lb100ms"))->Enabled());
  EXPECT_EQ(d.lbMs->Caption(), "60") << "the design position, also in automatic mode";

  s.ui.Click(*d.btnManLatency);
  EXPECT_TRUE(d.barLatency->Enabled());
  EXPECT_TRUE(dynamic_cast<Control*>(d.FindComponent("lb1ms"))->Enabled());
  EXPECT_EQ(Field(F::DsLatency), 60);
  s.ui.MoveTrackBar(*d.barLatency, 25);
  EXPECT_EQ(Field(F::DsLatency), 25);
  EXPECT_EQ(d.lbMs->Caption(), "25");
  s.ui.Click(*d.btnAutoLatency);
  EXPECT_EQ(Field(F::DsLatency), 0);
  EXPECT_FALSE(d.barLatency->Enabled());
  EXPECT_EQ(d.barLatency->Position(), 25);
  s.ui.Click(*d.btnManLatency);
  EXPECT_EQ(Field(F::DsLatency), 25) << "the kept position is stored again";
}

TEST(DsoundPage, StoredLatencyOutOfRangeShowsTheNearestAndManualMode) {
  for (const auto& [stored, shown] : std::vector<std::pair<std::int32_t, int>>{{150, 100}, {-5, 1}}) {
    SettingsRig fresh(1);
    TdlgCfg& d =
        fresh.OpenOn([stored = stored](ConfigRecordBytes& r) { SetField(r, 0, F::DsLatency, stored); });
    EXPECT_TRUE(d.btnManLatency->Checked()) << stored;
    EXPECT_EQ(d.barLatency->Position(), shown) << stored;
    EXPECT_EQ(d.lbMs->Caption(), std::to_string(shown)) << stored;
    fresh.ui.Click(*d.btnOk);
    EXPECT_EQ(FieldOf(fresh.LastSetConfig(), 0, F::DsLatency), shown) << stored;
  }
}

TEST_F(DsoundPageTest, OptimisedCursorWritesItsFlag) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) { SetField(r, 0, F::WriteIsPlayCursor, 3); });
  EXPECT_TRUE(d.chkWriteIsPlayCursor->Checked());
  EXPECT_EQ(Field(F::WriteIsPlayCursor), -1);
  s.ui.Click(*d.chkWriteIsPlayCursor);
  EXPECT_EQ(Field(F::WriteIsPlayCursor), 0);
}

// --- playback format -------------------------------------------------------------------

TEST_F(DsoundPageTest, UnrestrictedFormatOffers44100And16BitGreyedOut) {
  TdlgCfg& d = Open();
  EXPECT_FALSE(d.chkRestricted->Checked());
  EXPECT_EQ(d.boxRestrictedRate->Text(), "44100 Hz");
  EXPECT_EQ(d.boxRestrictedRes->Text(), "16 bit");
  EXPECT_FALSE(d.boxRestrictedRate->Enabled());
  EXPECT_FALSE(d.boxRestrictedRes->Enabled());
  EXPECT_FALSE(d.lbstereo->Enabled());
  s.ui.Click(*d.chkRestricted);
  EXPECT_TRUE(d.boxRestrictedRate->Enabled());
  EXPECT_TRUE(d.lbstereo->Enabled());
  EXPECT_EQ(Field(F::RestrictedRate), 44100);
  EXPECT_EQ(Field(F::RestrictedResolution), 2);
}

TEST_F(DsoundPageTest, ClearingTheRestrictionStoresZerosAndKeepsTheChoice) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) {
    SetField(r, 0, F::RestrictedRate, 48000);
    SetField(r, 0, F::RestrictedResolution, 1);
  });
  EXPECT_TRUE(d.chkRestricted->Checked());
  EXPECT_EQ(d.boxRestrictedRate->Text(), "48000 Hz");
  EXPECT_EQ(d.boxRestrictedRes->Text(), "8 bit");
  EXPECT_EQ(Field(F::RestrictedRate), 48000);
  EXPECT_EQ(Field(F::RestrictedResolution), 1);
  s.ui.Click(*d.chkRestricted);
  EXPECT_EQ(Field(F::RestrictedRate), 0);
  EXPECT_EQ(Field(F::RestrictedResolution), 0);
  EXPECT_EQ(d.boxRestrictedRate->Text(), "48000 Hz");
  s.ui.Click(*d.chkRestricted);
  EXPECT_EQ(Field(F::RestrictedRate), 48000);
  EXPECT_EQ(Field(F::RestrictedResolution), 1);
  s.ui.Choose(*d.boxRestrictedRate, "44100 Hz");
  s.ui.Choose(*d.boxRestrictedRes, "16 bit");
  EXPECT_EQ(Field(F::RestrictedRate), 44100);
  EXPECT_EQ(Field(F::RestrictedResolution), 2);
}

TEST_F(DsoundPageTest, UnknownStoredFormatValuesStayUntilTheUserChooses) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) {
    SetField(r, 0, F::RestrictedRate, 12345);
    SetField(r, 0, F::RestrictedResolution, 7);
  });
  EXPECT_TRUE(d.chkRestricted->Checked());
  EXPECT_EQ(d.boxRestrictedRate->ItemIndex(), -1);
  EXPECT_EQ(Field(F::RestrictedRate), 12345);
  EXPECT_EQ(Field(F::RestrictedResolution), 7);
  s.ui.Choose(*d.boxRestrictedRes, "8 bit");
  EXPECT_EQ(Field(F::RestrictedResolution), 1);
  EXPECT_EQ(Field(F::RestrictedRate), 12345);
}

// --- device restriction --------------------------------------------------------------------

TEST_F(DsoundPageTest, DeviceRestrictionWritesTheFlagAndThePair) {
  TdlgCfg& d = Open();
  EXPECT_FALSE(d.boxDevices->Enabled());
  EXPECT_EQ(d.boxDevices->ItemIndex(), 0) << "pair -1: no device";
  s.ui.Click(*d.chkRestrictedDev);
  EXPECT_TRUE(d.boxDevices->Enabled());
  EXPECT_EQ(Field(F::RestrictDevices), -1);
  s.ui.Choose(*d.boxDevices, "ADAT Playback 7-8");
  EXPECT_EQ(Field(F::RestrictedDevicePair), 5);
  s.ui.Choose(*d.boxDevices, "Kein Gerät verfügbar");
  EXPECT_EQ(Field(F::RestrictedDevicePair), -1) << "DirectSound is offered no device of this card";
  s.ui.Click(*d.chkRestrictedDev);
  EXPECT_FALSE(d.boxDevices->Enabled());
  EXPECT_EQ(Field(F::RestrictDevices), 0);
}

TEST_F(DsoundPageTest, StoredRestrictionIsLoaded) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) {
    SetField(r, 0, F::RestrictDevices, 1);
    SetField(r, 0, F::RestrictedDevicePair, 1);
  });
  EXPECT_TRUE(d.chkRestrictedDev->Checked());
  EXPECT_TRUE(d.boxDevices->Enabled());
  EXPECT_EQ(d.boxDevices->Text(), "Digital Playback ");
}

// --- GSIF ------------------------------------------------------------------------------------

TEST_F(DsoundPageTest, KerningUpPushesThePreloadAndSendsOneCommand) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) {
    SetField(r, 0, F::GsifKerning, 1);
    SetField(r, 0, F::GsifPreload, 4);
  });
  EXPECT_EQ(d.tckKerning->Position(), 1);
  EXPECT_EQ(d.tckPreload->Position(), 4);
  s.ui.Click(*d.btnApply);
  s.ClearLog();
  s.ui.MoveTrackBar(*d.tckKerning, 3);
  EXPECT_EQ(d.tckPreload->Position(), 5);
  EXPECT_TRUE(CallsAre(s.Commands(), {Cmd("setconfig_onthefly").Sent(GsifBlock(3, 5))}));
  EXPECT_EQ(s.rig.driver().configStore().OnTheFly()[40], 3);
  EXPECT_FALSE(d.btnApply->Enabled()) << "the GSIF bars do not wait for Apply";
  EXPECT_EQ(Field(F::GsifKerning), 1) << "the working copy takes them at Apply";
}

TEST_F(DsoundPageTest, PreloadDownToTwoForcesTheKerningToZero) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) {
    SetField(r, 0, F::GsifKerning, 3);
    SetField(r, 0, F::GsifPreload, 20);
  });
  s.ui.MoveTrackBar(*d.tckPreload, 2);
  EXPECT_EQ(d.tckKerning->Position(), 0);
  EXPECT_TRUE(CallsAre(s.Commands(), {Cmd("setconfig_onthefly").Sent(GsifBlock(0, 2))}));
  // A move that keeps the rule sends its own values only.
  s.ClearLog();
  s.ui.MoveTrackBar(*d.tckPreload, 30);
  EXPECT_EQ(d.tckKerning->Position(), 0);
  EXPECT_TRUE(CallsAre(s.Commands(), {Cmd("setconfig_onthefly").Sent(GsifBlock(0, 30))}));
}

TEST_F(DsoundPageTest, ApplyStoresTheBarsAndCancelLeavesTheRecordButNotTheDriver) {
  TdlgCfg& d = Open();
  s.ui.MoveTrackBar(*d.tckPreload, 40);
  s.ui.Click(*d.btnApply);
  EXPECT_EQ(FieldOf(s.LastSetConfig(), 0, F::GsifPreload), 40);
  EXPECT_EQ(FieldOf(s.control->ConfigRecord(), 0, F::GsifPreload), 40);

  s.ui.MoveTrackBar(*d.tckPreload, 12);
  s.ui.Click(*d.btnCancel);
  EXPECT_EQ(FieldOf(s.control->ConfigRecord(), 0, F::GsifPreload), 40);
  EXPECT_EQ(s.rig.driver().configStore().OnTheFly()[44], 12) << "the driver has the live value";
}

TEST_F(DsoundPageTest, BarsClampStoredValuesAndOpeningSendsNothing) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) {
    SetField(r, 0, F::GsifKerning, 9);
    SetField(r, 0, F::GsifPreload, 1);
  });
  EXPECT_EQ(d.tckKerning->Position(), 3);
  EXPECT_EQ(d.tckPreload->Position(), 2);
  EXPECT_TRUE(s.Commands().empty());
}

// --- a record with every field out of its range --------------------------------------------

TEST_F(DsoundPageTest, ARecordWithEveryFieldOutOfRangeOpensAndApplies) {
  TdlgCfg& d = Open([](ConfigRecordBytes& r) {
    for (F field : {F::SyncBusClockSource, F::AnalogOutClockSource, F::AnalogInClockSource,
                    F::DigitalOutClockSource, F::AdatOutClockSource})
      SetField(r, 0, field, 7);
    SetField(r, 0, F::DsLatency, 150);
    SetField(r, 0, F::RestrictedDevicePair, 9);
    SetField(r, 0, F::RestrictDevices, -1);
    SetField(r, 0, F::GsifPreload, 1);
    SetField(r, 0, F::GsifKerning, 9);
    SetField(r, 0, F::DefaultRateClock1, -44100);
    SetField(r, 0, F::DefaultRateClock2, 2000000000);
  });
  EXPECT_EQ(d.boxDevices->ItemIndex(), -1) << "no entry for pair 9: nothing is selected";
  EXPECT_EQ(d.edDefaultRate1->Text(), "-44100");
  s.ui.Click(*d.btnApply);
  EXPECT_TRUE(d.RateEditInvalid()) << "the driver's own bad rates are not sent back";
  EXPECT_TRUE(s.Commands().empty());
  s.Page(d, kClockPage);
  s.ui.Type(*d.edDefaultRate1, "44100");
  s.ui.Type(*d.edDefaultRate2, "44100");
  s.ui.Click(*d.btnApply);
  const std::vector<std::uint8_t> sent = s.LastSetConfig();
  ASSERT_EQ(sent.size(), kConfigRecordSize);
  EXPECT_EQ(FieldOf(sent, 0, F::DsLatency), 100);
  EXPECT_EQ(FieldOf(sent, 0, F::RestrictedDevicePair), 9);
  EXPECT_EQ(FieldOf(sent, 0, F::GsifKerning), 3);
  EXPECT_EQ(FieldOf(sent, 0, F::GsifPreload), 2);
  EXPECT_EQ(FieldOf(sent, 0, F::AdatOutClockSource), 7);
}

TEST(DsoundPage, ADevicePairAtEitherEndOfTheFieldSelectsNothingAndIsSentBack) {
  for (std::int32_t pair : {INT32_MAX, INT32_MIN, -2}) {
    SettingsRig fresh(1);
    TdlgCfg& d =
        fresh.OpenOn([pair](ConfigRecordBytes& r) { SetField(r, 0, F::RestrictedDevicePair, pair); });
    EXPECT_EQ(d.boxDevices->ItemIndex(), -1) << pair;
    fresh.ui.Click(*d.btnOk);
    EXPECT_EQ(FieldOf(fresh.LastSetConfig(), 0, F::RestrictedDevicePair), pair);
  }
}

}  // namespace
}  // namespace zentra::testing
