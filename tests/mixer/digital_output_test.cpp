// The digital output window through the control window: its strips and
// handles, the source read from the driver every second, every source
// change with the metering that follows it and the restore after a refusal,
// the analog input choice that follows the analog output's source, the
// refresh link with the analog output window, and the channel-status format.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/level_meter.h"
#include "driver/control_messages.h"
#include "mixer/digital_output_window.h"
#include "mixer/mixer_rig.h"
#include "support/call_sequence.h"
#include "toolkit/timer.h"

namespace zentra::testing {
namespace {

using Kind = sim::CallRecord::Kind;

TfrmDigOut* OpenDigitalOutput(MixerRig& m) {
  m.Tick(*m.control->chkDigitalOutputs, true);
  return m.WindowOf<TfrmDigOut>("TfrmDigOut");
}

// What reached the driver: opens, closes and control messages, without the
// level polls and, unless asked for, the source reads of the refresh.
std::vector<sim::CallRecord> Conversation(MixerRig& m, bool withSourceReads = false) {
  std::vector<sim::CallRecord> out;
  for (const sim::CallRecord& r : m.rig.driver().callLog().Records()) {
    const bool message = r.kind == Kind::WaveInMessage || r.kind == Kind::WaveOutMessage;
    if (!message && r.kind != Kind::Open && r.kind != Kind::Close) continue;
    if (message && (r.message == CTL_IN_GET_PEAKS || r.message == CTL_OUT_GET_PEAKS)) continue;
    if (message && r.message == CTL_GET_OUTPUT_SOURCE && !withSourceReads) continue;
    out.push_back(r);
  }
  return out;
}

TRadioButton& Source(TfrmDigOut& w, int card, int source) { return *w.StripOf(card).sources[source]; }

int CheckedSource(const TfrmDigOut& w, int card) {
  for (int s = 0; s < 4; ++s)
    if (w.StripOf(card).sources[s]->Checked()) return s;
  return -1;
}

// --- construction -------------------------------------------------------------------

TEST(DigitalOutputWindow, FourCardsGetStripsWithHandlesOnBothOutputsAndMetersByTag) {
  MixerRig m(4);
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Caption(), "Digital Output");
  ASSERT_EQ(w->ControlHandleCount(), 8u);
  for (int i = 0; i < 8; ++i) {
    auto handle = m.rig.driver().wave().FindHandle(w->ControlHandles()[i]);
    ASSERT_TRUE(handle.has_value());
    EXPECT_EQ(handle->slot, (i / 2) * 6 + 1);
    EXPECT_FALSE(handle->record);
  }
  // Two more per card on the analog playback device.
  const auto opens = m.rig.Records(Kind::Open);
  ASSERT_GE(opens.size(), 16u);
  for (int i = 8; i < 16; ++i) EXPECT_EQ(opens[i].deviceSlot, ((i - 8) / 2) * 6) << i;
  EXPECT_EQ(m.OpenHandleCount(), 16u);
  ASSERT_EQ(w->MeterTable().size(), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(w->MeterTable()[i]->Tag(), i);
  for (int card = 0; card < 4; ++card) {
    const TfrmDigOut::Strip& strip = w->StripOf(card);
    ASSERT_NE(strip.route, nullptr);
    ASSERT_NE(strip.format, nullptr);
    EXPECT_EQ(strip.route->Tag(), card);
    EXPECT_EQ(strip.format->Tag(), card);
    for (int s = 0; s < 4; ++s) {
      ASSERT_NE(strip.sources[s], nullptr);
      EXPECT_EQ(strip.sources[s]->Tag(), s);
      EXPECT_EQ(strip.sources[s]->Left(), w->btnProgram->Left());
    }
    EXPECT_EQ(strip.route->Left(), 143 * card);
    ASSERT_NE(strip.audio, nullptr);
    ASSERT_NE(strip.cons, nullptr);
    ASSERT_NE(strip.prof, nullptr);
    // The format block is the card's own, inside its route panel.
    EXPECT_EQ(strip.format->Parent(), strip.route);
    for (const Control* c : {static_cast<const Control*>(strip.audio), static_cast<const Control*>(strip.cons),
                             static_cast<const Control*>(strip.prof)})
      EXPECT_EQ(c->Parent(), strip.format) << card;
  }
  EXPECT_EQ(w->pnLevel->Width(), 137 + 3 * 143);
  EXPECT_EQ(w->pnPlaybackSel->Height(), 158);
  EXPECT_EQ(w->Height(), 480);
}

TEST(DigitalOutputWindow, WidthRuleFollowsTheCardCount) {
  for (int cards = 1; cards <= 4; ++cards) {
    MixerRig m(cards);
    TfrmDigOut* w = OpenDigitalOutput(m);
    ASSERT_NE(w, nullptr);
    const int widest = std::max(143 * cards + 20, 161);
    EXPECT_EQ(SizeLimits(*w).ptMinTrackSize.x, 161) << cards;
    EXPECT_EQ(SizeLimits(*w).ptMaxTrackSize.x, widest) << cards;
    w->UserResized(2000, 900);
    EXPECT_EQ(w->Width(), widest) << cards;
    w->UserResized(20, 10);
    EXPECT_EQ(w->Width(), 161) << cards;
    EXPECT_EQ(w->Height(), cards > 1 ? 480 : 480 - 19);
  }
}

// --- showing ------------------------------------------------------------------------

TEST(DigitalOutputWindow, ShowingReadsSourcesThenFormatsThenStartsMeteringBySource) {
  MixerRig m(2, "[Card2]\nDigitalOutputSource=2,5,6\nChannelStatus=0x88\n");
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  // The handles of construction: both cards' digital outputs, then their
  // analog outputs. Per source button: the digital output's source, then
  // the analog output's; a button that matches carries out the change to
  // its source.
  std::vector<Call> expected = {Call::Open(1), Call::Open(1), Call::Open(7), Call::Open(7),
                                Call::Open(0), Call::Open(0), Call::Open(6), Call::Open(6)};
  for (int s = 0; s < 4; ++s) {
    expected.push_back(Out(CTL_GET_OUTPUT_SOURCE).Slot(1).Dw2(0));
    if (s == 0) expected.push_back(Out(CTL_SET_OUTPUT_SOURCE).Slot(1).Dw1(0));
    expected.push_back(Out(CTL_GET_OUTPUT_SOURCE).Slot(0).Dw2(0));
  }
  for (int s = 0; s < 4; ++s) {
    expected.push_back(Out(CTL_GET_OUTPUT_SOURCE).Slot(7));
    if (s == 2) {
      expected.push_back(Out(CTL_SET_OUTPUT_SOURCE).Slot(7).Dw1(0x00060502));
      expected.push_back(Call::Open(6));
      expected.push_back(Call::Open(6));
    }
    expected.push_back(Out(CTL_GET_OUTPUT_SOURCE).Slot(6));
  }
  for (Call c : {Out(CTL_GET_CHANNEL_STATUS).Slot(1), Out(CTL_SET_CHANNEL_STATUS).Slot(1).Dw1(0x20),
                 Out(CTL_GET_CHANNEL_STATUS).Slot(7), Out(CTL_SET_CHANNEL_STATUS).Slot(7).Dw1(0x88),
                 Out(CTL_OUT_METER_START).Slot(1), In(CTL_IN_METER_START).Slot(6),
                 In(CTL_IN_METER_START).Slot(6)})
    expected.push_back(c);
  EXPECT_TRUE(CallsAre(Conversation(m, true), expected));
  EXPECT_EQ(CheckedSource(*w, 0), 0);
  EXPECT_EQ(CheckedSource(*w, 1), 2);
  EXPECT_EQ(w->SourceOf(1), 2);
  EXPECT_EQ(w->LastRouteButton(1), &Source(*w, 1, 2));
  EXPECT_TRUE(w->secTimer->Enabled());
  // The second card's meters show its analog input.
  m.RunAll(500);
  EXPECT_FALSE(m.InMessages(CTL_IN_GET_PEAKS).empty());
  EXPECT_GT(w->MeterTable()[2]->Level() + w->MeterTable()[3]->Level(), 0);
}

TEST(DigitalOutputWindow, ASourceByteOutsideTheFourSourcesChecksNoButtonAndKeepsMetering) {
  MixerRig m(1, "[Card1]\nDigitalOutputSource=9,0,0\n");
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(CheckedSource(*w, 0), -1);
  EXPECT_EQ(w->SourceOf(0), 0);
  EXPECT_EQ(m.rig.Records(Kind::Open).size(), 4u);
  EXPECT_TRUE(CallsAre(ControlMessages(m.rig.driver().callLog().Records(),
                                       {CTL_SET_OUTPUT_SOURCE, CTL_OUT_METER_START}),
                       {Out(CTL_OUT_METER_START).Slot(1)}));
}

// --- source change ----------------------------------------------------------------------

TEST(DigitalOutputWindow, EverySourceChangeMovesTheMeteringToTheNewSource) {
  MixerRig m(2);
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  m.ClearLog();
  m.ui.Click(Source(*w, 1, 2));  // analog input
  m.ui.Click(Source(*w, 1, 1));  // analog output
  m.ui.Click(Source(*w, 1, 3));  // digital input
  m.ui.Click(Source(*w, 1, 0));  // application program
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(7).Dw1(2).Result(0),
                                            Out(CTL_OUT_METER_STOP).Slot(7),
                                            Call::Open(6),
                                            Call::Open(6),
                                            In(CTL_IN_METER_START).Slot(6),
                                            In(CTL_IN_METER_START).Slot(6),
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(7).Dw1(1).Result(0),
                                            In(CTL_IN_METER_STOP).Slot(6),
                                            In(CTL_IN_METER_STOP).Slot(6),
                                            Call::Close(6),
                                            Call::Close(6),
                                            Call::Open(6),
                                            Call::Open(6),
                                            Out(CTL_OUT_METER_START).Slot(6),
                                            Out(CTL_OUT_METER_START).Slot(6),
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(7).Dw1(3).Result(0),
                                            Out(CTL_OUT_METER_STOP).Slot(6),
                                            Out(CTL_OUT_METER_STOP).Slot(6),
                                            Call::Close(6),
                                            Call::Close(6),
                                            Call::Open(7),
                                            Call::Open(7),
                                            In(CTL_IN_METER_START).Slot(7),
                                            In(CTL_IN_METER_START).Slot(7),
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(7).Dw1(0).Result(0),
                                            In(CTL_IN_METER_STOP).Slot(7),
                                            In(CTL_IN_METER_STOP).Slot(7),
                                            Call::Close(7),
                                            Call::Close(7),
                                            Out(CTL_OUT_METER_START).Slot(7),
                                        }));
  EXPECT_EQ(m.rig.driver().cards().OutputSource(1, 1)[0], 0);
  EXPECT_EQ(m.OpenHandleCount(), 8u);
  EXPECT_TRUE(w->secTimer->Enabled());
  EXPECT_NE(w->PollTimerId(), 0u);
}

TEST(DigitalOutputWindow, TheMetersShowTheChosenSource) {
  MixerRig m(1, "[Card1]\nInputRate=0\n");
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  m.ui.Click(Source(*w, 0, 2));
  m.RunAll(300);
  const auto analogPeaks = m.InMessages(CTL_IN_GET_PEAKS);
  ASSERT_FALSE(analogPeaks.empty());
  EXPECT_EQ(analogPeaks.back().deviceSlot, 0);
  EXPECT_GT(w->MeterTable()[0]->Level(), 0);
  // A digital input without lock is silent: the meters fall.
  m.ui.Click(Source(*w, 0, 3));
  m.RunAll(4000);
  EXPECT_EQ(m.InMessages(CTL_IN_GET_PEAKS).back().deviceSlot, 1);
  EXPECT_EQ(w->MeterTable()[0]->Level(), 0);
}

TEST(DigitalOutputWindow, ARefusedChangeRestoresThePreviousButtonSilently) {
  struct Case {
    const char* scenario;
    int refused;
  };
  for (const Case& c : {Case{"[Card2]\nRefuseSourceChange=1\n", 2},
                        Case{"[Card2]\nAdatInUse=1\n", 3},                  // digital monitoring under ADAT
                        Case{"[Card2]\nAnalogOutputSource=1,0,1\n", 1}}) {  // the outputs would play each other
    MixerRig m(2, c.scenario);
    TfrmDigOut* w = OpenDigitalOutput(m);
    ASSERT_NE(w, nullptr) << c.scenario;
    m.ui.Focus(Source(*w, 1, 0));
    m.ClearLog();
    m.ui.Click(Source(*w, 1, c.refused));
    // Nothing changed: the previous button is checked again without a
    // change to the source in force (no second 0x400B, the metering never
    // stopped).
    EXPECT_TRUE(CallsAre(Conversation(m), {
                                              Out(CTL_SET_OUTPUT_SOURCE).Slot(7).Dw1(c.refused).Result(1),
                                          }))
        << c.scenario;
    EXPECT_EQ(CheckedSource(*w, 1), 0) << c.scenario;
    EXPECT_TRUE(Source(*w, 1, 0).Focused()) << c.scenario;
    EXPECT_EQ(w->SourceOf(1), 0) << c.scenario;
    EXPECT_TRUE(m.rig.user().MessageBoxes().empty()) << c.scenario;
    EXPECT_EQ(m.OpenHandleCount(), 8u) << c.scenario;
    EXPECT_TRUE(w->secTimer->Enabled()) << c.scenario;
  }
}

TEST(DigitalOutputWindow, ASourceHandleThatWillNotOpenSetsTheDriverBackAndLeaksNothing) {
  MixerRig m(2, "[Card2]\nRefuseOpen=AnalogIn\n");
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  m.ClearLog();
  m.ui.Click(Source(*w, 1, 2));
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(7).Dw1(2).Result(0),
                                            Out(CTL_OUT_METER_STOP).Slot(7),
                                            Call::Open(6).Result(4),  // refused: in use
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(7).Dw1(0).Result(0),
                                            Out(CTL_OUT_METER_START).Slot(7),
                                        }));
  EXPECT_EQ(CheckedSource(*w, 1), 0);
  EXPECT_EQ(w->SourceOf(1), 0);
  EXPECT_EQ(m.rig.driver().cards().OutputSource(1, 1)[0], 0);
  EXPECT_EQ(m.OpenHandleCount(), 8u);
  EXPECT_TRUE(m.rig.user().MessageBoxes().empty());
  m.Tick(*m.control->chkDigitalOutputs, false);
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
}

TEST(DigitalOutputWindow, WithoutMetersAChangeOpensAndClosesHandlesButSendsNoMeteringMessages) {
  MixerRig m(1);
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->chkPeakMeter);
  m.ClearLog();
  m.ui.Click(Source(*w, 0, 3));
  m.ui.Click(Source(*w, 0, 1));
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(1).Dw1(3),
                                            Call::Open(1),
                                            Call::Open(1),
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(1).Dw1(1),
                                            Call::Close(1),
                                            Call::Close(1),
                                            Call::Open(0),
                                            Call::Open(0),
                                        }));
  // Ticking the box meters the source in force.
  m.ClearLog();
  m.ui.Click(*w->chkPeakMeter);
  EXPECT_TRUE(CallsAre(Conversation(m), {Out(CTL_OUT_METER_START).Slot(0), Out(CTL_OUT_METER_START).Slot(0)}));
}

// --- a source that cannot be metered (issue 21, items 2 and 5) -------------------------

// The level polls of one card's first digital output handle.
std::size_t PollsOn(MixerRig& m, int slot) {
  std::size_t n = 0;
  for (const sim::CallRecord& r : ControlMessages(m.rig.driver().callLog().Records(), {CTL_OUT_GET_PEAKS}))
    if (r.deviceSlot == slot) ++n;
  return n;
}

TEST(DigitalOutputWindow, ASourceInForceWhoseDeviceWillNotOpenStaysCheckedAndTheOtherCardsMetersGoOn) {
  MixerRig m(2, "[Card2]\nDigitalOutputSource=2,0,0\nRefuseOpen=AnalogIn\n");
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  // At showing, card 2's button is the driver's source, whose meters stay dark.
  EXPECT_EQ(CheckedSource(*w, 1), 2);
  EXPECT_EQ(w->LastRouteButton(1), &Source(*w, 1, 2));
  EXPECT_EQ(CheckedSource(*w, 0), 0);
  EXPECT_TRUE(w->MetersRunning());
  m.ClearLog();
  for (int second = 0; second < 4; ++second) {
    m.RunAll(1000);
    EXPECT_NE(w->PollTimerId(), 0u) << "metering is on: the poll timer runs, second " << second;
  }
  // Card 1's meters never stop: ten polls a second.
  EXPECT_GE(PollsOn(m, 1), 39u);
  // The driver is not asked again and again: nothing but polls and source reads.
  EXPECT_TRUE(CallsAre(Conversation(m), {}));
  EXPECT_EQ(CheckedSource(*w, 1), 2);
  EXPECT_EQ(m.rig.driver().cards().OutputSource(1, 1)[0], 2);
}

TEST(DigitalOutputWindow, APickedSourceWhoseDeviceWillNotOpenIsUndoneWithoutALastRouteButton) {
  // The driver's source byte is one of no button: no last route button.
  MixerRig m(1, "[Card1]\nDigitalOutputSource=9,0,0\nRefuseOpen=AnalogIn\n");
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(CheckedSource(*w, 0), -1);
  ASSERT_EQ(w->LastRouteButton(0), nullptr);
  m.ClearLog();
  m.ui.Click(Source(*w, 0, 2));
  // The driver is set back to the source the window meters, whose metering
  // resumes; its button is checked.
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(1).Dw1(2).Result(0),
                                            Out(CTL_OUT_METER_STOP).Slot(1),
                                            Call::Open(0).Result(4),  // refused: in use
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(1).Dw1(0).Result(0),
                                            Out(CTL_OUT_METER_START).Slot(1),
                                        }));
  EXPECT_EQ(m.rig.driver().cards().OutputSource(0, 1)[0], 0);
  EXPECT_EQ(CheckedSource(*w, 0), 0);
  EXPECT_EQ(w->SourceOf(0), 0);
  EXPECT_NE(w->PollTimerId(), 0u);
  m.ClearLog();
  m.RunAll(1000);
  EXPECT_GE(PollsOn(m, 1), 9u);
  EXPECT_TRUE(CallsAre(Conversation(m), {}));
}

TEST(DigitalOutputWindow, AnOldSourceHandleThatWillNotCloseUndoesTheChange) {
  MixerRig m(1, "[Card1]\nRefuseClose=AnalogOut\n");
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  m.ui.Click(Source(*w, 0, 1));  // the analog output: opens nothing to close yet
  ASSERT_EQ(w->SourceOf(0), 1);
  m.ClearLog();
  m.ui.Click(Source(*w, 0, 2));
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(1).Dw1(2).Result(0),
                                            Out(CTL_OUT_METER_STOP).Slot(0), Out(CTL_OUT_METER_STOP).Slot(0),
                                            Call::Close(0).Result(1), Call::Close(0).Result(1),
                                            // the handles that stayed go on metering the analog output
                                            Out(CTL_OUT_METER_START).Slot(0), Out(CTL_OUT_METER_START).Slot(0),
                                            Out(CTL_SET_OUTPUT_SOURCE).Slot(1).Dw1(1).Result(0),
                                        }));
  EXPECT_EQ(m.rig.driver().cards().OutputSource(0, 1)[0], 1) << "the driver plays what the meters show";
  EXPECT_EQ(CheckedSource(*w, 0), 1);
  EXPECT_EQ(w->SourceOf(0), 1);
  EXPECT_TRUE(w->SourceMeteringHandle(0, 0).IsOpen());
  EXPECT_EQ(w->SourceMeteringHandle(0, 0).Slot(), 0);
  EXPECT_NE(w->PollTimerId(), 0u);
  m.ClearLog();
  m.RunAll(1000);
  EXPECT_TRUE(CallsAre(Conversation(m), {})) << "the refresh finds the driver on the checked source";
}

// --- source refresh -------------------------------------------------------------------

TEST(DigitalOutputWindow, ASourceChangedByAnotherProgramShowsWithinASecondAndTheMetersFollow) {
  MixerRig m(2, "[Card2]\nDigitalOutputSourceSteps=1500:3,3700:0\n");
  m.FollowVirtualClock();
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  m.RunAll(1000);
  EXPECT_EQ(CheckedSource(*w, 1), 0);
  m.RunAll(1000);
  EXPECT_EQ(CheckedSource(*w, 1), 3);
  EXPECT_EQ(w->SourceOf(1), 3);
  EXPECT_EQ(w->LastRouteButton(1), &Source(*w, 1, 3));
  EXPECT_TRUE(w->SourceMeteringHandle(1, 0).IsOpen());
  EXPECT_EQ(w->SourceMeteringHandle(1, 0).Slot(), 7);
  m.RunAll(2000);
  EXPECT_EQ(CheckedSource(*w, 1), 0);
  EXPECT_FALSE(w->SourceMeteringHandle(1, 0).IsOpen());
  EXPECT_EQ(CheckedSource(*w, 0), 0);
}

TEST(DigitalOutputWindow, TheAnalogInputChoiceIsDisabledWhileTheAnalogOutputPlaysAConflictingSource) {
  MixerRig m(2, "[Card1]\nAnalogOutputSourceSteps=1500:1,2500:3,3500:4,4500:2,5500:0\n");
  m.FollowVirtualClock();
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  std::vector<bool> enabled;
  for (int s = 0; s < 6; ++s) {
    enabled.push_back(Source(*w, 0, 2).Enabled());
    m.RunAll(1000);
  }
  EXPECT_EQ(enabled, (std::vector<bool>{true, true, false, false, false, true}));
  // Only the analog input choice of that card.
  EXPECT_TRUE(Source(*w, 1, 2).Enabled());
  for (int s : {0, 1, 3}) EXPECT_TRUE(Source(*w, 0, s).Enabled());
}

// A stand-in for the analog output window: counts the refreshes asked of it.
class TStandInAnalogOut : public TManagedForm {
 public:
  TStandInAnalogOut(Component* owner, ProgramLink& program) : TManagedForm(owner, program) {}
  const char* ClassName() const override { return "TfrmAnalogOut"; }
  void RefreshFromDriver() override { ++refreshes; }
  int refreshes = 0;
};

TEST(DigitalOutputWindow, AfterASuccessfulChangeTheAnalogOutputWindowRereadsAndItsChangesAreReadHere) {
  MixerRig m(2);
  m.FollowVirtualClock();
  RegisterManagedWindowClass("TfrmAnalogOut", [](Component* owner, ProgramLink& program) -> TManagedForm* {
    return new TStandInAnalogOut(owner, program);
  });
  m.Tick(*m.control->chkAnalogOutputs, true);
  auto* other = m.WindowOf<TStandInAnalogOut>("TfrmAnalogOut");
  ASSERT_NE(other, nullptr);
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  const int atShowing = other->refreshes;  // the refresh at showing changes to the driver's source
  m.ui.Click(Source(*w, 0, 3));
  EXPECT_EQ(other->refreshes, atShowing + 1);
  // A refused change asks nothing of it beyond the restore's own change.
  m.ui.Click(Source(*w, 1, 2));
  EXPECT_EQ(other->refreshes, atShowing + 2);

  // The analog output window, after changing its source to the digital
  // output, runs this window's refresh: the choice is disabled at once.
  m.rig.driver().cards().SetOutputSourceByOtherProgram(0, 0, 1);
  w->RefreshFromDriver();
  EXPECT_FALSE(Source(*w, 0, 2).Enabled());
  m.rig.driver().cards().SetOutputSourceByOtherProgram(0, 0, 0);
  m.RunAll(1000);
  EXPECT_TRUE(Source(*w, 0, 2).Enabled());
  m.Tick(*m.control->chkAnalogOutputs, false);
}

TEST(DigitalOutputWindow, TheAnalogOutputWindowAndThisOneRefreshEachOtherAfterASourceChange) {
  MixerRig m(2);
  TfrmAnalogOut* analog = m.OpenAnalogOutput();
  ASSERT_NE(analog, nullptr);
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  // The analog output plays the digital output: this window's analog input
  // choice is disabled at once, without waiting for its own timer.
  m.ui.Click(*analog->SourceButton(0, 1));
  EXPECT_EQ(m.rig.driver().cards().OutputSource(0, 0)[0], 1);
  EXPECT_FALSE(Source(*w, 0, 2).Enabled());
  EXPECT_TRUE(Source(*w, 1, 2).Enabled());
  m.ui.Click(*analog->SourceButton(0, 0));
  EXPECT_TRUE(Source(*w, 0, 2).Enabled());
  // This window plays the analog input: the analog output window greys
  // out its conflicting choices at once.
  m.ui.Click(Source(*w, 1, 2));
  EXPECT_EQ(m.rig.driver().cards().OutputSource(1, 1)[0], 2);
  EXPECT_FALSE(analog->SourceButton(1, 1)->Enabled());
  EXPECT_TRUE(analog->SourceButton(0, 1)->Enabled());
  m.ui.Click(Source(*w, 1, 0));
  EXPECT_TRUE(analog->SourceButton(1, 1)->Enabled());
  m.CloseAnalogOutput();
  m.Tick(*m.control->chkDigitalOutputs, false);
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
}

// --- format -----------------------------------------------------------------------------

TEST(DigitalOutputWindow, FormatChangesSendTheirWordsAndAudioIsRememberedAcrossSPDIF) {
  MixerRig m(2, "[Card2]\nChannelStatus=0x88\n");
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  const TfrmDigOut::Strip& s0 = w->StripOf(0);
  const TfrmDigOut::Strip& s1 = w->StripOf(1);
  EXPECT_TRUE(s0.cons->Checked());
  EXPECT_TRUE(s0.audio->Checked());
  EXPECT_FALSE(s0.audio->Enabled());
  EXPECT_TRUE(s1.prof->Checked());
  EXPECT_TRUE(s1.audio->Checked());
  EXPECT_TRUE(s1.audio->Enabled());
  m.ClearLog();
  m.ui.Click(*s1.audio);  // AES/EBU without audio
  m.ui.Click(*s1.cons);   // S/PDIF: audio checked and disabled
  EXPECT_TRUE(s1.audio->Checked());
  EXPECT_FALSE(s1.audio->Enabled());
  m.ui.Click(*s1.prof);  // back to AES/EBU as the user left it: without audio
  EXPECT_FALSE(s1.audio->Checked());
  EXPECT_TRUE(s1.audio->Enabled());
  m.ui.Click(*s1.audio);  // with audio
  m.ui.Click(*s0.prof);   // first card: the design choice, with audio
  EXPECT_TRUE(CallsAre(ControlMessages(m.rig.driver().callLog().Records(), {CTL_SET_CHANNEL_STATUS}),
                       {
                           Out(CTL_SET_CHANNEL_STATUS).Slot(7).Dw1(0x80).Dw2(0),
                           Out(CTL_SET_CHANNEL_STATUS).Slot(7).Dw1(0x20),
                           Out(CTL_SET_CHANNEL_STATUS).Slot(7).Dw1(0x80),
                           Out(CTL_SET_CHANNEL_STATUS).Slot(7).Dw1(0x88),
                           Out(CTL_SET_CHANNEL_STATUS).Slot(1).Dw1(0x88),
                       }));
  EXPECT_EQ(m.rig.driver().cards().ChannelStatus(1), 0x88u);
  EXPECT_EQ(m.rig.driver().cards().ChannelStatus(0), 0x88u);
}

TEST(DigitalOutputWindow, FormatWordsFromTheDriverAreReadByTheirTwoBitsOnly) {
  struct Case {
    std::uint32_t word;
    bool professional, audio;
    std::uint32_t sent;
  };
  for (const Case& c : {Case{0x80, true, false, 0x80}, Case{0x88, true, true, 0x88}, Case{0x20, false, true, 0x20},
                        Case{0x08, false, true, 0x20}, Case{0x00, false, true, 0x20}, Case{0xFFFF, true, true, 0x88},
                        Case{0xFF77, false, true, 0x20}}) {
    MixerRig m(1, "[Card1]\nChannelStatus=" + std::to_string(c.word) + "\n");
    TfrmDigOut* w = OpenDigitalOutput(m);
    ASSERT_NE(w, nullptr);
    const TfrmDigOut::Strip& s = w->StripOf(0);
    EXPECT_EQ(s.prof->Checked(), c.professional) << c.word;
    EXPECT_EQ(s.cons->Checked(), !c.professional) << c.word;
    EXPECT_EQ(s.audio->Checked(), c.audio) << c.word;
    EXPECT_EQ(s.audio->Enabled(), c.professional) << c.word;
    EXPECT_TRUE(CallsAre(ControlMessages(m.rig.driver().callLog().Records(), {CTL_SET_CHANNEL_STATUS}),
                         {Out(CTL_SET_CHANNEL_STATUS).Slot(1).Dw1(c.sent)}))
        << c.word;
  }
}

TEST(DigitalOutputWindow, ACardWhoseFormatReadIsRefusedKeepsItsFormatUntilTheUserChooses) {
  MixerRig m(2, "[Card1]\nChannelStatus=0x20\n[Card2]\nChannelStatus=0x88\nRefuseMessages=DigitalOut:0x400D\n");
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  // Card 1's word is read back and sent as ever; card 2's read is refused
  // and the block it shares with card 1 still holds 0x20: nothing goes to it.
  EXPECT_TRUE(CallsAre(ControlMessages(m.rig.driver().callLog().Records(),
                                       {CTL_GET_CHANNEL_STATUS, CTL_SET_CHANNEL_STATUS}),
                       {
                           Out(CTL_GET_CHANNEL_STATUS).Slot(1),
                           Out(CTL_SET_CHANNEL_STATUS).Slot(1).Dw1(0x20),
                           Out(CTL_GET_CHANNEL_STATUS).Slot(7).Result(1),
                       }));
  EXPECT_EQ(m.rig.driver().cards().ChannelStatus(1), 0x88u) << "still AES/EBU with audio";
  const TfrmDigOut::Strip& s1 = w->StripOf(1);
  EXPECT_FALSE(s1.cons->Checked());
  EXPECT_FALSE(s1.prof->Checked());
  EXPECT_TRUE(s1.audio->Checked());
  EXPECT_FALSE(s1.audio->Enabled()) << "as designed";
  // The user's choice goes out, once.
  m.ClearLog();
  m.ui.Click(*s1.prof);
  EXPECT_TRUE(CallsAre(ControlMessages(m.rig.driver().callLog().Records(), {CTL_SET_CHANNEL_STATUS}),
                       {Out(CTL_SET_CHANNEL_STATUS).Slot(7).Dw1(0x80)}));
}

// --- closing ----------------------------------------------------------------------------

TEST(DigitalOutputWindow, ClosingStopsTheMeteringOfEachSourceAndDestructionGivesEverythingBack) {
  MixerRig m(3, "[Card2]\nDigitalOutputSource=1,0,0\n[Card3]\nDigitalOutputSource=3,0,0\n");
  TfrmDigOut* w = OpenDigitalOutput(m);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(m.OpenHandleCount(), 12u + 4u);
  m.ClearLog();
  m.ui.CloseBox(*w);
  EXPECT_TRUE(CallsAre(ControlMessagesExcept(m.rig.driver().callLog().Records(), {CTL_OUT_GET_PEAKS, CTL_IN_GET_PEAKS}),
                       {
                           Out(CTL_OUT_METER_STOP).Slot(1),
                           Out(CTL_OUT_METER_STOP).Slot(6),
                           Out(CTL_OUT_METER_STOP).Slot(6),
                           In(CTL_IN_METER_STOP).Slot(13),
                           In(CTL_IN_METER_STOP).Slot(13),
                       }));
  EXPECT_EQ(m.rig.Records(Kind::Close).size(), 16u);
  EXPECT_FALSE(m.control->chkDigitalOutputs->Checked());
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
  const std::string ini = m.ReadIni();
  EXPECT_NE(ini.find("[Digital Output]"), std::string::npos);
  for (const char* key : {"pnChecks=", "chkPeakMeter=", "chkPlaybackSel="})
    EXPECT_NE(ini.find(key), std::string::npos) << key;
}

TEST(DigitalOutputWindow, NoBlockAtShowingLeavesTheWindowWithoutRefreshOrTimer) {
  MixerRig m(2);
  auto* w = new TfrmDigOut(m.control, *m.control);
  ASSERT_TRUE(w->Ready());
  m.rig.driver().arena().FailAllocation(2);  // the first card's analog-output source block
  w->Show();
  EXPECT_FALSE(w->Ready());
  EXPECT_FALSE(w->secTimer->Enabled());
  w->RefreshFromDriver();
  m.RunAll(2000);
  EXPECT_TRUE(ControlMessages(m.rig.driver().callLog().Records(), {CTL_GET_OUTPUT_SOURCE}).empty());
  w->Close();
  Free(w);
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
}

}  // namespace
}  // namespace zentra::testing
