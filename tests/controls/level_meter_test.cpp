// The LED bar graph and level meter: segment build and colours, the level
// mapping, hold and decay, the own timer and what gets repainted.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "controls/audio_rig.h"
#include "controls/level_meter.h"
#include "toolkit/application.h"
#include "toolkit/class_registry.h"
#include "toolkit/containers.h"
#include "toolkit/loader.h"

namespace zentra {
namespace {

using testing::AudioRig;

// A meter as the mixer windows' descriptions set it up: 40 segments.
TLevelMeter* WindowMeter(AudioRig& rig, const std::string& name = "Meter1") {
  auto* meter = rig.Make<TLevelMeter>(name);
  meter->SetBounds(6, 6, meter->Width(), 163);
  meter->SetLumiHeight(5);
  meter->SetNumLumisRed(1);
  meter->SetNumLumisOrange(12);
  meter->SetTimerInterval(40);
  meter->SetLevelMaxHold(3000);
  return meter;
}

std::set<int> LitSegments(const TBarGraph& bar) {
  std::set<int> lit;
  for (int i = 0; i < bar.SegmentCount(); ++i)
    if (bar.Segment(i)->On()) lit.insert(i);
  return lit;
}

std::set<int> Range(int from, int to) {
  std::set<int> s;
  for (int i = from; i <= to; ++i) s.insert(i);
  return s;
}

void Decay(TLevelMeter& meter, int steps = 1, std::uintptr_t wParam = 0) {
  for (int i = 0; i < steps; ++i) {
    Message m{WM_METER_DECAY, wParam, 0, 0};
    meter.DecayMessage(m);
  }
}

TEST(BarGraphBuild, NewControlsHaveTheirDefaultsAndColouredSegments) {
  AudioRig rig;
  auto* bar = rig.Make<TBarGraph>("Bar");
  EXPECT_EQ(bar->Width(), 18);
  EXPECT_EQ(bar->Height(), 164);
  EXPECT_EQ(bar->BevelOuter(), BevelCut::Lowered);
  EXPECT_EQ(bar->SegmentCount(), 32);
  EXPECT_EQ(bar->GetLevelMax(), 0xFFFF);

  auto* meter = rig.Make<TLevelMeter>("Meter");
  ASSERT_EQ(meter->SegmentCount(), 32);
  EXPECT_EQ(meter->GetLevelMax(), 32767);
  EXPECT_EQ(meter->BarLevelMax(), 511);
  EXPECT_EQ(meter->TimerInterval(), 50);
  EXPECT_EQ(meter->LevelMaxHold(), 2000);
  EXPECT_NEAR(meter->LevelScale(), 361.1375, 1e-4);
  // Default zones: two red, ten orange, the rest green.
  EXPECT_EQ(meter->Segment(31)->ColorOn(), TLevelMeter::kRed);
  EXPECT_EQ(meter->Segment(30)->ColorOn(), TLevelMeter::kRed);
  EXPECT_EQ(meter->Segment(29)->ColorOn(), TLevelMeter::kOrange);
  EXPECT_EQ(meter->Segment(20)->ColorOn(), TLevelMeter::kOrange);
  EXPECT_EQ(meter->Segment(19)->ColorOn(), TLevelMeter::kGreen);
  // A fresh segment: black outline, grey fill, off.
  const TLumi& lumi = *meter->Segment(0);
  EXPECT_EQ(lumi.GetPen().color, clBlack);
  EXPECT_EQ(lumi.GetBrush().color, clGray);
  EXPECT_FALSE(lumi.On());
}

TEST(BarGraphBuild, WindowValuesGiveFortySegmentsWithTheTopOneAtZero) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  ASSERT_EQ(meter->SegmentCount(), 40);
  EXPECT_EQ(meter->Segment(39)->Top(), 0);
  for (int i = 0; i < 40; ++i) {
    const TLumi& s = *meter->Segment(i);
    EXPECT_EQ(s.Left(), 1);
    EXPECT_EQ(s.Width(), 15);
    EXPECT_EQ(s.Height(), 5);
    EXPECT_EQ(s.Top(), 163 - 5 - 2 - i * 4);  // neighbours share one outline line
    const Color expected = i == 39 ? TLevelMeter::kRed : i >= 27 ? TLevelMeter::kOrange : TLevelMeter::kGreen;
    EXPECT_EQ(s.ColorOn(), expected) << "segment " << i;
  }
}

TEST(BarGraphBuild, ResizeMovesOrRebuildsAndKeepsTheWidthRule) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  TLumi* bottom = meter->Segment(0);
  // 164 still fits 40 segments of 4 pixels: the segments only move.
  meter->SetHeight(164);
  EXPECT_EQ(meter->Segment(0), bottom);
  EXPECT_EQ(meter->Segment(0)->Top(), 164 - 7);
  // 200 fits more: rebuilt with 50 segments.
  meter->SetHeight(200);
  EXPECT_EQ(meter->SegmentCount(), 50);
  meter->SetWidth(30);
  EXPECT_EQ(meter->Segment(10)->Width(), 27);
}

TEST(BarGraphBuild, LoadedFromADescriptionWithTheWindowValues) {
  AudioRig rig;
  auto* form = new TForm(nullptr);
  LoadWindowDescriptionText(*form, "meter.wnd",
                            "object W: TForm\n"
                            "  object Meter1: TLevelMeter\n"
                            "    Left = 6\n    Top = 6\n    Height = 163\n"
                            "    LumiHeight = 5\n    NumLumisRed = 1\n    NumLumisOrange = 12\n"
                            "    TimerInterval = 40\n    LevelMaxHold = 3000\n"
                            "  end\n"
                            "end\n");
  auto* meter = dynamic_cast<TLevelMeter*>(form->FindComponent("Meter1"));
  ASSERT_NE(meter, nullptr);
  EXPECT_EQ(meter->SegmentCount(), 40);
  EXPECT_EQ(meter->Segment(38)->ColorOn(), TLevelMeter::kOrange);
  EXPECT_EQ(meter->LevelMaxHold(), 3000);
  EXPECT_FALSE(meter->TimerEnable());
  Free(form);
}

TEST(BarGraphBuild, DescriptionsKnowTheClassesWithTheirPropertiesInOrder) {
  AudioRig rig;
  const ClassInfo* meter = ClassRegistry::Instance().Find("TLevelMeter");
  ASSERT_NE(meter, nullptr);
  std::vector<std::string> names = meter->PropertyNames();
  // The meter's Level and LevelMax replace the bar graph's.
  const std::vector<std::string> tail(names.end() - 13, names.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"BevelOuter", "Width", "Height", "LumiHeight",
                                            "LumiColor", "_On", "NumLumisRed", "NumLumisOrange",
                                            "TimerEnable", "TimerInterval", "Level", "LevelMax",
                                            "LevelMaxHold"}));
  const ClassInfo* lumi = ClassRegistry::Instance().Find("TLumi");
  ASSERT_NE(lumi, nullptr);
  names = lumi->PropertyNames();
  EXPECT_EQ(std::vector<std::string>(names.end() - 7, names.end()),
            (std::vector<std::string>{"Width", "Height", "ColorOn", "ColorOff", "ColorFrame",
                                      "Frame", "_On"}));
  ASSERT_NE(ClassRegistry::Instance().Find("TSlider"), nullptr);
  EXPECT_EQ(ClassRegistry::Instance().Find("TSlider")->PropertyNames().back(), "OnChange");
}

struct MappingRow {
  int raw;
  int mapped;
  int segment;
};

TEST(LevelMapping, RawLevelsMapOntoTheFortySegments) {
  const MappingRow rows[] = {{100, 12, 1},      {1000, 89, 7},     {3277, 196, 15},
                             {10362, 343, 26},  {16384, 408, 31},  {23197, 459, 35},
                             {32767, 511, 39}};
  for (const MappingRow& row : rows) {
    AudioRig rig;
    TLevelMeter* meter = WindowMeter(rig);
    EXPECT_EQ(meter->MapLevel(row.raw), row.mapped) << row.raw;
    meter->SetLevel(row.raw);
    EXPECT_EQ(meter->TopIndex(), row.segment) << row.raw;
    EXPECT_EQ(meter->BarLevel(), row.mapped);
    EXPECT_EQ(LitSegments(*meter), Range(0, row.segment)) << row.raw;
  }
}

TEST(LevelMapping, LevelsBeyondFullScaleAndZeroLightNothing) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  EXPECT_EQ(meter->MapLevel(40000), 541);
  meter->SetLevel(40000);
  EXPECT_TRUE(LitSegments(*meter).empty());
  EXPECT_EQ(meter->BarLevel(), 0);
  EXPECT_EQ(meter->Level(), 40000);
  // Just above LevelMax still maps within the bar's scale.
  meter->SetLevel(0);
  EXPECT_TRUE(LitSegments(*meter).empty());
  meter->SetLevel(32800);
  EXPECT_EQ(meter->TopIndex(), 39);
  EXPECT_EQ(LitSegments(*meter).size(), 40u);
}

TEST(LevelMapping, TheLevelOperationOnlyEverLightsSegments) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetLevel(10362);
  meter->SetLevel(1000);  // lower: nothing goes dark
  EXPECT_EQ(LitSegments(*meter), Range(0, 26));
  meter->SetLevel(16384);  // higher: only the new segments light
  EXPECT_EQ(LitSegments(*meter), Range(0, 31));
}

TEST(LevelMapping, AllOnLightsEverySegmentAndOffDarkensNothing) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetAllOn(true);
  EXPECT_EQ(LitSegments(*meter).size(), 40u);
  meter->SetAllOn(false);
  EXPECT_EQ(LitSegments(*meter).size(), 40u);
  EXPECT_FALSE(meter->AllOn());
}

TEST(HoldAndDecay, ALevelAtThePeakReArmsTheHoldAndALowerOneDoesNot) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetLevel(1000);
  EXPECT_EQ(LitSegments(*meter), Range(0, 7));
  EXPECT_EQ(meter->PeakIndex(), 7);
  EXPECT_EQ(meter->HoldTicks(), 75);
  Decay(*meter, 5);
  EXPECT_EQ(meter->HoldTicks(), 70);
  EXPECT_EQ(LitSegments(*meter), (std::set<int>{0, 1, 2, 7}));
  meter->SetLevel(100);  // below the held peak: the hold keeps counting
  EXPECT_EQ(meter->HoldTicks(), 70);
  meter->SetLevel(1000);  // back at the peak: re-armed
  EXPECT_EQ(meter->HoldTicks(), 75);
  EXPECT_EQ(LitSegments(*meter), Range(0, 7));
  meter->SetLevel(3277);  // a higher peak takes over
  EXPECT_EQ(meter->PeakIndex(), 15);
}

TEST(HoldAndDecay, SevenStepsAfterTheLevelTheBarHasFallenToTheBottom) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetLevel(1000);
  meter->SetLevel(100);
  Decay(*meter, 7);
  EXPECT_EQ(LitSegments(*meter), (std::set<int>{0, 7}));
  Decay(*meter);
  EXPECT_EQ(LitSegments(*meter), (std::set<int>{7}));
}

TEST(HoldAndDecay, ThePeakGoesDarkOnThe75thStep) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetLevel(16384);
  Decay(*meter, 74);
  EXPECT_EQ(LitSegments(*meter), (std::set<int>{31}));
  Decay(*meter);
  EXPECT_TRUE(LitSegments(*meter).empty());
  EXPECT_EQ(meter->PeakIndex(), 0);
}

TEST(HoldAndDecay, DecayResultAndForeignTimerTicks) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetLevel(3277);
  Message m{WM_METER_DECAY, 12345, 0, 0};
  meter->DecayMessage(m);  // own timer off: any tick counts
  EXPECT_EQ(m.result, 1);
  EXPECT_EQ(meter->TopIndex(), 14);

  meter->SetTimerEnable(true);
  ASSERT_NE(meter->TimerId(), 0u);
  Message foreign{WM_METER_DECAY, meter->TimerId() + 1, 0, 0};
  meter->DecayMessage(foreign);
  EXPECT_EQ(foreign.result, 0);
  EXPECT_EQ(meter->TopIndex(), 14);
  Message own{WM_METER_DECAY, meter->TimerId(), 0, 0};
  meter->DecayMessage(own);
  EXPECT_EQ(own.result, 1);
  EXPECT_EQ(meter->TopIndex(), 13);
}

TEST(OwnTimer, StartsRetimesAndStops) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  EXPECT_EQ(rig.Timer().LiveTimerCount(), 0u);
  meter->SetTimerInterval(25);  // stopped: only stored
  EXPECT_EQ(rig.Timer().LiveTimerCount(), 0u);
  meter->SetTimerEnable(true);
  std::uint32_t delay = 0, flags = 0;
  const std::uint32_t first = meter->TimerId();
  ASSERT_TRUE(rig.Timer().TimerInfo(first, &delay, &flags));
  EXPECT_EQ(delay, 25u);
  EXPECT_EQ(flags, TIME_PERIODIC);
  meter->SetTimerInterval(40);  // running: restarted with the new period
  EXPECT_FALSE(rig.Timer().TimerInfo(first, &delay, &flags));
  ASSERT_TRUE(rig.Timer().TimerInfo(meter->TimerId(), &delay, &flags));
  EXPECT_EQ(delay, 40u);
  EXPECT_EQ(rig.Timer().LiveTimerCount(), 1u);
  meter->SetTimerEnable(false);
  EXPECT_EQ(meter->TimerId(), 0u);
  EXPECT_EQ(rig.Timer().LiveTimerCount(), 0u);
}

TEST(OwnTimer, OffAFormNoTimerStartsButTheFlagIsKept) {
  AudioRig rig;
  auto* meter = new TLevelMeter(&rig.Form());  // owned, but on no window
  meter->SetTimerEnable(true);
  EXPECT_TRUE(meter->TimerEnable());
  EXPECT_EQ(meter->TimerId(), 0u);
  EXPECT_EQ(rig.Timer().LiveTimerCount(), 0u);
}

TEST(OwnTimer, DestroyingARunningMeterKillsItsTimer) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetTimerEnable(true);
  EXPECT_EQ(rig.Timer().LiveTimerCount(), 1u);
  Free(meter);
  EXPECT_EQ(rig.Timer().LiveTimerCount(), 0u);
}

TEST(OwnTimer, TicksFallTheBarThroughTheMeterWindow) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetLevel(16384);
  meter->SetTimerInterval(40);
  meter->SetTimerEnable(true);
  rig.Timer().Advance(400);  // ten ticks posted
  rig.Driver().ProcessMessages();
  EXPECT_EQ(meter->TopIndex(), 21);
}

TEST(Repaints, OnlyChangedSegmentsInvalidateTheirOwnFill) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  const WinHandle window = rig.Form().Handle();
  rig.Backend().ClearInvalidations();

  meter->SetLevel(1000);  // segments 0..7 light
  const auto& after = rig.Backend().Invalidations(window);
  ASSERT_EQ(after.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    const TLumi& s = *meter->Segment(i);
    EXPECT_EQ(after[static_cast<std::size_t>(i)].control, meter);  // through the parent's peer
    // Inside the one-pixel outline, which neighbouring segments share: a
    // segment's repaint does not reach its neighbours.
    const Rect expected{meter->Left() + s.Left() + 1, meter->Top() + s.Top() + 1,
                        meter->Left() + s.Left() + s.Width() - 1,
                        meter->Top() + s.Top() + s.Height() - 1};
    EXPECT_EQ(after[static_cast<std::size_t>(i)].rect, expected) << i;
    if (i > 0) {
      const Rect& below = after[static_cast<std::size_t>(i - 1)].rect;
      EXPECT_LE(expected.bottom, below.top) << "segments " << i << " and " << i - 1 << " overlap";
    }
  }
  rig.Backend().ClearInvalidations();
  meter->SetLevel(100);  // no change, no repaint
  EXPECT_EQ(rig.Backend().InvalidationCount(window), 0);
  Decay(*meter);  // one segment below the peak goes dark
  EXPECT_EQ(rig.Backend().InvalidationCount(window), 1);
  Decay(*meter);  // that segment is already dark: no repaint
  EXPECT_EQ(rig.Backend().InvalidationCount(window), 1);
  Decay(*meter);
  EXPECT_EQ(rig.Backend().InvalidationCount(window), 2);
  // Changing a colour repaints nothing.
  meter->Segment(3)->SetColorOn(0x123456);
  EXPECT_EQ(rig.Backend().InvalidationCount(window), 2);
}

TEST(Rebuild, LitBarSurvivesARebuildAndIndicesStayWithinTheSegments) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetLevel(32767);
  meter->SetLumiHeight(20);  // 163 div 19 = 8 segments
  ASSERT_EQ(meter->SegmentCount(), 8);
  EXPECT_EQ(meter->TopIndex(), 7);
  EXPECT_EQ(meter->PeakIndex(), 7);
  EXPECT_EQ(LitSegments(*meter), Range(0, 7));
  Decay(*meter, 100);
  EXPECT_TRUE(LitSegments(*meter).empty());
}

TEST(BadSettings, DegenerateValuesNeverCrash) {
  AudioRig rig;
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetLumiHeight(1);  // no room for a segment
  EXPECT_EQ(meter->SegmentCount(), 0);
  meter->SetLevel(32767);
  Decay(*meter, 3);
  meter->SetLumiHeight(5);
  meter->SetLevelMax(0);  // every positive level maps beyond full scale
  meter->SetLevel(1000);
  EXPECT_EQ(meter->BarLevel(), 511);  // still the last accepted one
  EXPECT_TRUE(LitSegments(*meter).empty());
  meter->SetLevelMax(32767);
  meter->SetLevel(-5);  // negative peaks light nothing
  EXPECT_TRUE(LitSegments(*meter).empty());
  meter->SetTimerInterval(0);
  meter->SetLevel(1000);
  EXPECT_EQ(meter->HoldTicks(), 3000);
  meter->SetNumLumisRed(100);  // more zone segments than segments
  EXPECT_EQ(meter->Segment(0)->ColorOn(), TLevelMeter::kRed);
}

}  // namespace
}  // namespace zentra

namespace zentra {
namespace {

// The meter has no window: ticks of its own timer go to the window it lies
// in, which hands them to the meter whose timer it is and to no other.
TEST(OwnTimer, TicksReachOnlyTheirMeterThroughTheSharedWindow) {
  AudioRig rig;
  auto* panel = rig.Make<TPanel>("pnMeter");
  panel->SetBounds(0, 0, 60, 180);
  TLevelMeter* timed = WindowMeter(rig, "Meter1");
  timed->SetParent(panel);
  TLevelMeter* plain = WindowMeter(rig, "Meter2");
  plain->SetParent(panel);
  EXPECT_FALSE(timed->IsWindowed());
  EXPECT_EQ(timed->Handle(), 0u);
  EXPECT_EQ(timed->MessageWindow(), panel->Handle());
  timed->SetLevel(16384);
  plain->SetLevel(16384);
  const int top = plain->TopIndex();
  ASSERT_EQ(timed->TopIndex(), top);

  timed->SetTimerInterval(40);
  timed->SetTimerEnable(true);
  rig.Timer().Advance(400);  // ten ticks posted to the panel's window
  rig.Driver().ProcessMessages();
  EXPECT_EQ(timed->TopIndex(), top - 10);
  EXPECT_EQ(plain->TopIndex(), top);  // not its timer

  // A tick of no running timer, or one posted while the timer is off, is
  // nobody's.
  PostMessageToWindow(panel->Handle(), WM_METER_DECAY, timed->TimerId() + 7, 0);
  rig.Driver().ProcessMessages();
  EXPECT_EQ(timed->TopIndex(), top - 10);
  const std::uint32_t id = timed->TimerId();
  timed->SetTimerEnable(false);
  PostMessageToWindow(panel->Handle(), WM_METER_DECAY, id, 0);
  rig.Driver().ProcessMessages();
  EXPECT_EQ(timed->TopIndex(), top - 10);
  EXPECT_EQ(plain->TopIndex(), top);
}

TEST(Repaints, SegmentsRepaintThroughTheWindowTheMeterLiesIn) {
  AudioRig rig;
  auto* panel = rig.Make<TPanel>("pnMeter");
  panel->SetBounds(20, 30, 60, 180);
  TLevelMeter* meter = WindowMeter(rig);
  meter->SetParent(panel);
  rig.Backend().ClearInvalidations();
  meter->SetLevel(1000);  // segments 0..7
  const auto& requests = rig.Backend().Invalidations(rig.Form().Handle());
  ASSERT_EQ(requests.size(), 8u);
  const TLumi& s = *meter->Segment(0);
  // In form coordinates: panel, meter and segment offsets, inside the outline.
  const Rect expected{20 + meter->Left() + s.Left() + 1, 30 + meter->Top() + s.Top() + 1,
                      20 + meter->Left() + s.Left() + s.Width() - 1,
                      30 + meter->Top() + s.Top() + s.Height() - 1};
  EXPECT_EQ(requests[0].rect, expected);
}

}  // namespace
}  // namespace zentra
