// The analog output window through the control window: construction of its
// strips, the volume mapping and the faders, link boxes and mutes, the
// source change with its refusals, the source refresh, metering by source,
// the ADAT channel buttons, persistence and closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "controls/bilingual.h"
#include "controls/level_meter.h"
#include "controls/slider.h"
#include "driver/control_messages.h"
#include "mixer/mixer_rig.h"
#include "mixer/volume_mapping.h"
#include "support/call_sequence.h"
#include "toolkit/timer.h"
#include "support/le_bytes.h"

namespace zentra::testing {
namespace {

constexpr const char* kAdatRefusedText =
    "Kein Adat-Monitoring möglich.\r\nDas Wiedergabegerät wird durch eine andere Anwendung benutzt.";
constexpr const char* kConflictText =
    "Gleichzeitiger Betrieb von ADAT/ADAT Monitoring/ADAT Sync und Digital/Digital Monitoring/"
    "Digital Sync nicht möglich.";

// What reached the driver without the level requests and commands: control
// messages, opens and closes, in order.
std::vector<sim::CallRecord> Conversation(MixerRig& m) {
  return DeviceCallsExcept(m.rig.driver().callLog().Records(), {CTL_OUT_GET_PEAKS, CTL_IN_GET_PEAKS});
}

std::vector<sim::CallRecord> Polls(MixerRig& m) {
  return ControlMessages(m.rig.driver().callLog().Records(), {CTL_OUT_GET_PEAKS, CTL_IN_GET_PEAKS});
}

std::uint32_t Both(int position) { return VolumeOfPosition(position) * 0x10001u; }

// The knob of a fader dragged by dy pixels (up is negative) in `moves` moves.
void DragKnob(MixerRig& m, TSlider& fader, int dy, int moves = 3) {
  TPanel& knob = *fader.Knob();
  const Point grip{knob.Width() / 2, knob.Height() / 2};
  m.ui.Drag(knob, grip, {grip.x, grip.y + dy}, moves);
}

struct BoxStates {
  bool digInp, digOut, adatInp, adatOut;
};
BoxStates EnabledBoxes(MixerRig& m) {
  return {m.control->chkDigitalInputs->Enabled(), m.control->chkDigitalOutputs->Enabled(),
          m.control->chkAdatInputs->Enabled(), m.control->chkAdatOutputs->Enabled()};
}
bool operator==(const BoxStates& a, const BoxStates& b) {
  return a.digInp == b.digInp && a.digOut == b.digOut && a.adatInp == b.adatInp && a.adatOut == b.adatOut;
}

// --- volume mapping -------------------------------------------------------------

TEST(VolumeMapping, ExampleStepsAndTheLimits) {
  EXPECT_NEAR(VolumeScale(), 27232.04, 0.01);
  EXPECT_EQ(VolumeOfPosition(0), 0);
  EXPECT_EQ(VolumeOfPosition(1), 8198);
  EXPECT_EQ(VolumeOfPosition(9), 27232);
  EXPECT_EQ(VolumeOfPosition(25), 38533);
  EXPECT_EQ(VolumeOfPosition(127), 57384);
  EXPECT_EQ(VolumeOfPosition(254), 65535);
  EXPECT_EQ(VolumeOfPosition(255), 65535);  // 65581 before the limit
  // Volumes set elsewhere land on the nearest step below them.
  EXPECT_EQ(PositionOfVolume(27232), 9);
  EXPECT_EQ(PositionOfVolume(30000), 12);
  EXPECT_EQ(PositionOfVolume(65535), 254);
  // Whatever 32-bit value the driver gives, the position is in range.
  EXPECT_EQ(PositionOfVolume(0xFFFFFFFFu), 254);
  EXPECT_EQ(PositionOfVolume(70000), 254);
}

TEST(VolumeMapping, EveryStepComesBackAsTheSameStep) {
  for (int p = 0; p <= 254; ++p) EXPECT_EQ(PositionOfVolume(VolumeOfPosition(p)), p) << p;
  EXPECT_EQ(PositionOfVolume(VolumeOfPosition(255)), 254);
  EXPECT_EQ(PositionOfVolume(0), 0);  // a silent output shows step 0, not 1
}

// --- construction ---------------------------------------------------------------------

TEST(AnalogOutputWindow, FourCardsGetFourNumberedStripsOnTheirDevices) {
  MixerRig m(4);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Ready());
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->Caption(), "Analog Output");
  EXPECT_EQ(w->Height(), 478);
  EXPECT_EQ(w->pnLevel->Width(), 181 + 3 * 193);
  EXPECT_EQ(w->pnPlaybackSel->Width(), 193 + 3 * 193);
  ASSERT_EQ(w->ControlHandleCount(), 8u);
  for (int card = 0; card < 4; ++card) {
    for (int side = 0; side < 2; ++side) {
      auto h = m.rig.driver().wave().FindHandle(w->ControlHandles()[card * 2 + side]);
      ASSERT_TRUE(h.has_value());
      EXPECT_EQ(h->slot, card * 6);
      EXPECT_FALSE(h->record);
    }
    EXPECT_EQ(w->DigitalPlaybackHandle(card).Slot(), card * 6 + 1);
    EXPECT_EQ(w->DigitalPlaybackHandle(card).GetDirection(), Direction::Playback);

    const std::string link = "chkLink" + std::to_string(2 * card + 1) + std::to_string(2 * card + 2);
    TCheckBox* box = w->LinkBox(card);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Name(), link);
    EXPECT_EQ(box->Tag(), -1);
    EXPECT_TRUE(box->Checked());
    for (int side = 0; side < 2; ++side) {
      const int n = 2 * card + side;
      ASSERT_NE(w->Fader(n), nullptr);
      EXPECT_EQ(w->Fader(n)->Name(), "Slider" + std::to_string(n));
      EXPECT_EQ(w->Fader(n)->LinkCheck(), box);
      EXPECT_EQ(w->Fader(n)->Max(), 255);
      EXPECT_EQ(w->Fader(n)->TravelPixels(), 109);
      ASSERT_NE(w->MuteButton(n), nullptr);
      EXPECT_EQ(w->MuteButton(n)->Parent(), box->Parent());
      EXPECT_EQ(w->MeterTable()[n]->Tag(), n);
    }
    for (int source = 0; source < 5; ++source) {
      ASSERT_NE(w->SourceButton(card, source), nullptr);
      EXPECT_EQ(w->SourceButton(card, source)->Tag(), source);
    }
    ASSERT_NE(w->ChannelGroup(card), nullptr);
    EXPECT_EQ(w->ChannelGroup(card)->Tag(), card);
    for (int ch = 0; ch < 8; ++ch) {
      EXPECT_EQ(w->ChannelButton(card, 0, ch)->GroupIndex(), 1 + 2 * card);
      EXPECT_EQ(w->ChannelButton(card, 1, ch)->GroupIndex(), 2 + 2 * card);
      EXPECT_EQ(w->ChannelButton(card, 1, ch)->Tag(), 65536 + ch);
    }
  }
  const MinMaxInfo limits = SizeLimits(*w);
  EXPECT_EQ(limits.ptMaxTrackSize.x, 796);
  EXPECT_EQ(limits.ptMinTrackSize.x, 205);
}

TEST(AnalogOutputWindow, OneCardHasNoHeaderRowAndIsAtMostItsNarrowestWide) {
  MixerRig m(1);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->pnHeader->Visible());
  EXPECT_EQ(w->Height(), 478 - 19);
  EXPECT_EQ(w->pnPlaybackSel->Top(), 0);
  EXPECT_EQ(w->pnLevel->Top(), 156);
  const MinMaxInfo limits = SizeLimits(*w);
  EXPECT_EQ(limits.ptMaxTrackSize.x, 205);
  EXPECT_EQ(limits.ptMinTrackSize.x, 205);
  w->UserResized(900, 900);
  EXPECT_EQ(w->Width(), 205);
}

// --- showing -------------------------------------------------------------------------

TEST(AnalogOutputWindow, ShowingReadsSourcesThenVolumesThenMutesAndSendsNoVolume) {
  MixerRig m(1, "[Card1]\nAnalogOutputSource=0,3,6\nVolume=0xFFFF2006\nMute=0,65535\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  const WinHandle left = w->ControlHandles()[0], right = w->ControlHandles()[1];
  const std::uint32_t mutes = w->MuteBlock().Address();
  EXPECT_TRUE(CallsAre(ControlMessagesExcept(m.rig.driver().callLog().Records(), {CTL_OUT_GET_PEAKS}), {
                                            Out(CTL_GET_OUTPUT_SOURCE).Handle(left).Block({0, 3, 6, 0}),
                                            Out(CTL_GET_OUTPUT_SOURCE).Slot(1).Block({0, 0, 0, 0}),
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(left).Dw1(0x00060300),
                                            Out(WODM_GETVOLUME).Handle(left).Dw1(w->VolumeBlock().Address()),
                                            Out(WODM_GETVOLUME).Handle(right),
                                            Out(CTL_GET_MUTE).Handle(left).Dw1(mutes),
                                            Out(CTL_GET_MUTE).Handle(left).Dw1(mutes),
                                            Out(CTL_OUT_METER_START).Handle(left).Dw1(0).Dw2(0),
                                        }));
  EXPECT_EQ(w->Fader(0)->Position(), 1);  // 0x2006 = 8198
  EXPECT_EQ(w->Fader(1)->Position(), 254);
  EXPECT_FALSE(w->MuteButton(0)->Down());
  EXPECT_TRUE(w->MuteButton(1)->Down());
  EXPECT_TRUE(w->btnProgram->Checked());
  EXPECT_EQ(w->LastRouteButton(0), w->btnProgram);
  EXPECT_TRUE(w->ChannelButton(0, 0, 3)->Down());
  EXPECT_TRUE(w->ChannelButton(0, 1, 6)->Down());
  EXPECT_FALSE(w->ChannelButton(0, 0, 0)->Down());
  EXPECT_TRUE(w->FaderHandlingEnabled());
  EXPECT_TRUE(w->SecTimer->Enabled());
  EXPECT_EQ(m.rig.driver().cards().Volume(0, 0), 0xFFFF2006u);
}

TEST(AnalogOutputWindow, VolumesAndMuteWordsOfAnyValueShowWithinRange) {
  MixerRig m(2, "[Card1]\nVolume=0xFFFFFFFF\nMute=5,0\n[Card2]\nVolume=0x00007530\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Fader(0)->Position(), 254);
  EXPECT_EQ(w->Fader(1)->Position(), 254);
  EXPECT_EQ(w->Fader(2)->Position(), 12);  // 30000
  EXPECT_EQ(w->Fader(3)->Position(), 0);
  // A mute word other than 0 shows muted and is sent as the muted word.
  EXPECT_TRUE(w->MuteButton(0)->Down());
  m.ClearLog();
  m.ui.Click(*w->MuteButton(1));
  EXPECT_TRUE(CallsAre(Conversation(m), {Out(CTL_SET_MUTE).Handle(w->ControlHandles()[1]).Dw1(0xFFFFFFFF)}));
}

// --- faders, link boxes, mutes --------------------------------------------------------

TEST(AnalogOutputWindow, MovingALinkedFaderMovesItsPairAndSendsEqualWords) {
  MixerRig m(2);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  const int first = w->Fader(0)->Position();
  m.ClearLog();
  DragKnob(m, *w->Fader(2), -30);  // second card's left fader, 30 pixels up
  const int p = w->Fader(2)->Position();
  EXPECT_NE(p, 0);
  EXPECT_EQ(w->Fader(3)->Position(), p);
  const auto sets = ControlMessages(m.rig.driver().callLog().Records(), {WODM_SETVOLUME});
  ASSERT_EQ(sets.size(), 3u);  // one per mouse move
  for (const auto& r : sets) {
    EXPECT_EQ(r.handle, w->ControlHandles()[2]);
    EXPECT_EQ(r.dw1 & 0xFFFF, r.dw1 >> 16);
  }
  EXPECT_EQ(sets.back().dw1, Both(p));
  EXPECT_EQ(m.rig.driver().cards().Volume(1, 0), Both(p));
  EXPECT_EQ(w->Fader(0)->Position(), first) << "the other card's faders stay";
}

TEST(AnalogOutputWindow, AnUnlinkedFaderSendsItsOwnAndTheOtherFadersVolume) {
  MixerRig m(1, "[Card1]\nVolume=0x80008000\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  const int left = w->Fader(0)->Position();
  m.ui.Click(*w->LinkBox(0));  // clearing the box sends nothing
  m.ClearLog();
  DragKnob(m, *w->Fader(1), 20, 1);
  const int right = w->Fader(1)->Position();
  EXPECT_EQ(w->Fader(0)->Position(), left);
  EXPECT_TRUE(CallsAre(Conversation(m), {Out(WODM_SETVOLUME)
                                             .Handle(w->ControlHandles()[1])
                                             .Dw1(VolumeOfPosition(left) |
                                                  static_cast<std::uint32_t>(VolumeOfPosition(right)) << 16)}));
}

TEST(AnalogOutputWindow, TickingTheLinkBoxSendsThePairOncePerFader) {
  MixerRig m(1);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->LinkBox(0));
  w->Fader(0)->SetPosition(100);
  w->Fader(1)->SetPosition(30);
  m.ClearLog();
  m.ui.Click(*w->LinkBox(0));
  EXPECT_EQ(w->Fader(1)->Position(), 100);
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(WODM_SETVOLUME).Handle(w->ControlHandles()[0]).Dw1(Both(100)),
                                            Out(WODM_SETVOLUME).Handle(w->ControlHandles()[1]).Dw1(Both(100)),
                                        }));
}

TEST(AnalogOutputWindow, AReopenedWindowShowsEveryFaderAtItsStepAndASilentOutputStaysSilent) {
  MixerRig m(2);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->LinkBox(0));
  m.ui.Click(*w->LinkBox(1));
  const int steps[] = {0, 100, 254, 255};
  for (int n = 0; n < 4; ++n) w->Fader(n)->SetPosition(steps[n]);
  m.CloseAnalogOutput();
  m.ClearLog();
  w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(ControlMessages(m.rig.driver().callLog().Records(), {WODM_SETVOLUME}).empty());
  EXPECT_EQ(w->Fader(0)->Position(), 0);
  EXPECT_EQ(w->Fader(1)->Position(), 100);
  EXPECT_EQ(w->Fader(2)->Position(), 254);
  EXPECT_EQ(w->Fader(3)->Position(), 254);  // 254 and 255 send the same volume
  EXPECT_FALSE(w->LinkBox(0)->Checked());   // restored as it was closed
  // Linking the pair now takes the left fader's step 0: the output stays silent.
  m.ClearLog();
  m.ui.Click(*w->LinkBox(0));
  const auto sets = ControlMessages(m.rig.driver().callLog().Records(), {WODM_SETVOLUME});
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0].dw1, 0u);
  EXPECT_EQ(m.rig.driver().cards().Volume(0, 0), 0u);
}

TEST(AnalogOutputWindow, MuteButtonsSendTheirPairsWordsOnTheirOwnHandle) {
  MixerRig m(2);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.ClearLog();
  m.ui.Click(*w->MuteButton(3));
  m.ui.Click(*w->MuteButton(2));
  m.ui.Click(*w->MuteButton(3));
  m.ui.Click(*w->MuteButton(0));
  const auto h = w->ControlHandles();
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(CTL_SET_MUTE).Handle(h[3]).Dw1(0xFFFF0000),
                                            Out(CTL_SET_MUTE).Handle(h[2]).Dw1(0xFFFFFFFF),
                                            Out(CTL_SET_MUTE).Handle(h[3]).Dw1(0x0000FFFF),
                                            Out(CTL_SET_MUTE).Handle(h[0]).Dw1(0x0000FFFF),
                                        }));
  EXPECT_EQ(m.rig.driver().cards().Mute(1), (std::array<std::uint16_t, 2>{0xFFFF, 0}));
  EXPECT_FALSE(w->MuteButton(3)->Down());
}

// --- source change -----------------------------------------------------------------

TEST(AnalogOutputWindow, EverySourceMovesTheCardsMeteringAndTheControlWindowsBoxes) {
  MixerRig m(1);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  const WinHandle own = w->ControlHandles()[0];
  const BoxStates all{true, true, true, true};
  const BoxStates noAdat{true, true, false, false};
  const BoxStates noDigital{false, false, true, true};

  m.ClearLog();
  m.ui.Click(*w->btnDigOut);
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(CTL_OUT_METER_STOP).Handle(own),
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010001),
                                            Call::Open(1), Call::Open(1),
                                            Out(CTL_OUT_METER_START).Slot(1), Out(CTL_OUT_METER_START).Slot(1),
                                        }));
  EXPECT_TRUE(EnabledBoxes(m) == noAdat);

  m.ClearLog();
  m.ui.Click(*w->btnAnaInp);
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(CTL_OUT_METER_STOP).Slot(1), Out(CTL_OUT_METER_STOP).Slot(1),
                                            Call::Close(1), Call::Close(1),
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010002),
                                            Call::Open(0), Call::Open(0),
                                            In(CTL_IN_METER_START).Slot(0), In(CTL_IN_METER_START).Slot(0),
                                        }));
  EXPECT_TRUE(EnabledBoxes(m) == all);

  m.ClearLog();
  m.ui.Click(*w->btnDigInp);
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            In(CTL_IN_METER_STOP).Slot(0), In(CTL_IN_METER_STOP).Slot(0),
                                            Call::Close(0), Call::Close(0),
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010003),
                                            Call::Open(1), Call::Open(1),
                                            In(CTL_IN_METER_START).Slot(1), In(CTL_IN_METER_START).Slot(1),
                                        }));
  EXPECT_TRUE(EnabledBoxes(m) == noAdat);

  // ADAT input meters first, then asks the driver.
  m.ClearLog();
  m.ui.Click(*w->btnAdatInp);
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            In(CTL_IN_METER_STOP).Slot(1), In(CTL_IN_METER_STOP).Slot(1),
                                            Call::Close(1), Call::Close(1),
                                            Call::Open(2), Call::Open(2),
                                            In(CTL_IN_METER_START).Slot(2), In(CTL_IN_METER_START).Slot(2),
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010004),
                                        }));
  EXPECT_TRUE(EnabledBoxes(m) == noDigital);
  EXPECT_EQ(m.rig.driver().cards().OutputSource(0, 0)[0], 4);

  m.ClearLog();
  m.ui.Click(*w->btnProgram);
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            In(CTL_IN_METER_STOP).Slot(2), In(CTL_IN_METER_STOP).Slot(2),
                                            Call::Close(2), Call::Close(2),
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010000),
                                            Out(CTL_OUT_METER_START).Handle(own),
                                        }));
  EXPECT_TRUE(EnabledBoxes(m) == all);
  EXPECT_EQ(m.OpenHandleCount(), 4u);
  EXPECT_TRUE(m.rig.user().MessageBoxes().empty());
}

TEST(AnalogOutputWindow, AdatInputClosesTheDigitalWindowsBoxesAndProgramGivesThemBack) {
  MixerRig m(2);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->SourceButton(1, 4));
  for (TCheckBox* box : {m.control->chkDigitalInputs, m.control->chkDigitalOutputs}) {
    EXPECT_FALSE(box->Checked());
    EXPECT_FALSE(box->Enabled());
  }
  EXPECT_TRUE(m.control->chkAdatInputs->Enabled());
  EXPECT_EQ(w->SourceOf(1), 4);
  EXPECT_EQ(w->SourceOf(0), 0);
  m.ui.Click(*w->SourceButton(1, 0));
  EXPECT_TRUE(m.control->chkDigitalInputs->Enabled());
  EXPECT_TRUE(m.control->chkDigitalOutputs->Enabled());
}

// A digital output window stand-in: counts the refreshes it is asked for.
class TFakeDigOut : public TManagedForm {
 public:
  using TManagedForm::TManagedForm;
  const char* ClassName() const override { return "TFakeDigOut"; }
  void RefreshFromDriver() override { ++refreshes; }
  static inline int refreshes = 0;
};

// Registers the stand-in for the test's length.
struct FakeDigOutRegistered {
  FakeDigOutRegistered() {
    TFakeDigOut::refreshes = 0;
    RegisterManagedWindowClass("TfrmDigOut", [](Component* owner, ProgramLink& program) -> TManagedForm* {
      return new TFakeDigOut(owner, program);
    });
  }
  ~FakeDigOutRegistered() {
    RegisterManagedWindowClass("TfrmDigOut", {});
    RegisterMixerWindows();
  }
};

TEST(AnalogOutputWindow, ASourceChangeLetsAnOpenDigitalOutputWindowReadItsSourceAgain) {
  MixerRig m(1);
  FakeDigOutRegistered fake;  // after the rig, which registers the program's windows
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->btnAnaInp);  // no digital output window yet: nothing to refresh
  EXPECT_EQ(TFakeDigOut::refreshes, 0);
  m.Tick(*m.control->chkDigitalOutputs, true);
  ASSERT_NE(m.control->WindowOf("TfrmDigOut"), nullptr);
  m.ui.Click(*w->btnDigInp);
  EXPECT_EQ(TFakeDigOut::refreshes, 1);
  // A refused change does not count as one.
  m.rig.driver().cards().SetOutputSourceByOtherProgram(0, 1, 1);  // digital output plays the analog output
  m.ui.Click(*w->btnDigOut);  // the two would play each other
  EXPECT_EQ(TFakeDigOut::refreshes, 1 + 1) << "the restore is a source change of its own";
  EXPECT_TRUE(w->btnDigInp->Checked());
}

TEST(AnalogOutputWindow, AnotherWindowsRequestReadsTheSourcesOnceItsHandlingIsDone) {
  MixerRig m(1);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.rig.driver().cards().SetOutputSourceByOtherProgram(0, 0, 3);
  m.ClearLog();
  w->RefreshFromDriver();
  w->RefreshFromDriver();  // two requests before it runs: one reading
  EXPECT_TRUE(w->btnProgram->Checked());
  Application::Instance().ProcessMessages();
  EXPECT_TRUE(w->btnDigInp->Checked());
  EXPECT_EQ(w->SourceOf(0), 3);
  EXPECT_EQ(ControlMessages(m.rig.driver().callLog().Records(), {CTL_GET_OUTPUT_SOURCE}).size(), 2u);
}

TEST(AnalogOutputWindow, ARefusedAdatInputShowsWhyAndThePreviousSourceStays) {
  MixerRig m(1, "[Card1]\nRefuseSourceChange=1\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  const WinHandle own = w->ControlHandles()[0];
  m.ClearLog();
  m.ui.Click(*w->btnAdatInp);
  const auto boxes = m.rig.user().MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kAdatRefusedText);
  EXPECT_EQ(boxes[0].caption, "Zentra Fehler");
  EXPECT_EQ(boxes[0].style & MB_ICONERROR, static_cast<std::uint32_t>(MB_ICONERROR));
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(CTL_OUT_METER_STOP).Handle(own),
                                            Call::Open(2), Call::Open(2),
                                            In(CTL_IN_METER_START).Slot(2), In(CTL_IN_METER_START).Slot(2),
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010004).Result(1),
                                            // back to the applications' playback
                                            In(CTL_IN_METER_STOP).Slot(2), In(CTL_IN_METER_STOP).Slot(2),
                                            Call::Close(2), Call::Close(2),
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010000).Result(0),
                                            Out(CTL_OUT_METER_START).Handle(own),
                                        }));
  EXPECT_TRUE(w->btnProgram->Checked());
  EXPECT_FALSE(w->btnAdatInp->Checked());
  EXPECT_EQ(w->ActiveControl(), w->btnProgram);
  EXPECT_EQ(w->LastRouteButton(0), w->btnProgram);
  EXPECT_EQ(w->SourceOf(0), 0);
  EXPECT_EQ(m.OpenHandleCount(), 4u);
  EXPECT_TRUE(w->SecTimer->Enabled());
  // The refused button is no route to go back to: a second refusal again
  // restores the applications' playback.
  m.ui.Click(*w->btnAdatInp);
  EXPECT_TRUE(w->btnProgram->Checked());
  EXPECT_EQ(m.rig.user().MessageBoxes().size(), 2u);
}

TEST(AnalogOutputWindow, ARefusedOtherSourceShowsTheConflictTextAndGoesBack) {
  MixerRig m(1, "[Card1]\nAnalogOutputSource=2,0,1\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->btnAnaInp->Checked());
  // The digital output plays the analog output: the analog output must not
  // play the digital output.
  m.rig.driver().cards().SetOutputSourceByOtherProgram(0, 1, 1);
  m.ClearLog();
  m.ui.Click(*w->btnDigOut);
  const auto boxes = m.rig.user().MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kConflictText);
  EXPECT_EQ(boxes[0].caption, "Zentra Fehler");
  const WinHandle own = w->ControlHandles()[0];
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            In(CTL_IN_METER_STOP).Slot(0), In(CTL_IN_METER_STOP).Slot(0),
                                            Call::Close(0), Call::Close(0),
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010001).Result(1),
                                            // the restore: the old source's handles are closed already
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00010002).Result(0),
                                            Call::Open(0), Call::Open(0),
                                            In(CTL_IN_METER_START).Slot(0), In(CTL_IN_METER_START).Slot(0),
                                        }));
  EXPECT_TRUE(w->btnAnaInp->Checked());
  EXPECT_EQ(w->SourceOf(0), 2);
}

TEST(AnalogOutputWindow, ASourceHandleThatWillNotOpenGoesBackSilentlyWithoutLeaks) {
  MixerRig m(1, "[Card1]\nRefuseOpen=AdatIn3\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->ChannelButton(0, 1, 5));  // right side on ADAT pair 5-6
  m.ui.Click(*w->btnAdatInp);
  EXPECT_TRUE(m.rig.user().MessageBoxes().empty());
  EXPECT_TRUE(w->btnProgram->Checked());
  EXPECT_EQ(w->SourceOf(0), 0);
  EXPECT_EQ(m.OpenHandleCount(), 4u);
  EXPECT_EQ(m.rig.driver().cards().OutputSource(0, 0)[0], 0) << "never asked for ADAT input";
  EXPECT_TRUE(w->MetersRunning());
  EXPECT_NE(w->PollTimerId(), 0u);
  m.CloseAnalogOutput();
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
}

TEST(AnalogOutputWindow, ASourceInForceWhoseHandleWillNotOpenAtShowingFallsBackToProgram) {
  MixerRig m(1, "[Card1]\nAnalogOutputSource=3,0,1\nRefuseOpen=DigitalIn\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->btnProgram->Checked());
  EXPECT_EQ(w->SourceOf(0), 0);
  EXPECT_EQ(m.rig.driver().cards().OutputSource(0, 0)[0], 0);
  EXPECT_EQ(m.OpenHandleCount(), 4u);
  EXPECT_TRUE(m.rig.user().MessageBoxes().empty());
}

TEST(AnalogOutputWindow, AnOldSourceHandleThatWillNotCloseKeepsThePreviousSourceWithoutAskingTheDriver) {
  MixerRig m(1, "[Card1]\nRefuseClose=DigitalIn\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->btnDigInp);
  ASSERT_EQ(w->SourceOf(0), 3);
  m.ClearLog();
  m.ui.Click(*w->btnAnaInp);
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            In(CTL_IN_METER_STOP).Slot(1), In(CTL_IN_METER_STOP).Slot(1),
                                            Call::Close(1).Result(1), Call::Close(1).Result(1),
                                            // the handles that stayed go on metering the digital input
                                            In(CTL_IN_METER_START).Slot(1), In(CTL_IN_METER_START).Slot(1),
                                        }));
  EXPECT_TRUE(w->btnDigInp->Checked());
  EXPECT_EQ(w->SourceOf(0), 3);
  EXPECT_EQ(m.rig.driver().cards().OutputSource(0, 0)[0], 3);
  EXPECT_TRUE(m.rig.user().MessageBoxes().empty());
  EXPECT_TRUE(w->SecTimer->Enabled());
  EXPECT_NE(w->PollTimerId(), 0u);
  // The ADAT boxes follow the digital input still in force.
  EXPECT_FALSE(m.control->chkAdatInputs->Enabled());
}

// --- source refresh ----------------------------------------------------------------

TEST(AnalogOutputWindow, ASourceChangedElsewhereShowsUpWithinASecond) {
  MixerRig m(2);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.rig.driver().cards().SetOutputSourceByOtherProgram(1, 0, 2);
  m.ClearLog();
  m.RunToolkitTimers(1000);
  EXPECT_TRUE(w->SourceButton(1, 2)->Checked());
  EXPECT_EQ(w->SourceOf(1), 2);
  EXPECT_EQ(w->LastRouteButton(1), w->SourceButton(1, 2));
  EXPECT_EQ(w->MeteringHandle(1, 0).Slot(), 6);
  EXPECT_EQ(w->MeteringHandle(1, 0).GetDirection(), Direction::Record);
  EXPECT_EQ(ControlMessages(m.rig.driver().callLog().Records(), {CTL_IN_METER_START}).size(), 2u);
  EXPECT_TRUE(w->SourceButton(0, 0)->Checked());
}

TEST(AnalogOutputWindow, TheRefreshGreysOutWhatTheDigitalOutputOrABusyDeviceTakes) {
  MixerRig m(1, "[Card1]\nDigitalOutputSource=2,0,0\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  auto enabled = [&] {
    return std::vector<bool>{w->btnProgram->Enabled(), w->btnDigOut->Enabled(), w->btnAnaInp->Enabled(),
                             w->btnDigInp->Enabled(), w->btnAdatInp->Enabled(), w->grpAdatChn->Enabled()};
  };
  // The digital output plays the analog input.
  EXPECT_EQ(enabled(), (std::vector<bool>{true, false, true, false, false, false}));
  m.rig.driver().cards().SetOutputSourceByOtherProgram(0, 1, 0);
  m.RunToolkitTimers(1000);
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true, true, true}));
  // Metering the analog input itself counts twice in the busy count: not busy.
  m.ui.Click(*w->btnAnaInp);
  m.RunToolkitTimers(1000);
  EXPECT_EQ(m.rig.driver().cards().OutputSource(0, 0)[3], 2);
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true, true, true}));
  // Someone else records from it as well: busy.
  m.Tick(*m.control->chkAnalogInputs, true);
  m.RunToolkitTimers(1000);
  EXPECT_EQ(enabled(), (std::vector<bool>{true, false, true, false, false, false}));
}

TEST(AnalogOutputWindow, AnotherProgramPlayingGreysOutAdatInputAtOnce) {
  MixerRig m(1, "[Card1]\nOtherAppPlaying=1\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->btnAdatInp->Enabled());
  EXPECT_FALSE(w->grpAdatChn->Enabled());
  EXPECT_TRUE(w->btnAnaInp->Enabled());
}

// --- metering by source and the channel buttons -----------------------------------------------

TEST(AnalogOutputWindow, AdatChannelButtonsReopenOneSideAndPickTheValueByParity) {
  MixerRig m(1, "[Card1]\nAnalogOutputSource=4,2,1\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->btnAdatInp->Checked());
  EXPECT_EQ(w->MeteringHandle(0, 0).Slot(), 3);  // channel 3 on pair 3-4
  EXPECT_EQ(w->MeteringHandle(0, 1).Slot(), 2);  // channel 2 on pair 1-2
  const WinHandle own = w->ControlHandles()[0];

  m.ClearLog();
  m.ui.Click(*w->ChannelButton(0, 1, 4));  // right row "5"
  EXPECT_TRUE(CallsAre(Conversation(m), {
                                            Out(CTL_SET_OUTPUT_SOURCE).Handle(own).Dw1(0x00040204),
                                            In(CTL_IN_METER_STOP).Slot(2),
                                            Call::Close(2),
                                            Call::Open(4),
                                            In(CTL_IN_METER_START).Slot(4),
                                        }));
  auto check = [&](std::size_t rightValue) {
    m.ClearLog();
    m.Run(100);
    const auto polls = Polls(m);
    ASSERT_EQ(polls.size(), 2u);  // one request per side
    EXPECT_EQ(polls[0].deviceSlot, 3);
    EXPECT_EQ(polls[1].deviceSlot, 4);
    EXPECT_EQ(static_cast<std::uint32_t>(w->MeterTable()[0]->Level()), Le32(polls[0].blockAfter, 0));
    EXPECT_EQ(static_cast<std::uint32_t>(w->MeterTable()[1]->Level()),
              Le32(polls[1].blockAfter, 4 * rightValue));
  };
  check(0);  // channel 5 (index 4) is the pair's first
  m.ui.Click(*w->ChannelButton(0, 1, 5));  // "6": the same pair's second
  EXPECT_EQ(w->MeteringHandle(0, 1).Slot(), 4);
  check(1);
  EXPECT_EQ(m.rig.driver().cards().OutputSource(0, 0)[2], 5);
}

TEST(AnalogOutputWindow, AChannelButtonOutsideAdatInputOnlyTellsTheDriver) {
  MixerRig m(1);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.ClearLog();
  m.ui.Click(*w->ChannelButton(0, 0, 7));
  EXPECT_TRUE(CallsAre(Conversation(m), {Out(CTL_SET_OUTPUT_SOURCE).Dw1(0x00010700)}));
  EXPECT_FALSE(w->ChannelButton(0, 0, 0)->Down());
}

TEST(AnalogOutputWindow, ChannelBytesAboveSevenFromTheDriverKeepTheWindowsChannels) {
  MixerRig m(1, "[Card1]\nAnalogOutputSource=4,9,200\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->btnAdatInp->Checked());
  EXPECT_TRUE(w->ChannelButton(0, 0, 0)->Down());
  EXPECT_TRUE(w->ChannelButton(0, 1, 1)->Down());
  EXPECT_EQ(w->AnalogSourceBlock(0)->Byte(1), 0);
  EXPECT_EQ(w->AnalogSourceBlock(0)->Byte(2), 1);
  EXPECT_EQ(w->MeteringHandle(0, 0).Slot(), 2);
  EXPECT_EQ(w->MeteringHandle(0, 1).Slot(), 2);
  const auto sets = ControlMessages(m.rig.driver().callLog().Records(), {CTL_SET_OUTPUT_SOURCE});
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].dw1 & 0xFFFFFF, 0x010004u);
  EXPECT_EQ(sets[0].result, 0u);
}

TEST(AnalogOutputWindow, FourCardsPollOncePerCardAndTwicePerAdatCard) {
  MixerRig m(4, "[Card3]\nAnalogOutputSource=4,0,7\n[Card4]\nAnalogOutputSource=3,0,1\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.ClearLog();
  m.Run(100);
  std::vector<int> slots;
  for (const auto& r : Polls(m)) slots.push_back(r.deviceSlot);
  EXPECT_EQ(slots, (std::vector<int>{0, 6, 14, 17, 19}));
  m.ui.Click(*w->SourceButton(3, 1));
  EXPECT_EQ(w->MeteringHandle(3, 0).Slot(), 19);
  EXPECT_EQ(w->MeteringHandle(3, 0).GetDirection(), Direction::Playback);
  m.CloseAnalogOutput();
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
}

// --- options, persistence and closing -----------------------------------------------------------

TEST(AnalogOutputWindow, PlaybackSelectionBoxHidesTheSourcesAndMovesTheMetersUp) {
  MixerRig m(2);
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  const int top = w->pnLevel->Top();
  m.ui.Click(*w->chkPlaybackSel);
  EXPECT_FALSE(w->pnPlaybackSel->Visible());
  EXPECT_EQ(w->pnLevel->Top(), top - 156);
  EXPECT_EQ(w->Height(), 478 - 156);
  const auto menu = m.rig.user().SystemMenuItems(w->Handle());
  const std::size_t first = HostUserApi::kStandardSystemMenuItems;
  EXPECT_EQ(menu[first + 1].text, " &Wiedergabeauswahl");
  EXPECT_EQ(menu[first + 2].text, " P&eak Meter");
}

TEST(AnalogOutputWindow, LinkBoxesAreStoredByTheirNamesAndBadValuesLeaveThemChecked) {
  MixerRig m(4);
  m.WriteIni("[Analog Output]\nchkLink12=abc\nchkLink34=0\nchkLink78=\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->LinkBox(0)->Checked());
  EXPECT_FALSE(w->LinkBox(1)->Checked());
  EXPECT_TRUE(w->LinkBox(3)->Checked());
  EXPECT_TRUE(ControlMessages(m.rig.driver().callLog().Records(), {WODM_SETVOLUME}).empty());
  m.ui.Click(*w->LinkBox(2));
  m.CloseAnalogOutput();
  const std::string ini = m.ReadIni();
  for (const char* key : {"[Analog Output]", "pnChecks=1", "chkPlaybackSel=1", "chkPeakMeter=1", "chkLink12=1",
                          "chkLink34=0", "chkLink56=0", "chkLink78=1"})
    EXPECT_NE(ini.find(key), std::string::npos) << key;
}

TEST(AnalogOutputWindow, ClosingInAdatInputReleasesEverything) {
  MixerRig m(2, "[Card2]\nAnalogOutputSource=4,0,1\n");
  TfrmAnalogOut* w = m.OpenAnalogOutput();
  ASSERT_NE(w, nullptr);
  m.ui.Click(*w->SourceButton(0, 2));
  EXPECT_EQ(m.OpenHandleCount(), 8u + 4u);
  m.ClearLog();
  w->UserCloseRequest();
  Application::Instance().ProcessMessages();
  EXPECT_EQ(m.AnalogOutput(), nullptr);
  EXPECT_FALSE(m.control->chkAnalogOutputs->Checked());
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
  // Metering stopped where each card metered.
  EXPECT_EQ(ControlMessages(m.rig.driver().callLog().Records(), {CTL_IN_METER_STOP}).size(), 4u);
}

}  // namespace
}  // namespace zentra::testing
