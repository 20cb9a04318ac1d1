// The analog input window through the control window: construction with
// one strip per card, reading and writing the input state, metering, the
// option panel, the system menu, the size rule and closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "controls/level_meter.h"
#include "app/about_box.h"
#include "driver/control_messages.h"
#include "mixer/mixer_rig.h"
#include "support/call_sequence.h"
#include "support/le_bytes.h"

namespace zentra::testing {
namespace {

constexpr int kFrameHeight = 27;  // headless sizeable frame: caption and borders

// --- construction -------------------------------------------------------------

TEST(AnalogInputWindow, FourCardsGetFourStripsAndTheirHandlesAndMeters) {
  MixerRig m(4);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Ready());
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->Caption(), "Analog Input");
  EXPECT_EQ(w->Icon(), Windows().trayIcon);

  // Two handles per card on the card's analog record device, card-major.
  ASSERT_EQ(w->ControlHandleCount(), 8u);
  for (int card = 0; card < 4; ++card) {
    for (int i = 0; i < 2; ++i) {
      auto handle = m.rig.driver().wave().FindHandle(w->ControlHandles()[card * 2 + i]);
      ASSERT_TRUE(handle.has_value());
      EXPECT_EQ(handle->slot, card * 6);
      EXPECT_TRUE(handle->record);
      EXPECT_EQ(handle->callback, w->Handle());
    }
  }
  // Meters in strip order, numbered 0..7.
  ASSERT_EQ(w->MeterTable().size(), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(w->MeterTable()[i]->Tag(), i);
  // Each strip's header names its card; the separator line is not copied.
  std::vector<std::string> headers;
  int bevels = 0;
  for (Component* c : w->Components()) {
    auto* label = dynamic_cast<TLabel*>(c);
    if (label != nullptr && label->Parent() == w->pnHeader) headers.push_back(label->Caption());
    if (dynamic_cast<TBevel*>(c) != nullptr) ++bevels;
  }
  EXPECT_EQ(headers, (std::vector<std::string>{"Karte #1", "Karte #2", "Karte #3", "Karte #4"}));
  EXPECT_EQ(bevels, 1);
  EXPECT_EQ(w->pnMeters->Width(), 133 + 3 * 135);
  EXPECT_EQ(w->pnInpMon->Width(), 135 + 3 * 135);
  EXPECT_EQ(w->Height(), 444);
  EXPECT_EQ(w->FixedHeight(), 444);
}

TEST(AnalogInputWindow, OneCardHasNoHeaderRowAndIsNineteenPixelsLower) {
  MixerRig m(1);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->pnHeader->Visible());
  EXPECT_EQ(w->Height(), 444 - 19);
  EXPECT_EQ(w->FixedHeight(), 444 - 19);
  EXPECT_EQ(w->pnInpMon->Top(), 0);
  EXPECT_EQ(w->pnMeters->Top(), 122);
  EXPECT_EQ(w->MeterTable().size(), 2u);
  const MinMaxInfo limits = SizeLimits(*w);
  EXPECT_EQ(limits.ptMaxTrackSize.x, 135 + 24);
  EXPECT_EQ(limits.ptMinTrackSize.y, 425);
}

TEST(AnalogInputWindow, WidthRuleFollowsTheCardCount) {
  for (int cards = 1; cards <= 4; ++cards) {
    MixerRig m(cards);
    TfrmAnalogInp* w = m.OpenAnalogInput();
    ASSERT_NE(w, nullptr);
    const int widest = std::max(135 * cards + 24, 155);
    const MinMaxInfo limits = SizeLimits(*w);
    EXPECT_EQ(limits.ptMinTrackSize.x, 155) << cards;
    EXPECT_EQ(limits.ptMaxTrackSize.x, widest) << cards;
    EXPECT_EQ(limits.ptMaxSize.x, widest) << cards;
    EXPECT_EQ(limits.ptMaxTrackSize.y, w->FixedHeight());
    EXPECT_EQ(limits.ptMaxPosition.x, 0);
    // The user can change only the width, within the range.
    w->UserResized(2000, 900);
    EXPECT_EQ(w->Width(), widest);
    EXPECT_EQ(w->Height(), w->FixedHeight());
    w->UserResized(20, 10);
    EXPECT_EQ(w->Width(), 155);
    EXPECT_EQ(w->Height(), w->FixedHeight());
  }
}

TEST(AnalogInputWindow, ActivationReappliesTheControlWindowsStayOnTop) {
  MixerRig m(2);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  m.control->chkStayOnTop->SetChecked(true);
  const int before = m.rig.user().SetWindowPosCount();
  w->UserActivate(true);
  EXPECT_GT(m.rig.user().SetWindowPosCount(), before);
  EXPECT_TRUE(m.rig.user().IsTopmost(w->Handle()));
}

// --- input state ------------------------------------------------------------------

TEST(AnalogInputWindow, ShowingReadsEachCardsStateAndShowsIt) {
  MixerRig m(2, "[Card1]\nAnalogInputState=5,2,1,9\n[Card2]\nAnalogInputState=0,1,2,0\n");
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  const auto gets = m.InMessages(CTL_GET_INPUT_STATE);
  ASSERT_EQ(gets.size(), 2u);
  for (int card = 0; card < 2; ++card) {
    EXPECT_EQ(gets[card].handle, w->ControlHandles()[card * 2]);
    EXPECT_EQ(gets[card].dw1, w->InputStateBlock(card)->Address());
  }
  EXPECT_TRUE(StripButton(*w, *w->pnRouteParent, 0, 2)->Checked());
  EXPECT_FALSE(StripButton(*w, *w->pnRouteParent, 0, 1)->Checked());
  EXPECT_TRUE(StripButton(*w, *w->pnWhenToMonParent, 0, 1)->Checked());
  EXPECT_TRUE(StripButton(*w, *w->pnRouteParent, 1, 1)->Checked());
  EXPECT_TRUE(StripButton(*w, *w->pnWhenToMonParent, 1, 2)->Checked());
  // Every button that became checked wrote the value just read back, strip
  // by strip in component order.
  EXPECT_TRUE(CallsAre(ControlMessages(m.rig.driver().callLog().Records(),
                                       {CTL_GET_INPUT_STATE, CTL_SET_INPUT_STATE}),
                       {
                           In(CTL_GET_INPUT_STATE).Handle(w->ControlHandles()[0]),
                           In(CTL_GET_INPUT_STATE).Handle(w->ControlHandles()[2]),
                           In(CTL_SET_INPUT_STATE).Handle(w->ControlHandles()[0]).Dw1(0x09010205),
                           In(CTL_SET_INPUT_STATE).Handle(w->ControlHandles()[0]).Dw1(0x09010205),
                           In(CTL_SET_INPUT_STATE).Handle(w->ControlHandles()[2]).Dw1(0x00020100),
                           In(CTL_SET_INPUT_STATE).Handle(w->ControlHandles()[2]).Dw1(0x00020100),
                       }));
}

TEST(AnalogInputWindow, ACardWhoseStateReadIsRefusedKeepsItsRoutingAndIsNotWritten) {
  MixerRig m(2, "[Card1]\nAnalogInputState=2,2,1,0\n"
                "[Card2]\nAnalogInputState=2,2,1,0\nRefuseMessages=AnalogIn:0x4034\n");
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(CallsAre(ControlMessages(m.rig.driver().callLog().Records(),
                                       {CTL_GET_INPUT_STATE, CTL_SET_INPUT_STATE}),
                       {
                           In(CTL_GET_INPUT_STATE).Slot(0),
                           In(CTL_GET_INPUT_STATE).Slot(6).Result(1),
                           In(CTL_SET_INPUT_STATE).Slot(0).Dw1(0x00010202),
                           In(CTL_SET_INPUT_STATE).Slot(0).Dw1(0x00010202),
                       }));
  EXPECT_EQ(m.rig.driver().cards().InputState(1, 0), (std::array<std::uint8_t, 4>{2, 2, 1, 0}));
  EXPECT_FALSE(StripButton(*w, *w->pnWhenToMonParent, 1, 0)->Checked()) << "\"Never\" is not checked";
  m.ClearLog();
  m.ui.Click(*StripButton(*w, *w->pnWhenToMonParent, 1, 0));
  EXPECT_TRUE(CallsAre(ControlMessages(m.rig.driver().callLog().Records(),
                                       {CTL_GET_INPUT_STATE, CTL_SET_INPUT_STATE}),
                       {In(CTL_GET_INPUT_STATE).Slot(6).Result(1)}));
  EXPECT_EQ(m.rig.driver().cards().InputState(1, 0), (std::array<std::uint8_t, 4>{2, 2, 1, 0}));
}

TEST(AnalogInputWindow, PunchRecordInTheSecondStripWritesTheSecondCard) {
  MixerRig m(3, "[Card2]\nAnalogInputState=7,2,0,3\n");
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  m.ClearLog();
  m.ui.Click(*StripButton(*w, *w->pnWhenToMonParent, 1, 2));
  // Clicking the button that is already checked sends nothing more.
  m.ui.Click(*StripButton(*w, *w->pnWhenToMonParent, 1, 2));
  EXPECT_TRUE(CallsAre(m.InMessages(CTL_SET_INPUT_STATE),
                       {In(CTL_SET_INPUT_STATE).Slot(6).Handle(w->ControlHandles()[2]).Dw1(0x03020207)}));
  EXPECT_EQ(m.rig.driver().cards().InputState(1, 0)[2], 2);
}

TEST(AnalogInputWindow, DestinationThenActivityEachCarryBothChoices) {
  MixerRig m(2);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  m.ClearLog();
  std::array<std::uint8_t, 4> state = m.rig.driver().cards().InputState(0, 0);
  ASSERT_EQ(state[2], 0) << "the card starts monitoring never";
  auto word = [&state] { return std::uintptr_t{Le32(state.data())}; };
  m.ui.Click(*StripButton(*w, *w->pnRouteParent, 0, 2));
  state[1] = 2;
  const std::uintptr_t afterDestination = word();
  m.ui.Click(*StripButton(*w, *w->pnWhenToMonParent, 0, 1));
  state[2] = 1;
  EXPECT_TRUE(CallsAre(m.InMessages(CTL_SET_INPUT_STATE),
                       {
                           In(CTL_SET_INPUT_STATE).Handle(w->ControlHandles()[0]).Dw1(afterDestination),
                           In(CTL_SET_INPUT_STATE).Handle(w->ControlHandles()[0]).Dw1(word()),
                       }));
}

TEST(AnalogInputWindow, AStateByteThatMatchesNoButtonLeavesItsGroupClear) {
  MixerRig m(1, "[Card1]\nAnalogInputState=0,7,200,0\n");
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  for (TRadioButton* b : {w->btnAnaMon, w->btnDigMon, w->btnNever, w->btnOnRec, w->btnOnPunch})
    EXPECT_FALSE(b->Checked()) << b->Name();
  EXPECT_TRUE(m.InMessages(CTL_SET_INPUT_STATE).empty());
}

// --- metering ---------------------------------------------------------------------

TEST(AnalogInputWindow, ShowingStartsMeteringAndTheTimersDriveTheMeters) {
  MixerRig m(4);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  const auto starts = m.InMessages(CTL_IN_METER_START);
  ASSERT_EQ(starts.size(), 4u);
  for (int card = 0; card < 4; ++card) {
    EXPECT_EQ(starts[card].handle, w->ControlHandles()[card * 2]);
    EXPECT_EQ(starts[card].dw1, 0u);
  }
  EXPECT_TRUE(w->MetersRunning());
  std::uint32_t delay = 0, flags = 0;
  ASSERT_TRUE(m.rig.timer().TimerInfo(w->DecayTimerId(), &delay, &flags));
  EXPECT_EQ(delay, 40u);
  EXPECT_EQ(flags, TIME_PERIODIC);
  ASSERT_TRUE(m.rig.timer().TimerInfo(w->PollTimerId(), &delay, &flags));
  EXPECT_EQ(delay, 100u);

  m.ClearLog();
  m.Run(100);
  const auto polls = m.InMessages(CTL_IN_GET_PEAKS);
  ASSERT_EQ(polls.size(), 4u);  // one request per card
  for (int card = 0; card < 4; ++card) {
    EXPECT_EQ(polls[card].handle, w->ControlHandles()[card * 2]);
    EXPECT_EQ(polls[card].dw1, w->MeterLevelBlock().Address());
    ASSERT_EQ(polls[card].blockAfter.size(), 8u);
    const auto& b = polls[card].blockAfter;
    const int left = LeInt32(&b[0]);
    const int right = LeInt32(&b[4]);
    EXPECT_EQ(w->MeterTable()[card * 2]->Level(), left);
    EXPECT_EQ(w->MeterTable()[card * 2 + 1]->Level(), right);
  }
}

TEST(AnalogInputWindow, DecayTicksLetAHeldPeakExpireAfterThreeSeconds) {
  MixerRig m(1);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  m.Run(100);
  m.control->chkAnalogInputs->SetChecked(true);  // already open: nothing happens
  TLevelMeter* meter = w->MeterTable()[0];
  // Stop the polling only, so nothing feeds the meter; the decay goes on.
  meter->SetLevel(32767);
  ASSERT_GT(meter->PeakIndex(), 0);
  w->chkPeakMeter->SetChecked(false);
  w->Perform(WM_METER_DECAY, 0, 0);
  for (int tick = 0; tick < 80; ++tick) w->Perform(WM_METER_DECAY, 0, 0);
  EXPECT_EQ(meter->PeakIndex(), 0);
  EXPECT_EQ(w->Perform(WM_METER_DECAY, 0, 0), 1);
  EXPECT_EQ(w->Perform(WM_LEVEL_POLL, 0, 0), 1);
}

TEST(AnalogInputWindow, PeakMeterBoxStopsAndRestartsMetering) {
  MixerRig m(2);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  m.ClearLog();
  m.ui.Click(*w->chkPeakMeter);
  EXPECT_FALSE(w->chkPeakMeter->Checked());
  EXPECT_EQ(m.InMessages(CTL_IN_METER_STOP).size(), 2u);
  EXPECT_FALSE(w->MetersRunning());
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
  EXPECT_FALSE(w->pnMeters->Visible());
  EXPECT_FALSE(w->bvLine->Visible());
  EXPECT_EQ(w->Height(), 444 - 203);
  EXPECT_EQ(w->FixedHeight(), 444 - 203);
  // A poll message posted before the stop still runs once and does no harm.
  w->Perform(WM_LEVEL_POLL, 0, 0);
  EXPECT_EQ(m.InMessages(CTL_IN_GET_PEAKS).size(), 2u);

  m.ui.Click(*w->chkPeakMeter);
  EXPECT_EQ(m.InMessages(CTL_IN_METER_START).size(), 2u);
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 2u);
  EXPECT_EQ(w->Height(), 444);
  EXPECT_TRUE(w->pnMeters->Visible());
}

// --- sections, option panel and system menu -----------------------------------------------

TEST(AnalogInputWindow, MonitoringBoxHidesTheSettingsAndMovesTheMetersUp) {
  MixerRig m(2);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  const int meterTop = w->pnMeters->Top();
  m.ClearLog();
  m.ui.Click(*w->chkRouting);
  EXPECT_FALSE(w->pnInpMon->Visible());
  EXPECT_EQ(w->pnMeters->Top(), meterTop - 122);
  EXPECT_EQ(w->Height(), 444 - 122);
  EXPECT_TRUE(w->pnHeader->Visible());
  // The choices stay in force: nothing is sent to the driver.
  EXPECT_TRUE(m.InMessages(CTL_SET_INPUT_STATE).empty());
  EXPECT_TRUE(w->MetersRunning());
  m.ui.Click(*w->chkRouting);
  EXPECT_EQ(w->pnMeters->Top(), meterTop);
  EXPECT_EQ(w->Height(), 444);
}

TEST(AnalogInputWindow, SystemMenuMirrorsTheOptionsAndTogglesThem) {
  MixerRig m(2);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  std::vector<MenuItem> menu = m.rig.user().SystemMenuItems(w->Handle());
  ASSERT_EQ(menu.size(), HostUserApi::kStandardSystemMenuItems + 7);
  const std::size_t first = HostUserApi::kStandardSystemMenuItems;
  EXPECT_EQ(menu[first + 1].text, " &Monitoring");
  EXPECT_EQ(menu[first + 1].id, w->chkRouting->Identity());
  EXPECT_EQ(menu[first + 2].text, " P&eak Meter");
  EXPECT_EQ(menu[first + 4].text, " Fenstersteuerung anzeigen");
  EXPECT_EQ(menu[first + 6].text, " Info...");
  EXPECT_EQ(menu[first + 6].id, w->InfoCommandId());

  // The peak meter item acts like the box, driver messages included.
  m.ClearLog();
  w->Perform(WM_SYSCOMMAND, w->chkPeakMeter->Identity(), 0);
  EXPECT_FALSE(w->chkPeakMeter->Checked());
  EXPECT_EQ(m.InMessages(CTL_IN_METER_STOP).size(), 2u);
  menu = m.rig.user().SystemMenuItems(w->Handle());
  EXPECT_EQ(menu[first + 2].flags & MF_CHECKED, 0u);

  // The option panel item hides pnChecks and takes its height off.
  const int height = w->Height();
  w->Perform(WM_SYSCOMMAND, w->pnChecks->Identity(), 0);
  EXPECT_FALSE(w->pnChecks->Visible());
  EXPECT_EQ(w->Height(), height - 50);
  EXPECT_EQ(w->FixedHeight(), height - 50);
  menu = m.rig.user().SystemMenuItems(w->Handle());
  EXPECT_EQ(menu[first + 4].flags & MF_CHECKED, 0u);

  // Both sections off as well: only the frame and caption remain.
  w->Perform(WM_SYSCOMMAND, w->chkRouting->Identity(), 0);
  EXPECT_FALSE(w->grpInput->Visible());
  EXPECT_EQ(w->Height(), kFrameHeight);
  EXPECT_EQ(w->FixedHeight(), kFrameHeight);

  // And each part comes back through the menu.
  w->Perform(WM_SYSCOMMAND, w->chkPeakMeter->Identity(), 0);
  EXPECT_TRUE(w->grpInput->Visible());
  EXPECT_TRUE(w->pnMeters->Visible());
  EXPECT_TRUE(w->MetersRunning());
  w->Perform(WM_SYSCOMMAND, w->chkRouting->Identity(), 0);
  w->Perform(WM_SYSCOMMAND, w->pnChecks->Identity(), 0);
  EXPECT_TRUE(w->pnChecks->Visible());
  EXPECT_EQ(w->Height(), 444);
  EXPECT_EQ(w->FixedHeight(), 444);
  EXPECT_EQ(w->grpInput->Height(), 444 - kFrameHeight - 50);
}

TEST(AnalogInputWindow, InfoItemShowsTheAboutBoxModally) {
  MixerRig m(1);
  Windows().AboutBox = new TAboutBox(nullptr);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->InfoCommandId(), Windows().AboutBox->Identity());
  m.rig.backend().SetModalHandler([](TForm& form) { form.SetModalResult(mrOk); });
  w->Perform(WM_SYSCOMMAND, w->InfoCommandId(), 0);
  ASSERT_EQ(m.rig.backend().ModalLog().size(), 1u);
  EXPECT_EQ(m.rig.backend().ModalLog()[0], Windows().AboutBox->Name());
  EXPECT_TRUE(w->chkPeakMeter->Checked());  // nothing else toggled
  FreeAndNil(Windows().AboutBox);
}

// --- persistence and closing -----------------------------------------------------------------

TEST(AnalogInputWindow, ClosingSavesStopsPostsAndTheControlWindowFreesIt) {
  MixerRig m(2);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->chkRouting);
  w->UserResized(250, 999);
  m.ClearLog();
  w->UserCloseRequest();
  EXPECT_EQ(m.InMessages(CTL_IN_METER_STOP).size(), 2u);
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
  Application::Instance().ProcessMessages();  // the window-closed notice
  EXPECT_FALSE(m.control->chkAnalogInputs->Checked());
  EXPECT_EQ(m.AnalogInput(), nullptr);
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
  const std::string ini = m.ReadIni();
  EXPECT_NE(ini.find("[Analog Input]"), std::string::npos);
  EXPECT_NE(ini.find("chkRouting=0"), std::string::npos);
  EXPECT_NE(ini.find("chkPeakMeter=1"), std::string::npos);
  EXPECT_NE(ini.find("pnChecks=1"), std::string::npos);
  EXPECT_NE(ini.find("Width=250"), std::string::npos);

  // The next opening restores what the close saved.
  TfrmAnalogInp* again = m.OpenAnalogInput();
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(again->chkRouting->Checked());
  EXPECT_FALSE(again->pnInpMon->Visible());
  EXPECT_EQ(again->Width(), 250);
  EXPECT_EQ(again->Height(), 444 - 122);
}

TEST(AnalogInputWindow, StoredOptionsShapeTheWindowBeforeMeteringStarts) {
  MixerRig m(2);
  m.WriteIni("[Analog Input]\nchkPeakMeter=0\npnChecks=0\nHeight=3000\n");
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(m.InMessages(CTL_IN_METER_START).empty());
  EXPECT_FALSE(w->MetersRunning());
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
  EXPECT_FALSE(w->pnChecks->Visible());
  EXPECT_EQ(w->Height(), 444 - 203 - 50);
  EXPECT_EQ(w->FixedHeight(), 444 - 203 - 50);
  w->Perform(WM_SYSCOMMAND, w->chkPeakMeter->Identity(), 0);
  EXPECT_EQ(m.InMessages(CTL_IN_METER_START).size(), 2u);
  EXPECT_EQ(w->Height(), 444 - 50);
}

TEST(AnalogInputWindow, StoredWidthOutsideTheLimitsIsClamped) {
  {
    MixerRig m(4);
    m.WriteIni("[Analog Input]\nWidth=2000\n");
    TfrmAnalogInp* w = m.OpenAnalogInput();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Width(), 564);
  }
  {
    MixerRig m(4);
    m.WriteIni("[Analog Input]\nWidth=-40\nHeight=1\n");
    TfrmAnalogInp* w = m.OpenAnalogInput();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Width(), 155);
    EXPECT_EQ(w->Height(), 444);
  }
}

}  // namespace
}  // namespace zentra::testing
