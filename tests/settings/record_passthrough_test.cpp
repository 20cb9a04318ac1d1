// The bytes of the configuration record that belong to the driver alone go
// back to it bit for bit, whatever the user edits on which card.
#include <gtest/gtest.h>

#include <random>

#include "settings/settings_rig.h"

namespace zentra::testing {
namespace {

// Bytes of each card block that no field covers, plus BlockReserved0, which
// the dialog never shows.
std::vector<std::size_t> DriverOwnedBytes() {
  std::vector<bool> field(kCardConfigBlockSize, false);
  for (const ConfigFieldInfo& info : ConfigFieldTable())
    if (info.field != F::BlockReserved0)
      for (std::size_t at = info.offset; at < info.offset + 4; ++at) field[at] = true;
  std::vector<std::size_t> owned;
  for (std::size_t at = 0; at < kCardConfigBlockSize; ++at)
    if (!field[at]) owned.push_back(at);
  return owned;
}

ConfigRecordBytes RandomRecord(unsigned pattern) {
  std::mt19937 random(pattern);
  ConfigRecordBytes record;
  for (auto& byte : record) byte = static_cast<std::uint8_t>(random());
  // Rates the edits accept, so that Apply goes through.
  for (int card = 0; card < kConfigRecordCards; ++card) {
    SetField(record, card, F::DefaultRateClock1, 48000);
    SetField(record, card, F::DefaultRateClock2, 50000);
  }
  return record;
}

::testing::AssertionResult DriverBytesKept(const ConfigRecordBytes& original,
                                           const std::vector<std::uint8_t>& sent) {
  if (sent.size() != original.size()) return ::testing::AssertionFailure() << "no setconfig record";
  for (int card = 0; card < kConfigRecordCards; ++card)
    for (std::size_t at : DriverOwnedBytes()) {
      const std::size_t i = card * kCardConfigBlockSize + at;
      if (sent[i] != original[i])
        return ::testing::AssertionFailure() << "card " << card << " byte " << at << " was "
                                             << int(original[i]) << ", sent " << int(sent[i]);
    }
  return ::testing::AssertionSuccess();
}

void EditEveryPage(SettingsRig& s, TdlgCfg& d) {
  s.Page(d, kClockPage);
  s.ui.Click(*d.chkMaster);
  s.ui.Click(*d.chkSyncToAdat);
  s.ui.Type(*d.edDefaultRate1, "96000");
  s.ui.Type(*d.edDefaultRate2, "29000");
  s.Page(d, kDevicesPage);
  if (d.btnAnaOutClock2->Enabled()) s.ui.Click(*d.btnAnaOutClock2);
  if (d.chkAnaOut_SyncBus->Enabled()) s.ui.Click(*d.chkAnaOut_SyncBus);
  if (d.chkAdatInp_AllAutonom->Enabled()) s.ui.Click(*d.chkAdatInp_AllAutonom);
  s.Page(d, kDsoundPage);
  s.ui.Click(*d.btnManLatency);
  s.ui.MoveTrackBar(*d.barLatency, 33);
  s.ui.Click(*d.chkWriteIsPlayCursor);
  s.ui.Click(*d.chkRestricted);
  s.ui.Click(*d.chkRestrictedDev);
  if (d.boxDevices->Enabled()) s.ui.Choose(*d.boxDevices, 4);
  s.ui.MoveTrackBar(*d.tckKerning, 2);
  s.ui.MoveTrackBar(*d.tckPreload, 9);
  s.Page(d, kMiscPage);
  s.ui.Click(*d.chkNoMsgRate);
  s.ui.Click(*d.chkNoMsgDevConflict);
}

TEST(RecordPassthrough, DriverBytesSurviveLoadEditsAndApplyOnEveryCard) {
  for (unsigned pattern : {1u, 2u, 3u}) {
    SettingsRig s(4);
    const ConfigRecordBytes original = RandomRecord(pattern);
    s.SetDriverRecord(original);
    TdlgCfg* first = s.Open();
    ASSERT_NE(first, nullptr);
    EditEveryPage(s, *first);
    s.ui.Click(*first->btnApply);
    ASSERT_FALSE(first->btnApply->Enabled()) << "pattern " << pattern;
    const std::vector<std::uint8_t> sent = s.LastSetConfig();
    EXPECT_TRUE(DriverBytesKept(original, sent)) << "pattern " << pattern;
    // The other cards' blocks go back exactly as they came.
    EXPECT_TRUE(std::equal(original.begin() + kCardConfigBlockSize, original.end(),
                           sent.begin() + kCardConfigBlockSize))
        << "pattern " << pattern;
    EXPECT_EQ(FieldOf(sent, 0, F::DsLatency), 33);

    // The third card, from the stack of next-card dialogs.
    s.ClearLog();
    s.rig.backend().SetModalHandler([&](TForm& form) {
      auto& d = dynamic_cast<TdlgCfg&>(form);
      if (d.CardIndex() < 2) {
        s.ui.Click(*d.btnNext);
        s.ui.Click(*d.btnCancel);
        return;
      }
      EditEveryPage(s, d);
      s.ui.Click(*d.btnOk);
    });
    s.ui.Click(*first->btnNext);
    const std::vector<std::uint8_t> third = s.LastSetConfig();
    EXPECT_TRUE(DriverBytesKept(original, third)) << "pattern " << pattern;
    EXPECT_EQ(FieldOf(third, 2, F::DefaultRateClock1), 96000);
    EXPECT_EQ(FieldOf(third, 0, F::DsLatency), 33) << "card 1's applied block is kept";
    EXPECT_TRUE(std::equal(original.begin() + 3 * kCardConfigBlockSize, original.end(),
                           third.begin() + 3 * kCardConfigBlockSize));
    s.rig.backend().SetModalHandler(nullptr);
  }
}

}  // namespace
}  // namespace zentra::testing
