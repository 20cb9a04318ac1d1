// The fader: geometry with the analog output window's values, position and
// range handling, initialization and dragging the knob with the mouse.
#include <gtest/gtest.h>

#include "controls/audio_rig.h"
#include "controls/slider.h"
#include "toolkit/loader.h"

namespace zentra {
namespace {

using testing::AudioRig;

// A fader as the analog output window's description sets it up.
TSlider* WindowFader(AudioRig& rig, int* changes = nullptr) {
  auto* s = rig.Make<TSlider>("Slider0");
  s->SetBounds(40, 30, 4, 121);
  s->SetMax(255);
  s->SetBtnHeight(26);
  s->SetBtnWidth(18);
  s->SetMoveRestriction(6);
  if (changes != nullptr) s->OnChange = [changes](Component*) { ++*changes; };
  return s;
}

int ExpectedKnobTop(const TSlider& s) {
  return s.Top() + s.Height() - s.BtnHeight() / 2 - s.KnobOffset() - s.MoveRestriction();
}

TEST(SliderConstruction, DefaultsGrooveKnobAndLine) {
  AudioRig rig;
  auto* s = new TSlider(&rig.Form());
  EXPECT_EQ(s->Width(), 4);
  EXPECT_EQ(s->Height(), 149);
  EXPECT_EQ(s->GetColor(), clBlack);
  EXPECT_EQ(s->BevelOuter(), BevelCut::None);
  EXPECT_EQ(s->BevelInner(), BevelCut::Lowered);
  EXPECT_EQ(s->Min(), 0);
  EXPECT_EQ(s->Max(), 100);
  EXPECT_EQ(s->Position(), 0);
  EXPECT_EQ(s->MoveRestriction(), 4);
  EXPECT_EQ(s->BtnHeight(), 14);
  EXPECT_EQ(s->BtnWidth(), 24);
  EXPECT_EQ(s->TravelPixels(), 141);
  ASSERT_NE(s->Knob(), nullptr);
  EXPECT_EQ(s->Knob()->Owner(), s);
  EXPECT_EQ(s->Knob()->GetColor(), clSilver);
  EXPECT_EQ(s->Knob()->Parent(), nullptr);  // placed at initialization
  EXPECT_EQ(s->KnobLine()->Parent(), s->Knob());
  EXPECT_EQ(s->KnobLine()->Shape(), BevelShape::TopLine);
  EXPECT_FALSE(s->Initialized());
}

TEST(SliderGeometry, WindowValuesGiveATravelOf109) {
  AudioRig rig;
  int changes = 0;
  TSlider* s = WindowFader(rig, &changes);
  ASSERT_TRUE(s->Initialized());
  EXPECT_EQ(s->TravelPixels(), 109);
  s->SetPosition(128);
  EXPECT_NEAR(s->Fraction(), 128.0 / 255.0, 1e-12);
  EXPECT_EQ(s->KnobOffset(), 55);
  EXPECT_EQ(changes, 1);
  TPanel& knob = *s->Knob();
  EXPECT_EQ(knob.Parent(), s->Parent());
  EXPECT_EQ(knob.Left(), 40 + 2 - 9);
  EXPECT_EQ(knob.Top(), 30 + 121 - 13 - 55 - 6);
  EXPECT_EQ(knob.Width(), 18);
  EXPECT_EQ(knob.Height(), 26);
  EXPECT_EQ(s->KnobLine()->Top(), (26 - 4) / 2);
  EXPECT_EQ(s->KnobLine()->Width(), 13);
  // At the ends the knob's middle sits MoveRestriction inside the groove.
  s->SetPosition(0);
  EXPECT_EQ(knob.Top() + 13, 30 + 121 - 6);
  s->SetPosition(255);
  EXPECT_EQ(knob.Top() + 13, 30 + 6);
  EXPECT_EQ(s->KnobOffset(), 109);
}

TEST(SliderGeometry, ResizeKeepsTheGrooveFourWideAndTheKnobFollowsTheGroove) {
  AudioRig rig;
  TSlider* s = WindowFader(rig);
  s->SetPosition(200);
  s->SetWidth(20);
  EXPECT_EQ(s->Width(), 4);
  s->SetHeight(221);
  EXPECT_EQ(s->TravelPixels(), 209);
  EXPECT_EQ(s->KnobOffset(), 164);  // round(209 * 200 / 255)
  EXPECT_EQ(s->Position(), 200);
  s->SetLeft(100);
  EXPECT_EQ(s->Knob()->Left(), 100 + 2 - 9);
  EXPECT_EQ(s->Knob()->Top(), ExpectedKnobTop(*s));
}

TEST(SliderRange, PositionOutsideTheRangeIsARangeErrorAndChangesNothing) {
  AudioRig rig;
  int changes = 0;
  TSlider* s = WindowFader(rig, &changes);
  s->SetPosition(100);
  changes = 0;
  try {
    s->SetPosition(256);
    FAIL() << "no range error";
  } catch (const ERangeError& e) {
    EXPECT_STREQ(e.what(), "Wert für Position liegt außerhalb von Min und Max");
  }
  EXPECT_THROW(s->SetPosition(-1), ERangeError);
  EXPECT_EQ(s->Position(), 100);
  EXPECT_EQ(changes, 0);
}

TEST(SliderRange, EqualBoundsPutTheKnobAtItsLowestPlace) {
  AudioRig rig;
  TSlider* s = WindowFader(rig);
  s->SetPosition(50);
  s->SetMax(50);
  s->SetMin(50);
  s->SetPosition(50);
  EXPECT_EQ(s->Fraction(), 0.0);
  EXPECT_EQ(s->KnobOffset(), 0);
  EXPECT_EQ(s->Position(), 50);
}

TEST(SliderRange, ChangingABoundKeepsPositionAndKnobAndFiresOnce) {
  AudioRig rig;
  int changes = 0;
  auto* s = rig.Make<TSlider>("S");
  s->SetPosition(50);
  s->OnChange = [&](Component*) { ++changes; };
  const int knobTop = s->Knob()->Top();
  s->SetMax(200);
  EXPECT_EQ(s->Position(), 50);
  EXPECT_EQ(s->Knob()->Top(), knobTop);
  EXPECT_EQ(changes, 1);
  // The next position re-places the knob in the new range.
  s->SetPosition(50);
  EXPECT_EQ(s->Fraction(), 0.25);
}

TEST(SliderRange, APositionLeftOutsideByABoundChangeDoesNotBlockTheNextBound) {
  AudioRig rig;
  auto* s = rig.Make<TSlider>("S");
  s->SetMin(50);  // Position 0 now lies below the range
  EXPECT_NO_THROW(s->SetMax(200));
  EXPECT_EQ(s->Max(), 200);
  s->SetPosition(125);
  EXPECT_EQ(s->Fraction(), 0.5);
}

TEST(SliderInitialization, LoadingSetsPositionFirstAndFiresOnChangeOnceAtTheEnd) {
  AudioRig rig;
  struct Window : TForm {
    explicit Window(Component* o) : TForm(o) { BindHandler("SliderChange", &Window::SliderChange); }
    void SliderChange(Component*) { ++changes; }
    int changes = 0;
  };
  auto* w = new Window(nullptr);
  LoadWindowDescriptionText(*w, "fader.wnd",
                            "object W: TForm\n"
                            "  object chkLink1: TCheckBox\n    Left = 8\n  end\n"
                            "  object Slider0: TSlider\n"
                            "    Left = 20\n    Top = 10\n    Height = 121\n    Max = 255\n"
                            "    Position = 128\n    BtnHeight = 26\n    BtnWidth = 18\n"
                            "    MoveRestriction = 6\n    Number = 0\n    LinkCheck = chkLink1\n"
                            "    OnChange = SliderChange\n"
                            "  end\n"
                            "end\n");
  auto* s = dynamic_cast<TSlider*>(w->FindComponent("Slider0"));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(w->changes, 1);
  EXPECT_TRUE(s->Initialized());
  EXPECT_EQ(s->Position(), 128);
  EXPECT_EQ(s->KnobOffset(), 55);
  EXPECT_EQ(s->Knob()->Parent(), w);
  EXPECT_EQ(s->LinkCheck(), w->FindComponent("chkLink1"));
  Free(w);
}

TEST(SliderInitialization, AFaderMadeInCodeIsPlacedWhenItGetsAParent) {
  AudioRig rig;
  auto* panel = rig.Make<TPanel>("pnFaders");
  int changes = 0;
  auto* s = new TSlider(&rig.Form());
  s->OnChange = [&](Component*) { ++changes; };
  s->SetPosition(30);
  EXPECT_FALSE(s->Initialized());
  changes = 0;
  s->SetParent(panel);
  EXPECT_TRUE(s->Initialized());
  EXPECT_EQ(s->Knob()->Parent(), panel);
  EXPECT_EQ(panel->Children().back(), s->Knob());  // in front of the groove
  EXPECT_EQ(changes, 1);
  // Moving the groove to another container takes the knob along.
  s->SetParent(&rig.Form());
  EXPECT_EQ(s->Knob()->Parent(), &rig.Form());
  s->Hide();
  EXPECT_FALSE(s->Knob()->Visible());
}

TEST(SliderDragging, TheKnobFollowsThePointerAndStopsAtTheEnds) {
  AudioRig rig;
  int changes = 0;
  TSlider* s = WindowFader(rig, &changes);
  s->SetPosition(128);
  changes = 0;
  TPanel& knob = *s->Knob();
  rig.Driver().MouseDown(knob, 9, 13);
  EXPECT_TRUE(s->Dragging());
  // The knob moves with the pointer: the pointer keeps its place on it.
  rig.Driver().MouseMove(knob, 9, 3);
  EXPECT_EQ(s->KnobOffset(), 65);
  EXPECT_EQ(s->Position(), 152);  // round(255 * 65 / 109)
  EXPECT_EQ(knob.Top(), ExpectedKnobTop(*s));
  rig.Driver().MouseMove(knob, 9, 13);  // no movement: OnChange still fires
  EXPECT_EQ(s->KnobOffset(), 65);
  EXPECT_EQ(changes, 2);
  rig.Driver().MouseMove(knob, 9, -500);  // far above the groove
  EXPECT_EQ(s->Position(), 255);
  EXPECT_EQ(s->KnobOffset(), 109);
  rig.Driver().MouseMove(knob, 9, 900);  // far below
  EXPECT_EQ(s->Position(), 0);
  EXPECT_EQ(s->KnobOffset(), 0);
  rig.Driver().MouseUp(knob, 9, 900);
  EXPECT_FALSE(s->Dragging());
  rig.Driver().MouseMove(knob, 9, -500);  // not dragging: nothing happens
  EXPECT_EQ(s->Position(), 0);
}

TEST(SliderDragging, DragThroughTheDriverMovesTheFaderUp) {
  AudioRig rig;
  TSlider* s = WindowFader(rig);
  rig.Driver().Drag(*s->Knob(), {9, 13}, {9, -30});
  EXPECT_GT(s->Position(), 0);
  EXPECT_EQ(s->Knob()->Top(), ExpectedKnobTop(*s));
  EXPECT_FALSE(s->Dragging());
}

}  // namespace
}  // namespace zentra
