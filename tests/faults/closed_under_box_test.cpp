// A window or dialog that the control window switches off while one of its
// own handlers waits: under a message box (which leaves the control window
// usable), under a modal form, or while messages are let through (reading
// its settings at showing, cloning its strips at construction). The window
// is never freed under its handler: it goes once the handler is done, and
// the handler stops after the wait without sending anything more to the
// driver. Run under ASan, a window freed too early is a heap-use-after-free.
#include <gtest/gtest.h>

#include "driver/control_messages.h"
#include "app/about_box.h"
#include "mixer/digital_output_window.h"
#include "mixer/mixer_rig.h"
#include "settings/settings_rig.h"
#include "support/call_sequence.h"

namespace zentra::testing {
namespace {

using Kind = sim::CallRecord::Kind;

// Opens, closes and control messages without the level requests.
std::vector<sim::CallRecord> Conversation(const std::vector<sim::CallRecord>& records) {
  return DeviceCallsExcept(records, {CTL_OUT_GET_PEAKS, CTL_IN_GET_PEAKS});
}

// What reached the driver from the given call on.
std::vector<sim::CallRecord> From(const std::vector<sim::CallRecord>& records, std::size_t first) {
  return {records.begin() + static_cast<std::ptrdiff_t>(std::min(first, records.size())), records.end()};
}

void ExpectAllReleased(MixerRig& m) {
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
  EXPECT_TRUE(m.rig.driver().arena().Misuse().empty());
}

// Clears a control window box while the first box with that caption is up;
// remembers how many calls the driver had seen by then.
struct ClearUnderBox {
  ClearUnderBox(MixerRig& rig, TCheckBox& box, std::string caption) : m(rig) {
    m.rig.user().SetMessageBoxHandler([this, &box, caption](const MessageBoxCall& call) {
      if (call.caption == caption && !done) {
        done = true;
        m.ui.Click(box);
        callsAfterClose = m.rig.driver().callLog().Records().size();
      }
      return IDOK;
    });
  }
  MixerRig& m;
  bool done = false;
  std::size_t callsAfterClose = 0;
};

// --- the analog output window's two refusal boxes ------------------------------------

TEST(ClosedUnderItsBox, TheAnalogOutputWindowSwitchedOffUnderTheAdatRefusalGoesAndSendsNothingMore) {
  MixerRig m(1, "[Card1]\nRefuseSourceChange=1\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  const WinHandle own = w->ControlHandles()[0];
  ClearUnderBox clear(m, *m.control->chkAnalogOutputs, "Zentra Fehler");
  m.ClearLog();
  m.ui.Click(*w->btnAdatInp);
  ASSERT_TRUE(clear.done);
  EXPECT_EQ(m.control->WindowOf("TfrmAnalogOut"), nullptr);
  EXPECT_FALSE(m.control->chkAnalogOutputs->Checked());
  const auto records = m.rig.driver().callLog().Records();
  EXPECT_TRUE(CallsAre(Conversation(records), {
                                                  Out(CTL_OUT_METER_STOP).Handle(own),
                                                  Call::Open(2), Call::Open(2),
                                                  In(CTL_IN_METER_START).Slot(2), In(CTL_IN_METER_START).Slot(2),
                                                  Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010004).Result(1),
                                                  // the close under the box stops the ADAT metering
                                                  In(CTL_IN_METER_STOP).Slot(2), In(CTL_IN_METER_STOP).Slot(2),
                                                  // after the box: no way back to the old source,
                                                  // only the destruction's closes
                                                  Call::Close(0), Call::Close(0), Call::Close(1), Call::Close(1),
                                                  Call::Close(2), Call::Close(2),
                                              }));
  EXPECT_TRUE(ControlMessages(From(records, clear.callsAfterClose)).empty());
  ExpectAllReleased(m);
  // The driver still plays the applications' playback: the digital
  // windows' boxes, cleared and greyed for the ADAT attempt, are usable again.
  EXPECT_EQ(m.rig.driver().cards().OutputSource(0, 0)[0], 0);
  EXPECT_TRUE(m.control->chkDigitalInputs->Enabled());
  EXPECT_TRUE(m.control->chkDigitalOutputs->Enabled());
  // The program goes on: the window opens again as it did.
  m.rig.user().SetMessageBoxHandler([](const MessageBoxCall&) { return IDOK; });
  TfrmAnalogOut* again = m.OpenAnalogOutput();
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->btnProgram->Checked());
  m.CloseAnalogOutput();
  ExpectAllReleased(m);
}

TEST(ClosedUnderItsBox, TheAnalogOutputWindowSwitchedOffUnderTheConflictRefusalGoesAndSendsNothingMore) {
  MixerRig m(1, "[Card1]\nRefuseSourceChange=1\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  const WinHandle own = w->ControlHandles()[0];
  ClearUnderBox clear(m, *m.control->chkAnalogOutputs, "Zentra Fehler");
  m.ClearLog();
  m.ui.Click(*w->btnAnaInp);
  ASSERT_TRUE(clear.done);
  ASSERT_EQ(m.rig.user().MessageBoxes().back().caption, "Zentra Fehler");
  EXPECT_EQ(m.control->WindowOf("TfrmAnalogOut"), nullptr);
  const auto records = m.rig.driver().callLog().Records();
  EXPECT_TRUE(CallsAre(Conversation(records), {
                                                  Out(CTL_OUT_METER_STOP).Handle(own),
                                                  Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010002).Result(1),
                                                  // the close under the box stops metering by the
                                                  // source still in force
                                                  Out(CTL_OUT_METER_STOP).Handle(own),
                                                  Call::Close(0), Call::Close(0), Call::Close(1), Call::Close(1),
                                              }));
  EXPECT_TRUE(ControlMessages(From(records, clear.callsAfterClose)).empty());
  ExpectAllReleased(m);
}

TEST(ClosedUnderItsBox, ClosingTheControlWindowUnderARefusalBoxClosesTheAnalogOutputWindowSafely) {
  MixerRig m(2, "[Card2]\nRefuseSourceChange=1\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  ASSERT_NE(m.OpenAnalogInput(), nullptr);
  std::size_t callsAfterClose = 0;
  m.rig.user().SetMessageBoxHandler([&](const MessageBoxCall&) {
    m.control->UserCloseRequest();  // clears every box of the control window
    callsAfterClose = m.rig.driver().callLog().Records().size();
    return IDOK;
  });
  m.ui.Click(*w->ChannelButton(1, 0, 3));
  m.ui.Click(*w->ChannelButton(1, 1, 3));
  m.ClearLog();
  m.ui.Click(*w->SourceButton(1, 4));
  ASSERT_GT(callsAfterClose, 0u);
  EXPECT_FALSE(m.control->Visible());
  EXPECT_EQ(m.control->WindowOf("TfrmAnalogOut"), nullptr);
  EXPECT_EQ(m.control->WindowOf("TfrmAnalogInp"), nullptr);
  EXPECT_TRUE(ControlMessages(From(m.rig.driver().callLog().Records(), callsAfterClose)).empty());
  ExpectAllReleased(m);
}

// --- the settings dialog's boxes during Apply -----------------------------------------

struct SettingsUnderBox {
  explicit SettingsUnderBox(const std::string& more = "") : s(2, more) {
    s.control->Show();  // where the user clears the box
    s.rig.user().SetMessageBoxHandler([this](const MessageBoxCall& call) {
      s.boxes.push_back({call, s.Commands().size()});
      if (call.caption == caption && !done) {
        done = true;
        s.ui.Click(*s.control->chkSettings);
        commandsAfterClose = s.Commands().size();
      }
      return IDOK;
    });
  }
  // Ticks the device restriction, which makes Apply show the restart notice.
  TdlgCfg& OpenWithRestrictionTicked() {
    TdlgCfg* d = s.Open();
    if (d == nullptr) throw std::logic_error("no settings dialog");
    s.Page(*d, kDsoundPage);
    s.ui.Click(*d->chkRestrictedDev);
    s.ui.Choose(*d->boxDevices, "Digital Playback ");
    return *d;
  }
  SettingsRig s;
  std::string caption = "Zentra Info";
  bool done = false;
  std::size_t commandsAfterClose = 0;
};

TEST(ClosedUnderItsBox, TheSettingsDialogSwitchedOffUnderTheRestartNoticeAppliesNothing) {
  SettingsUnderBox t;
  const ConfigRecordBytes before = t.s.DriverRecord();
  TdlgCfg& d = t.OpenWithRestrictionTicked();
  t.s.ui.Click(*d.btnApply);
  ASSERT_TRUE(t.done);
  EXPECT_EQ(t.s.Dialog(), nullptr);
  EXPECT_FALSE(t.s.control->chkSettings->Checked());
  // Neither "reconfigurable" nor "setconfig" nor "getconfig": the driver
  // keeps the configuration the user never confirmed away from.
  EXPECT_TRUE(CallsAre(t.s.Commands(), {}));
  EXPECT_EQ(t.s.DriverRecord(), before);
  ASSERT_EQ(t.s.boxes.size(), 1u);
  EXPECT_TRUE(t.s.rig.driver().arena().Misuse().empty());
  // The program goes on: the dialog opens again on the driver's record.
  t.s.rig.user().SetMessageBoxHandler([](const MessageBoxCall&) { return IDOK; });
  TdlgCfg* again = t.s.Open();
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(again->chkRestrictedDev->Checked());
}

TEST(ClosedUnderItsBox, TheSettingsDialogSwitchedOffUnderTheRestartNoticeOfItsOkAppliesNothing) {
  SettingsUnderBox t;
  TdlgCfg& d = t.OpenWithRestrictionTicked();
  t.s.ui.Click(*d.btnOk);
  ASSERT_TRUE(t.done);
  EXPECT_EQ(t.s.Dialog(), nullptr);
  EXPECT_TRUE(CallsAre(t.s.Commands(), {}));
  EXPECT_TRUE(t.s.rig.driver().arena().Misuse().empty());
}

TEST(ClosedUnderItsBox, TheSettingsDialogSwitchedOffUnderItsBusyBoxGoesQuietly) {
  SettingsUnderBox t("[Driver]\nReconfigurable=0\n");
  t.caption = "Fehler";
  TdlgCfg& d = t.OpenWithRestrictionTicked();
  t.s.ui.Click(*d.btnApply);
  ASSERT_TRUE(t.done);
  EXPECT_EQ(t.s.Dialog(), nullptr);
  EXPECT_TRUE(CallsAre(t.s.Commands(), {Cmd("reconfigurable")}));
  EXPECT_EQ(t.commandsAfterClose, 1u);
  ASSERT_EQ(t.s.boxes.size(), 2u);
}

// --- modal forms ----------------------------------------------------------------------

TEST(ClosedUnderItsModalForm, TheSettingsDialogSwitchedOffUnderTheNextCardsDialogEndsBoth) {
  SettingsRig s(3);
  s.control->Show();
  TdlgCfg* first = s.Open();
  ASSERT_NE(first, nullptr);
  int shown = 0;
  s.rig.backend().SetModalHandler([&](TForm&) {
    ++shown;
    s.ui.Click(*s.control->chkSettings);  // the control window is not disabled here
  });
  s.ui.Click(*first->btnNext);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(s.Dialog(), nullptr);
  EXPECT_FALSE(s.control->chkSettings->Checked());
  EXPECT_TRUE(CallsAre(s.Commands(), {}));
  EXPECT_TRUE(s.rig.driver().arena().Misuse().empty());
}

TEST(ClosedUnderItsModalForm, AMixerWindowSwitchedOffUnderItsAboutBoxGoesAfterwards) {
  MixerRig m(1);
  FreeAndNil(Windows().AboutBox);
  Windows().AboutBox = new TAboutBox(nullptr);
  m.Tick(*m.control->chkDigitalOutputs, true);
  TfrmDigOut* w = m.WindowOf<TfrmDigOut>("TfrmDigOut");
  ASSERT_NE(w, nullptr);
  int shown = 0;
  m.rig.backend().SetModalHandler([&](TForm& form) {
    ++shown;
    m.ui.Click(*m.control->chkDigitalOutputs);
    form.SetModalResult(mrOk);
  });
  w->Perform(WM_SYSCOMMAND, w->InfoCommandId(), 0);
  EXPECT_EQ(shown, 1);
  Application::Instance().ProcessMessages();
  EXPECT_EQ(m.control->WindowOf("TfrmDigOut"), nullptr);
  m.rig.backend().SetModalHandler(nullptr);
  FreeAndNil(Windows().AboutBox);
  ExpectAllReleased(m);
}

// --- waits that let messages through ---------------------------------------------------

// A form of the test's own whose message clears a control window box, as
// a user's click handled from inside the window's wait would.
class BoxClearer : public TForm {
 public:
  static constexpr std::uint32_t kClear = WM_USER + 700;
  BoxClearer(MixerRig& m, TCheckBox& box) : TForm(nullptr) {
    SetMessageHandler(kClear, [&m, &box](Message&) {
      if (box.Checked()) m.ui.Click(box);
    });
    HandleNeeded();
  }
  void PostClear() { PostMessageToWindow(Handle(), kClear, 0, 0); }
};

TEST(ClosedWhileItWaits, AMixerWindowSwitchedOffWhileItReadsItsSettingsStartsNothing) {
  MixerRig m(1);
  auto* clearer = new BoxClearer(m, *m.control->chkAnalogOutputs);
  // The first source read of the showing posts the click; it is handled
  // while the window reads its settings (after its construction).
  bool posted = false;
  m.rig.driver().callLog().SetObserver([&](const sim::CallRecord& r) {
    if (!posted && r.message == CTL_GET_OUTPUT_SOURCE) {
      posted = true;
      clearer->PostClear();
    }
  });
  m.ClearLog();
  m.Tick(*m.control->chkAnalogOutputs, true);
  m.rig.driver().callLog().SetObserver(nullptr);
  ASSERT_TRUE(posted);
  EXPECT_FALSE(m.control->chkAnalogOutputs->Checked());
  EXPECT_EQ(m.control->WindowOf("TfrmAnalogOut"), nullptr);
  // No volumes or mutes read, no metering started after the close.
  const auto messages = ControlMessages(m.rig.driver().callLog().Records());
  for (const sim::CallRecord& r : messages) {
    EXPECT_NE(r.message, static_cast<std::uint32_t>(WODM_GETVOLUME)) << DescribeRecord(r);
    EXPECT_NE(r.message, static_cast<std::uint32_t>(CTL_OUT_METER_START)) << DescribeRecord(r);
  }
  Free(clearer);
  ExpectAllReleased(m);
}

TEST(ClosedWhileItWaits, AMixerWindowSwitchedOffWhileItIsBuiltIsNeverShown) {
  MixerRig m(2);
  auto* clearer = new BoxClearer(m, *m.control->chkAnalogInputs);
  m.control->Show();
  // Posted before the tick: handled while the strips are cloned.
  clearer->PostClear();
  m.ClearLog();
  m.ui.Click(*m.control->chkAnalogInputs);
  EXPECT_FALSE(m.control->chkAnalogInputs->Checked());
  EXPECT_EQ(m.control->WindowOf("TfrmAnalogInp"), nullptr);
  EXPECT_TRUE(ControlMessages(m.rig.driver().callLog().Records(),
                              {CTL_GET_INPUT_STATE, CTL_SET_INPUT_STATE, CTL_IN_METER_START})
                  .empty());
  Free(clearer);
  ExpectAllReleased(m);
  // Ticking it again opens it as usual.
  ASSERT_NE(m.OpenAnalogInput(), nullptr);
  EXPECT_TRUE(m.AnalogInput()->Visible());
}

}  // namespace
}  // namespace zentra::testing
