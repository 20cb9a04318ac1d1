// The digital input window through the control window: its strips, the
// input state read back into three groups and written by every choice, the
// measured rate shown per card every second, and its metering start rule.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/level_meter.h"
#include "driver/control_messages.h"
#include "mixer/digital_input_window.h"
#include "mixer/mixer_rig.h"
#include "support/call_sequence.h"
#include "toolkit/timer.h"

namespace zentra::testing {
namespace {

TfrmDigInp* OpenDigitalInput(MixerRig& m) {
  m.Tick(*m.control->chkDigitalInputs, true);
  return m.WindowOf<TfrmDigInp>("TfrmDigInp");
}

std::vector<std::string> RateCaptions(const TfrmDigInp& w, int cards) {
  std::vector<std::string> out;
  for (int card = 0; card < cards; ++card) out.push_back(w.RateLabel(card)->Caption());
  return out;
}

// --- construction and size --------------------------------------------------------

TEST(DigitalInputWindow, FourCardsGetStripsOnTheDigitalRecordDevicesAndEachItsRateLabel) {
  MixerRig m(4);
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->Caption(), "Digital Input");
  ASSERT_EQ(w->ControlHandleCount(), 8u);
  for (int i = 0; i < 8; ++i) {
    auto handle = m.rig.driver().wave().FindHandle(w->ControlHandles()[i]);
    ASSERT_TRUE(handle.has_value());
    EXPECT_EQ(handle->slot, (i / 2) * 6 + 1);
    EXPECT_TRUE(handle->record);
  }
  ASSERT_EQ(w->MeterTable().size(), 8u);
  for (int card = 0; card < 4; ++card) {
    ASSERT_NE(w->RateLabel(card), nullptr);
    EXPECT_EQ(w->RateLabel(card)->Tag(), card + 1);
    EXPECT_EQ(w->RateLabel(card)->Left(), w->lbRate->Left() + 135 * card);
    EXPECT_EQ(w->RateLabel(card)->Caption(), "44100 Hz");
  }
  EXPECT_EQ(w->RateLabel(0), w->lbRate);
  EXPECT_EQ(w->pnLevel->Width(), 131 + 3 * 135);
  EXPECT_EQ(w->pnInpStat->Width(), 135 + 3 * 135);
  EXPECT_EQ(w->pnInpStat->Height(), 196);
  EXPECT_EQ(w->pnRouteParent->Top(), 68);
  EXPECT_EQ(w->pnWhenToMonParent->Top(), 118);
  EXPECT_EQ(w->Height(), 518);
  EXPECT_EQ(w->RateBlock().Size(), 4u);
}

TEST(DigitalInputWindow, WidthRuleAndTheHeaderRowFollowTheCardCount) {
  for (int cards = 1; cards <= 4; ++cards) {
    MixerRig m(cards);
    TfrmDigInp* w = OpenDigitalInput(m);
    ASSERT_NE(w, nullptr);
    const int widest = std::max(135 * cards + 20, 155);
    const MinMaxInfo limits = SizeLimits(*w);
    EXPECT_EQ(limits.ptMinTrackSize.x, 155) << cards;
    EXPECT_EQ(limits.ptMaxTrackSize.x, widest) << cards;
    w->UserResized(2000, 900);
    EXPECT_EQ(w->Width(), widest) << cards;
    w->UserResized(20, 10);
    EXPECT_EQ(w->Width(), 155) << cards;
    EXPECT_EQ(w->pnHeader->Visible(), cards > 1);
    EXPECT_EQ(w->Height(), cards > 1 ? 518 : 518 - 19);
  }
  MixerRig four(4);
  TfrmDigInp* w = OpenDigitalInput(four);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SizeLimits(*w).ptMaxTrackSize.x, 560);
}

// --- input state ------------------------------------------------------------------

TEST(DigitalInputWindow, ShowingReadsEachCardAndWritesBackEachCheckedGroupInComponentOrder) {
  MixerRig m(2, "[Card1]\nDigitalInputState=2,2,1,9\n[Card2]\nDigitalInputState=1,1,2,0\n");
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(CallsAre(MessagesWithoutPolls(m), {
                                                    In(CTL_GET_INPUT_STATE).Slot(1).Dw2(0),
                                                    In(CTL_GET_INPUT_STATE).Slot(7).Dw2(0),
                                                    In(CTL_SET_INPUT_STATE).Slot(1).Dw1(0x09010202),
                                                    In(CTL_SET_INPUT_STATE).Slot(1).Dw1(0x09010202),
                                                    In(CTL_SET_INPUT_STATE).Slot(1).Dw1(0x09010202),
                                                    In(CTL_SET_INPUT_STATE).Slot(7).Dw1(0x00020101),
                                                    In(CTL_SET_INPUT_STATE).Slot(7).Dw1(0x00020101),
                                                    In(CTL_SET_INPUT_STATE).Slot(7).Dw1(0x00020101),
                                                    In(CTL_IN_METER_START).Slot(1).Dw1(0).Dw2(0),
                                                    In(CTL_IN_METER_START).Slot(7).Dw1(0).Dw2(0),
                                                }));
  EXPECT_TRUE(StripButton(*w, *w->pnInpSelParent, 0, 2)->Checked());
  EXPECT_TRUE(StripButton(*w, *w->pnRouteParent, 0, 2)->Checked());
  EXPECT_TRUE(StripButton(*w, *w->pnWhenToMonParent, 0, 1)->Checked());
  EXPECT_TRUE(StripButton(*w, *w->pnInpSelParent, 1, 1)->Checked());
  EXPECT_TRUE(StripButton(*w, *w->pnWhenToMonParent, 1, 2)->Checked());
}

TEST(DigitalInputWindow, ACardWhoseStateReadIsRefusedIsNotWrittenAtShowingAndIsReadAgainBeforeAChoice) {
  MixerRig m(2, "[Card1]\nDigitalInputState=2,2,1,0\n"
                "[Card2]\nDigitalInputState=2,2,1,0\nRefuseMessages=DigitalIn:0x4034\n");
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  // Card 1 is read back and written as ever; card 2 gets nothing.
  EXPECT_TRUE(CallsAre(MessagesWithoutPolls(m), {
                                                    In(CTL_GET_INPUT_STATE).Slot(1),
                                                    In(CTL_GET_INPUT_STATE).Slot(7).Result(1),
                                                    In(CTL_SET_INPUT_STATE).Slot(1).Dw1(0x00010202),
                                                    In(CTL_SET_INPUT_STATE).Slot(1).Dw1(0x00010202),
                                                    In(CTL_SET_INPUT_STATE).Slot(1).Dw1(0x00010202),
                                                    In(CTL_IN_METER_START).Slot(1),
                                                    In(CTL_IN_METER_START).Slot(7),
                                                }));
  EXPECT_EQ(m.rig.driver().cards().InputState(1, 1), (std::array<std::uint8_t, 4>{2, 2, 1, 0}));
  // Its buttons stay as they were built: none checked.
  for (const TPanel* group : {w->pnInpSelParent, w->pnRouteParent, w->pnWhenToMonParent})
    for (int value = 0; value <= 2; ++value)
      if (TRadioButton* b = StripButton(*w, *group, 1, value)) {
        EXPECT_FALSE(b->Checked()) << b->Name();
      }
  // A choice on card 2 reads its state first; refused again, nothing is written.
  m.ClearLog();
  m.ui.Click(*StripButton(*w, *w->pnWhenToMonParent, 1, 2));
  EXPECT_TRUE(CallsAre(MessagesWithoutPolls(m), {In(CTL_GET_INPUT_STATE).Slot(7).Result(1)}));
  EXPECT_EQ(m.rig.driver().cards().InputState(1, 1), (std::array<std::uint8_t, 4>{2, 2, 1, 0}));
  // Once the read succeeds, the choice goes out with the card's own bytes;
  // the state is known from then on.
  m.rig.driver().cards().SetRefusedMessages(1, {});
  m.ClearLog();
  m.ui.Click(*StripButton(*w, *w->pnInpSelParent, 1, 1));
  m.ui.Click(*StripButton(*w, *w->pnRouteParent, 1, 1));
  EXPECT_TRUE(CallsAre(MessagesWithoutPolls(m), {
                                                    In(CTL_GET_INPUT_STATE).Slot(7).Result(0),
                                                    In(CTL_SET_INPUT_STATE).Slot(7).Dw1(0x00010201),
                                                    In(CTL_SET_INPUT_STATE).Slot(7).Dw1(0x00010101),
                                                }));
  EXPECT_EQ(m.rig.driver().cards().InputState(1, 1), (std::array<std::uint8_t, 4>{1, 1, 1, 0}));
}

TEST(DigitalInputWindow, EveryChoiceWritesItsByteWithTheOthersAsLastReadOrSet) {
  MixerRig m(2, "[Card2]\nDigitalInputState=1,1,0,3\n");
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  m.ClearLog();
  m.ui.Click(*StripButton(*w, *w->pnInpSelParent, 1, 2));     // Electrical, second strip
  m.ui.Click(*StripButton(*w, *w->pnRouteParent, 1, 2));      // monitored on the digital output
  m.ui.Click(*StripButton(*w, *w->pnWhenToMonParent, 1, 2));  // while punch recording
  m.ui.Click(*StripButton(*w, *w->pnInpSelParent, 1, 1));     // Optical again
  m.ui.Click(*StripButton(*w, *w->pnWhenToMonParent, 0, 1));  // first strip: while recording
  m.ui.Click(*StripButton(*w, *w->pnInpSelParent, 1, 1));     // already checked: nothing
  EXPECT_TRUE(CallsAre(MessagesWithoutPolls(m), {
                                                    In(CTL_SET_INPUT_STATE).Slot(7).Dw1(0x03000102),
                                                    In(CTL_SET_INPUT_STATE).Slot(7).Dw1(0x03000202),
                                                    In(CTL_SET_INPUT_STATE).Slot(7).Dw1(0x03020202),
                                                    In(CTL_SET_INPUT_STATE).Slot(7).Dw1(0x03020201),
                                                    In(CTL_SET_INPUT_STATE).Slot(1).Dw1(0x00010101),
                                                }));
  EXPECT_EQ(m.rig.driver().cards().InputState(1, 1), (std::array<std::uint8_t, 4>{1, 2, 2, 3}));
}

TEST(DigitalInputWindow, AnInputSelectOutsideItsValuesLeavesThatGroupClear) {
  MixerRig m(1, "[Card1]\nDigitalInputState=0,2,7,0\n");
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->btnOptical->Checked());
  EXPECT_FALSE(w->btnElectrical->Checked());
  EXPECT_TRUE(w->btnDigMon->Checked());
  for (TRadioButton* b : {w->btnNever, w->btnOnRec, w->btnOnPunch}) EXPECT_FALSE(b->Checked());
  EXPECT_EQ(m.InMessages(CTL_SET_INPUT_STATE).size(), 1u);
}

// --- measured rate ----------------------------------------------------------------

TEST(DigitalInputWindow, EachSecondEveryCardsRateIsReadAndShownReplacingTheDesignCaption) {
  MixerRig m(2, "[Card1]\nInputRate=48000\n[Card2]\nInputRate=0\n");
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->RateTimer->Enabled());
  EXPECT_EQ(w->RateTimer->Interval(), 1000u);
  EXPECT_TRUE(m.InMessages(CTL_GET_INPUT_RATE).empty());
  m.RunAll(990);
  EXPECT_EQ(RateCaptions(*w, 2), (std::vector<std::string>{"44100 Hz", "44100 Hz"}));
  m.ClearLog();
  m.RunAll(10);
  EXPECT_EQ(RateCaptions(*w, 2), (std::vector<std::string>{"48000 Hz", "No Lock"}));
  m.RunAll(2000);
  const auto address = w->RateBlock().Address();
  EXPECT_TRUE(CallsAre(m.InMessages(CTL_GET_INPUT_RATE), {
                                                             In(CTL_GET_INPUT_RATE).Slot(1).Dw1(address).Dw2(0),
                                                             In(CTL_GET_INPUT_RATE).Slot(7).Dw1(address).Dw2(0),
                                                             In(CTL_GET_INPUT_RATE).Slot(1).Dw1(address),
                                                             In(CTL_GET_INPUT_RATE).Slot(7).Dw1(address),
                                                             In(CTL_GET_INPUT_RATE).Slot(1).Dw1(address),
                                                             In(CTL_GET_INPUT_RATE).Slot(7).Dw1(address),
                                                         }));
}

TEST(DigitalInputWindow, TheShownRateFollowsTheIncomingRateWithinASecond) {
  MixerRig m(2, "[Card1]\nInputRateSteps=1500:96000,3200:0,4100:44100\n");
  m.FollowVirtualClock();
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  m.RunAll(1000);
  EXPECT_EQ(w->RateLabel(0)->Caption(), "44100 Hz");
  m.RunAll(1000);
  EXPECT_EQ(w->RateLabel(0)->Caption(), "96000 Hz");
  m.RunAll(2000);
  EXPECT_EQ(w->RateLabel(0)->Caption(), "No Lock");
  m.RunAll(1000);
  EXPECT_EQ(w->RateLabel(0)->Caption(), "44100 Hz");
  EXPECT_EQ(w->RateLabel(1)->Caption(), "44100 Hz");
}

TEST(DigitalInputWindow, RatesAreShownAsUnsignedNumbersAtTheEndsOfTheRange) {
  MixerRig m(3);
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  m.rig.driver().cards().SetInputRate(0, 1);
  m.rig.driver().cards().SetInputRate(1, 4294967295u);
  m.rig.driver().cards().SetInputRate(2, 0);
  m.RunAll(1000);
  EXPECT_EQ(RateCaptions(*w, 3), (std::vector<std::string>{"1 Hz", "4294967295 Hz", "No Lock"}));
  EXPECT_EQ(RateCaption(2147483648u), "2147483648 Hz");
}

TEST(DigitalInputWindow, ARefusedRateRequestLeavesThatCardsLabelAsItWas) {
  // The shared block still holds the first card's rate after the second
  // card's request fails; the second card must not show it.
  MixerRig m(3, "[Card1]\nInputRate=96000\n[Card2]\nRefuseInputRate=1\n[Card3]\nInputRate=0\n");
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  m.RunAll(3000);
  EXPECT_EQ(RateCaptions(*w, 3), (std::vector<std::string>{"96000 Hz", "44100 Hz", "No Lock"}));
  const auto requests = m.InMessages(CTL_GET_INPUT_RATE);
  ASSERT_EQ(requests.size(), 9u);
  EXPECT_NE(requests[1].result, 0u);
}

TEST(DigitalInputWindow, WithTheSettingsHiddenTheRateIsStillReadEverySecond) {
  MixerRig m(2, "[Card2]\nInputRate=32000\n");
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->chkInpSelRate);
  EXPECT_FALSE(w->pnInpStat->Visible());
  EXPECT_EQ(w->Height(), 518 - 196);
  EXPECT_EQ(w->pnLevel->Top(), 19);
  m.ClearLog();
  m.RunAll(2000);
  EXPECT_EQ(m.InMessages(CTL_GET_INPUT_RATE).size(), 4u);
  EXPECT_EQ(w->RateLabel(1)->Caption(), "32000 Hz");
  m.ui.Click(*w->chkInpSelRate);
  EXPECT_TRUE(w->pnInpStat->Visible());
  EXPECT_EQ(w->Height(), 518);
}

// --- metering ---------------------------------------------------------------------

TEST(DigitalInputWindow, ARefusedStartOnTheLastCardLeavesMeteringMarkedStoppedWithTimersRunning) {
  MixerRig m(2, "[Card2]\nRefuseMeterStart=DigitalIn\n");
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->MetersRunning());
  EXPECT_NE(w->DecayTimerId(), 0u);
  EXPECT_NE(w->PollTimerId(), 0u);
  // The meters still run from the timers: the first card's meters move.
  m.RunAll(500);
  EXPECT_GT(w->MeterTable()[0]->Level() + w->MeterTable()[1]->Level(), 0);
  // Stopping sends no stop requests but kills both timers; ticking the box
  // again tries the start again.
  m.ClearLog();
  m.ui.Click(*w->chkPeakMeter);
  EXPECT_EQ(w->DecayTimerId(), 0u);
  EXPECT_EQ(w->PollTimerId(), 0u);
  m.ui.Click(*w->chkPeakMeter);
  EXPECT_TRUE(CallsAre(MessagesWithoutPolls(m), {
                                                    In(CTL_IN_METER_START).Slot(1),
                                                    In(CTL_IN_METER_START).Slot(7).Result(1),
                                                }));
  EXPECT_FALSE(w->MetersRunning());
  m.ClearLog();
  m.Tick(*m.control->chkDigitalInputs, false);
  EXPECT_TRUE(m.InMessages(CTL_IN_METER_STOP).empty());
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
}

TEST(DigitalInputWindow, ARefusedStartOnAnEarlierCardStillCountsAsRunning) {
  MixerRig m(2, "[Card1]\nRefuseMeterStart=DigitalIn\n");
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->MetersRunning());
  m.ClearLog();
  m.ui.Click(*w->chkPeakMeter);
  EXPECT_TRUE(CallsAre(MessagesWithoutPolls(m), {In(CTL_IN_METER_STOP).Slot(1), In(CTL_IN_METER_STOP).Slot(7)}));
}

// --- closing ----------------------------------------------------------------------

TEST(DigitalInputWindow, ClosingSavesItsSectionAndLeavesNothingBehind) {
  MixerRig m(2);
  TfrmDigInp* w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->chkInpSelRate);
  const int timersBefore = m.rig.backend().ActiveTimerCount();
  EXPECT_GE(timersBefore, 1);
  m.ui.CloseBox(*w);
  EXPECT_FALSE(m.control->chkDigitalInputs->Checked());
  EXPECT_EQ(m.WindowOf<TfrmDigInp>("TfrmDigInp"), nullptr);
  const std::string ini = m.ReadIni();
  EXPECT_NE(ini.find("[Digital Input]"), std::string::npos);
  EXPECT_NE(ini.find("chkInpSelRate=0"), std::string::npos) << ini;
  EXPECT_NE(ini.find("chkPeakMeter=1"), std::string::npos) << ini;
  EXPECT_NE(ini.find("pnChecks=1"), std::string::npos) << ini;
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
  EXPECT_LT(m.rig.backend().ActiveTimerCount(), timersBefore);
  // The stored state shapes the next opening.
  w = OpenDigitalInput(m);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->pnInpStat->Visible());
  EXPECT_EQ(w->Height(), 518 - 196);
}

TEST(DigitalInputWindow, NoSharedMemoryAtShowingReadsNoRate) {
  MixerRig m(2);
  auto* w = new TfrmDigInp(m.control, *m.control);
  ASSERT_TRUE(w->Ready());
  m.rig.driver().arena().FailNextAllocations(1);
  w->Show();
  EXPECT_FALSE(w->Ready());
  EXPECT_FALSE(w->RateTimer->Enabled());
  m.RunAll(2000);
  EXPECT_TRUE(m.InMessages(CTL_GET_INPUT_RATE).empty());
  EXPECT_TRUE(m.InMessages(CTL_IN_METER_START).empty());
  w->Close();
  Free(w);
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
}

TEST(DigitalInputWindow, NoRateBlockAtConstructionMeansNotReady) {
  MixerRig m(2);
  m.rig.driver().arena().FailAllocation(2);  // the rate block, allocated after the level block
  EXPECT_EQ(OpenDigitalInput(m), nullptr);
  EXPECT_FALSE(m.control->chkDigitalInputs->Checked());
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
}

}  // namespace
}  // namespace zentra::testing
