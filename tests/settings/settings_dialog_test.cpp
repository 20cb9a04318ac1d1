// The settings dialog as a whole: opening from the control window, its
// layout, Apply's conversation with the driver in every branch, OK, Cancel
// and the close box, and the stack of dialogs that ">>" opens.
#include <gtest/gtest.h>

#include "app/device_removal.h"
#include "settings/settings_rig.h"

namespace zentra::testing {
namespace {

const char kRestartNotice[] =
    "Sie müssen Windows neu starten, damit die Änderungen zu den verfügbaren DirectSound-Geräten "
    "übernommen werden.";
const char kRefused[] =
    "Die Einstellungen des Zentra Treibers können derzeit nicht geändert werden.\r\n"
    "Beenden Sie erst alle Anwendungen, welche die Zentra verwenden.";

std::vector<std::uint8_t> Whole(const ConfigRecordBytes& record) {
  return {record.begin(), record.end()};
}

// --- opening and layout ------------------------------------------------------------

TEST(SettingsDialogOpening, TheSettingsBoxOpensTheFirstCardModelesslyOnTheDriversRecord) {
  SettingsRig s(2);
  ConfigRecordBytes record = DefaultDriverRecord();
  SetField(record, 0, F::DefaultRateClock1, 96000);
  SetField(record, 1, F::DefaultRateClock1, 22050);
  s.SetDriverRecord(record);
  TdlgCfg* dialog = s.Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->Visible());
  EXPECT_FALSE(dialog->Modal());
  EXPECT_EQ(dialog->Owner(), s.control);
  EXPECT_EQ(dialog->CardIndex(), 0);
  EXPECT_EQ(dialog->CardCount(), 2);
  EXPECT_EQ(dialog->Caption(), "Zentra Einstellungen Karte #1");
  EXPECT_EQ(s.control->ConfigRecord(), record);
  EXPECT_EQ(dialog->edDefaultRate1->Text(), "96000");
  EXPECT_TRUE(dialog->btnNext->Enabled());
  // Opening sends nothing of the dialog's own (the GSIF bars are set quietly).
  EXPECT_TRUE(s.Commands().empty());
  // Showing ran the click handling of the clock radios.
  EXPECT_TRUE(dialog->btnApply->Enabled());
}

TEST(SettingsDialogOpening, LayoutButtonsAndPages) {
  SettingsRig s(1);
  TdlgCfg* d = s.Open();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->ClientWidth(), 443);
  EXPECT_EQ(d->ClientHeight(), 357);
  EXPECT_EQ(d->GetBorderStyle(), BorderStyle::Dialog);
  EXPECT_EQ(d->Position(), FormPosition::ScreenCenter);
  EXPECT_TRUE(d->pgConfig->HotTrack());
  EXPECT_EQ(d->pgConfig->TabWidth(), 107);
  std::vector<std::string> tabs;
  for (TTabSheet* page : d->pgConfig->Pages()) tabs.push_back(page->Caption());
  EXPECT_EQ(tabs, (std::vector<std::string>{"Clock", "Geräte", "DirectSound / GSIF", "Sonstiges/Info"}));
  EXPECT_EQ(d->pgConfig->ActivePage(), d->tabClockSrc);
  EXPECT_EQ(d->btnNext->Caption(), ">>");
  EXPECT_EQ(d->btnCancel->Caption(), "&Abbruch");
  EXPECT_EQ(d->btnApply->Caption(), "Ü&bernehmen");
  EXPECT_EQ(d->btnOk->Caption(), "&Ok");
  EXPECT_TRUE(d->btnOk->Default());
  EXPECT_TRUE(d->btnCancel->Cancel());
  // Left to right along the bottom.
  EXPECT_LT(d->btnNext->Left(), d->btnCancel->Left());
  EXPECT_LT(d->btnCancel->Left(), d->btnApply->Left());
  EXPECT_LT(d->btnApply->Left(), d->btnOk->Left());
  // One card: no next card.
  EXPECT_FALSE(d->btnNext->Enabled());
}

TEST(SettingsDialogOpening, CreatedDialogHasApplyDisabledUntilShown) {
  SettingsRig s(2);
  s.control->chkSettings->SetChecked(true);
  TdlgCfg hidden(nullptr, *s.control, s.control->ConfigRecord(), 1, 2);
  EXPECT_FALSE(hidden.btnApply->Enabled());
  EXPECT_FALSE(hidden.btnNext->Enabled()) << "card 2 of 2 is the last";
  EXPECT_EQ(hidden.Caption(), "Zentra Einstellungen Karte #2");
}

TEST(SettingsDialogOpening, DeviceListNamesTheCardsPlaybackDevices) {
  SettingsRig s(4);
  ConfigRecordBytes& record = s.control->ConfigRecord();
  const std::vector<std::vector<std::string>> expected = {
      {"Kein Gerät verfügbar", "Analog Playback ", "Digital Playback ", "ADAT Playback 1-2",
       "ADAT Playback 3-4", "ADAT Playback 5-6", "ADAT Playback 7-8"},
      {"Kein Gerät verfügbar", "Analog Playback II", "Digital Playback II", "ADAT Playback 9-10",
       "ADAT Playback 11-12", "ADAT Playback 13-14", "ADAT Playback 15-16"},
      {"Kein Gerät verfügbar", "Analog Playback III", "Digital Playback III", "ADAT Playback 17-18",
       "ADAT Playback 19-20", "ADAT Playback 21-22", "ADAT Playback 23-24"},
      {"Kein Gerät verfügbar", "Analog Playback IV", "Digital Playback IV", "ADAT Playback 25-26",
       "ADAT Playback 27-28", "ADAT Playback 29-30", "ADAT Playback 31-32"},
  };
  for (int card = 0; card < 4; ++card) {
    TdlgCfg dialog(nullptr, *s.control, record, card, 4);
    EXPECT_EQ(dialog.boxDevices->Items(), expected[card]) << "card " << card;
    EXPECT_EQ(dialog.btnNext->Enabled(), card < 3) << "card " << card;
  }
}

// --- Apply ---------------------------------------------------------------------------

TEST(SettingsDialogApply, OkUntouchedRunsTheWholeApplyAndCloses) {
  SettingsRig s(2);
  TdlgCfg* d = s.Open();
  ASSERT_NE(d, nullptr);
  const ConfigRecordBytes before = s.control->ConfigRecord();
  s.ui.Click(*d->btnOk);
  EXPECT_TRUE(CallsAre(s.Commands(), {
                                         Cmd("reconfigurable").Sent(Bytes32(0)),
                                         Cmd("setconfig").Sent(Whole(before)),
                                         Cmd("getconfig"),
                                     }));
  EXPECT_TRUE(s.boxes.empty());
  // The window-closed notice cleared the box, which freed the dialog.
  EXPECT_FALSE(s.control->chkSettings->Checked());
  EXPECT_EQ(s.control->WindowOf("TdlgCfg"), nullptr);
}

TEST(SettingsDialogApply, ApplyButtonWritesTheChangedBlockAndReadsTheRecordBack) {
  SettingsRig s(2);
  TdlgCfg* d = s.Open();
  s.ui.Click(*d->chkMaster);  // card 1 is master by default: now it is not
  s.ui.Click(*d->btnApply);
  const std::vector<std::uint8_t> sent = s.LastSetConfig();
  ASSERT_EQ(sent.size(), kConfigRecordSize);
  EXPECT_EQ(FieldOf(sent, 0, F::IsMaster), 0);
  EXPECT_EQ(FieldOf(s.DriverRecord(), 0, F::IsMaster), 0);
  EXPECT_EQ(s.CommandNames(), (std::vector<std::string>{"reconfigurable", "setconfig", "getconfig"}));
  EXPECT_FALSE(d->btnApply->Enabled());
  EXPECT_TRUE(d->Visible()) << "Apply keeps the dialog open";
  EXPECT_EQ(s.control->ConfigRecord(), s.DriverRecord());
}

TEST(SettingsDialogApply, RestartNoticeComesBeforeTheDriverIsAskedEvenWhenItRefuses) {
  SettingsRig s(2, "[Driver]\nReconfigurable=0\n");
  TdlgCfg* d = s.Open();
  s.Page(*d, kDsoundPage);
  s.ui.Click(*d->chkRestrictedDev);
  s.ui.Choose(*d->boxDevices, "Digital Playback ");
  s.ui.Click(*d->btnApply);
  ASSERT_EQ(s.boxes.size(), 2u);
  EXPECT_EQ(s.boxes[0].call.text, kRestartNotice);
  EXPECT_EQ(s.boxes[0].call.caption, "Zentra Info");
  EXPECT_EQ(s.boxes[0].call.style, MB_ICONINFORMATION);
  EXPECT_EQ(s.boxes[0].call.owner, d->Handle());
  EXPECT_EQ(s.boxes[0].commandsBefore, 0u) << "the notice precedes \"reconfigurable\"";
  EXPECT_EQ(s.boxes[1].call.text, kRefused);
  EXPECT_EQ(s.boxes[1].call.caption, "Fehler");
  EXPECT_EQ(s.boxes[1].call.style, MB_ICONERROR);
  EXPECT_EQ(s.boxes[1].commandsBefore, 1u);
  EXPECT_TRUE(CallsAre(s.Commands(), {Cmd("reconfigurable")}));
  EXPECT_TRUE(d->btnApply->Enabled()) << "a failed Apply leaves Apply enabled";
}

TEST(SettingsDialogApply, DeviceRestrictionSwitchedOnAndOffAgainBringsNoNotice) {
  SettingsRig s(2);
  TdlgCfg* d = s.Open();
  s.Page(*d, kDsoundPage);
  s.ui.Click(*d->chkRestrictedDev);
  s.ui.Click(*d->chkRestrictedDev);
  s.ui.Click(*d->btnApply);
  EXPECT_TRUE(s.boxes.empty());
  // Only the device pair changed: notice.
  s.ui.Click(*d->chkRestrictedDev);
  s.ui.Choose(*d->boxDevices, 3);
  s.ui.Click(*d->chkRestrictedDev);
  s.ui.Click(*d->btnApply);
  ASSERT_EQ(s.boxes.size(), 1u);
  EXPECT_EQ(s.boxes[0].call.caption, "Zentra Info");
  EXPECT_EQ(FieldOf(s.LastSetConfig(), 0, F::RestrictedDevicePair), 2);
  EXPECT_EQ(FieldOf(s.LastSetConfig(), 0, F::RestrictDevices), 0);
}

TEST(SettingsDialogApply, BusyDriverRefusesOkAndTheDialogStaysWithItsEdits) {
  SettingsRig s(2, "[Driver]\nReconfigurable=0\n");
  TdlgCfg* d = s.Open();
  const ConfigRecordBytes before = s.control->ConfigRecord();
  s.ui.Click(*d->chkMaster);
  s.ui.Click(*d->btnOk);
  EXPECT_TRUE(CallsAre(s.Commands(), {Cmd("reconfigurable")}));
  ASSERT_EQ(s.boxes.size(), 1u);
  EXPECT_EQ(s.boxes[0].call.text, kRefused);
  EXPECT_TRUE(d->Visible());
  EXPECT_EQ(s.Dialog(), d);
  EXPECT_TRUE(s.control->chkSettings->Checked());
  EXPECT_FALSE(d->chkMaster->Checked()) << "the user's edit stays";
  EXPECT_EQ(d->WorkingCopy().Get(F::IsMaster), 0);
  EXPECT_EQ(s.control->ConfigRecord(), before);
  // Cancel still closes.
  s.ui.Click(*d->btnCancel);
  EXPECT_EQ(s.Dialog(), nullptr);
}

TEST(SettingsDialogApply, FailedSetconfigLeavesTheProgramsRecordAsTheDriverLastGaveIt) {
  SettingsRig s(2, "[Driver]\nCommandsNeverComplete=setconfig\n");
  TdlgCfg* d = s.Open();
  const ConfigRecordBytes before = s.control->ConfigRecord();
  s.Page(*d, kDsoundPage);
  s.ui.Click(*d->chkRestrictedDev);
  s.ui.Choose(*d->boxDevices, 1);
  s.ui.Click(*d->btnApply);
  EXPECT_TRUE(CallsAre(s.Commands(), {Cmd("reconfigurable"), Cmd("setconfig")}));
  ASSERT_EQ(s.boxes.size(), 2u);
  EXPECT_EQ(s.boxes[1].call.caption, "Fehler");
  EXPECT_EQ(s.control->ConfigRecord(), before) << "the record never holds a block the driver did not take";
  EXPECT_TRUE(d->btnApply->Enabled());

  // The driver answers again: the change is still a change, so the notice
  // comes once more, and the record now takes the new block.
  s.rig.driver().launcher().SetCommandsNeverComplete({});
  s.ClearLog();
  s.ui.Click(*d->btnApply);
  ASSERT_EQ(s.boxes.size(), 1u);
  EXPECT_EQ(s.boxes[0].call.caption, "Zentra Info");
  EXPECT_TRUE(CallsAre(s.Commands(), {Cmd("reconfigurable"), Cmd("setconfig"), Cmd("getconfig")}));
  EXPECT_EQ(FieldOf(s.control->ConfigRecord(), 0, F::RestrictedDevicePair), 0);
  EXPECT_FALSE(d->btnApply->Enabled());
}

TEST(SettingsDialogApply, FailingGetconfigAfterSetconfigStillSucceeds) {
  SettingsRig s(2);
  TdlgCfg* d = s.Open();
  s.rig.driver().launcher().SetCommandsNeverComplete({"getconfig"});
  s.Page(*d, kMiscPage);
  s.ui.Click(*d->chkNoMsgRate);
  s.ui.Click(*d->btnOk);
  EXPECT_TRUE(CallsAre(s.Commands(), {Cmd("reconfigurable"), Cmd("setconfig"), Cmd("getconfig")}));
  EXPECT_TRUE(s.boxes.empty());
  EXPECT_EQ(s.Dialog(), nullptr) << "OK closed the dialog";
  // The record holds what "setconfig" took.
  EXPECT_EQ(FieldOf(s.control->ConfigRecord(), 0, F::ShowRateConflictMessages), 0);
}

TEST(SettingsDialogApply, OkWithAnInvalidRateKeepsTheDialogOpenAndSendsNothing) {
  SettingsRig s(2);
  TdlgCfg* d = s.Open();
  s.ui.Type(*d->edDefaultRate1, "44000");
  s.ui.Click(*d->btnOk);
  EXPECT_TRUE(s.Commands().empty());
  EXPECT_TRUE(s.boxes.empty()) << "the red edit says it; no box";
  EXPECT_TRUE(d->Visible());
  EXPECT_EQ(d->edDefaultRate1->GetColor(), clRed);
  EXPECT_EQ(d->ActiveControl(), d->edDefaultRate1);
  EXPECT_FALSE(s.rig.user().Beeps().empty());
  // Corrected, OK goes through.
  s.ui.Type(*d->edDefaultRate1, "48000");
  s.ui.Click(*d->btnOk);
  EXPECT_EQ(FieldOf(s.LastSetConfig(), 0, F::DefaultRateClock1), 48000);
  EXPECT_EQ(s.Dialog(), nullptr);
}

// --- closing -----------------------------------------------------------------------------

TEST(SettingsDialogClosing, CancelCloseBoxAndEscCloseWithoutTalkingToTheDriver) {
  for (int way = 0; way < 3; ++way) {
    SettingsRig s(2);
    TdlgCfg* d = s.Open();
    s.ui.Click(*d->chkMaster);
    if (way == 0) s.ui.Click(*d->btnCancel);
    if (way == 1) s.ui.CloseBox(*d);
    if (way == 2) {
      EXPECT_TRUE(s.ui.PressKey(*d, VK_ESCAPE));
    }
    EXPECT_TRUE(s.Commands().empty()) << way;
    EXPECT_FALSE(s.control->chkSettings->Checked()) << way;
    EXPECT_EQ(s.Dialog(), nullptr) << way;
    // The driver still has what it had.
    EXPECT_EQ(FieldOf(s.DriverRecord(), 0, F::IsMaster), -1) << way;
  }
}

TEST(SettingsDialogClosing, ClearingTheSettingsBoxClosesTheDialogUnapplied) {
  SettingsRig s(2);
  TdlgCfg* d = s.Open();
  s.ui.Click(*d->chkMaster);
  s.control->chkSettings->SetChecked(false);
  s.ui.ProcessMessages();
  EXPECT_EQ(s.Dialog(), nullptr);
  EXPECT_TRUE(s.Commands().empty());
  // Open again: a fresh dialog from the driver's record.
  TdlgCfg* again = s.Open();
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->chkMaster->Checked());
}

TEST(SettingsDialogClosing, InfoButtonShowsTheAboutBoxModally) {
  SettingsRig s(1);
  Windows().AboutBox = new TAboutBox(nullptr);
  s.rig.backend().SetModalHandler([](TForm& form) { form.SetModalResult(mrOk); });
  TdlgCfg* d = s.Open();
  s.Page(*d, kMiscPage);
  s.ui.Click(*d->btnInfo);
  EXPECT_EQ(s.rig.backend().ModalLog(), std::vector<std::string>{"AboutBox"});
  EXPECT_TRUE(d->Visible());
}

// --- the stack of cards --------------------------------------------------------------------

TEST(SettingsDialogNextCard, FourCardsStackModalDialogsUntilTheLast) {
  SettingsRig s(4);
  TdlgCfg* first = s.Open();
  ASSERT_NE(first, nullptr);
  std::vector<std::string> captions;
  std::vector<Point> offsets;
  std::vector<bool> nextEnabled;
  std::vector<std::string> analogEntries;
  const int left = first->Left(), top = first->Top();
  s.rig.backend().SetModalHandler([&](TForm& form) {
    auto& d = dynamic_cast<TdlgCfg&>(form);
    offsets.push_back({d.Left() - left, d.Top() - top});
    captions.push_back(d.Caption());
    nextEnabled.push_back(d.btnNext->Enabled());
    analogEntries.push_back(d.boxDevices->Items()[1]);
    EXPECT_TRUE(d.Modal());
    if (d.btnNext->Enabled()) s.ui.Click(*d.btnNext);
    EXPECT_EQ(d.NextCardDialog(), nullptr);
    s.ui.Click(*d.btnCancel);
  });
  s.ui.Click(*first->btnNext);
  EXPECT_EQ(captions, (std::vector<std::string>{"Zentra Einstellungen Karte #2",
                                                "Zentra Einstellungen Karte #3",
                                                "Zentra Einstellungen Karte #4"}));
  EXPECT_EQ(nextEnabled, (std::vector<bool>{true, true, false}));
  EXPECT_EQ(analogEntries,
            (std::vector<std::string>{"Analog Playback II", "Analog Playback III", "Analog Playback IV"}));
  ASSERT_EQ(offsets.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(offsets[i].x, 24 * (i + 1));
    EXPECT_EQ(offsets[i].y, 24 * (i + 1));
  }
  EXPECT_EQ(first->NextCardDialog(), nullptr);
  // The stacked dialogs' notices name no window of the control window: the
  // first dialog stays.
  EXPECT_EQ(s.Dialog(), first);
  EXPECT_TRUE(s.Commands().empty());
}

TEST(SettingsDialogNextCard, NextCardAppliesItsOwnBlockOnly) {
  SettingsRig s(2);
  TdlgCfg* first = s.Open();
  s.ui.Type(*first->edDefaultRate1, "32000");  // the first card's copy, not applied
  s.rig.backend().SetModalHandler([&](TForm& form) {
    auto& d = dynamic_cast<TdlgCfg&>(form);
    EXPECT_EQ(d.CardIndex(), 1);
    s.ui.Type(*d.edDefaultRate2, "96000");
    s.ui.Click(*d.btnOk);
  });
  s.ui.Click(*first->btnNext);
  const std::vector<std::uint8_t> sent = s.LastSetConfig();
  ASSERT_EQ(sent.size(), kConfigRecordSize);
  EXPECT_EQ(FieldOf(sent, 1, F::DefaultRateClock2), 96000);
  EXPECT_EQ(FieldOf(sent, 0, F::DefaultRateClock1), 44100) << "card 1's edits stay in its own dialog";
  EXPECT_EQ(FieldOf(s.control->ConfigRecord(), 1, F::DefaultRateClock2), 96000);
  EXPECT_EQ(first->edDefaultRate1->Text(), "32000");
  EXPECT_EQ(s.Dialog(), first);
}

TEST(SettingsDialogNextCard, StackedDialogStaysOnTopWithTheProgramsWindows) {
  SettingsRig s(2);
  TdlgCfg* first = s.Open();
  s.control->chkStayOnTop->SetChecked(true);
  EXPECT_TRUE(s.rig.user().IsTopmost(first->Handle()));
  bool topmost = false, again = false;
  s.rig.backend().SetModalHandler([&](TForm& form) {
    topmost = s.rig.user().IsTopmost(form.Handle());
    // The program is activated again: the control window puts its own
    // windows on top, and the stacked dialog, activated, follows.
    s.control->FormActiveChanged(s.control);
    s.ui.Activate(form, true);
    again = s.rig.user().IsTopmost(form.Handle());
    s.ui.Click(*dynamic_cast<TdlgCfg&>(form).btnCancel);
  });
  s.ui.Click(*first->btnNext);
  EXPECT_TRUE(topmost);
  EXPECT_TRUE(again);
}

TEST(SettingsDialogNextCard, CardRemovalWhileTheStackIsOpenEndsEverythingCleanly) {
  SettingsRig s(3);
  TdlgCfg* first = s.Open();
  ASSERT_NE(first, nullptr);
  const std::uint32_t devnode = static_cast<std::uint32_t>(CardDevnodeTable[1]);
  int shown = 0;
  s.rig.backend().SetModalHandler([&](TForm& form) {
    auto& d = dynamic_cast<TdlgCfg&>(form);
    ++shown;
    if (d.CardIndex() == 1) {
      s.ui.Click(*d.btnNext);
    } else {
      // The system asks whether card 2 may go while card 3's dialog is up.
      EXPECT_TRUE(HandleCardRemovalQuery(devnode));
    }
  });
  s.ui.Click(*first->btnNext);
  EXPECT_EQ(shown, 2);
  EXPECT_TRUE(Application::Instance().Terminated());
  // Closed at once; destroyed with the other windows once the program's
  // loop has ended (here: by the rig), never under the dialogs' own loops.
  ASSERT_EQ(Windows().MixControlWnd, s.control);
  EXPECT_FALSE(s.control->Visible());
  EXPECT_EQ(s.control->WindowOf("TdlgCfg"), nullptr);
  // The removal wrote its record; the dialogs wrote nothing.
  EXPECT_EQ(s.CommandNames(), (std::vector<std::string>{"getconfig", "setconfig"}));
}

}  // namespace
}  // namespace zentra::testing
