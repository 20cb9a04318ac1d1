#include <gtest/gtest.h>

#include <set>

#include "support/headless_ui.h"
#include "toolkit/std_controls.h"
#include "toolkit/windowless_paint_plan.h"

namespace zentra {
namespace {

using testing::HeadlessUi;
using testing::Owned;
using Change = PaintClip::Change;

// A meter strip as the mixer windows lay it out: a windowed panel holding a
// windowless meter panel with guide labels behind two bar graphs of
// segments, and a label beneath them.
class OpaqueCoverTest : public ::testing::Test {
 protected:
  OpaqueCoverTest() : form(new TForm(nullptr)) {
    form->SetBorderStyle(BorderStyle::None);
    form->SetBounds(0, 0, 300, 300);
    meters = Add<TPanel>(form.get(), 0, 100, 200, 200);
    strip = Add<TPanel>(meters, 8, 0, 53, 185);
    strip->SetWindowless(true);
    guide = Add<TLabel>(strip, 2, 3, 49, 11);
    for (int m = 0; m < 2; ++m) {
      bar[m] = Add<TPanel>(strip, 6 + 22 * m, 6, 17, 163);
      bar[m]->SetWindowless(true);
      for (int k = 0; k < 3; ++k) segment[m][k] = Add<TShape>(bar[m], 1, 1 + 5 * k, 15, 5);
    }
    channel = Add<TLabel>(strip, 11, 171, 10, 12);
    opaque = {strip, bar[0], bar[1]};
    for (auto& column : segment)
      for (TShape* s : column) opaque.insert(s);
  }
  template <class T>
  T* Add(Control* parent, int left, int top, int width, int height) {
    auto* c = new T(form.get());
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
  }
  const Control* CoverOf(const Rect& area, Point& origin) const {
    return OpaqueCoverOf(*meters, area, [this](const Control& c) { return opaque.count(&c) > 0; },
                         origin);
  }

  HeadlessUi ui;
  Owned<TForm> form;
  TPanel* meters;
  TPanel* strip;
  TLabel* guide;
  TPanel* bar[2];
  TShape* segment[2][3];
  TLabel* channel;
  std::set<const Control*> opaque;
};

TEST_F(OpaqueCoverTest, ASegmentOrItsInsideIsPaintedFromTheSegment) {
  // Segment 1 of the second bar: strip at 8, bar at 6 + 22, segment at 1, 6
  // (window coordinates 37, 12 to 52, 17).
  Point origin;
  EXPECT_EQ(CoverOf(Rect{37, 12, 52, 17}, origin), segment[1][1]);
  EXPECT_EQ(origin.x, 8 + 28);
  EXPECT_EQ(origin.y, 6);
  Point inside;
  EXPECT_EQ(CoverOf(Rect{38, 13, 51, 16}, inside), segment[1][1]);
  EXPECT_EQ(inside.x, origin.x);
  EXPECT_EQ(inside.y, origin.y);
}

TEST_F(OpaqueCoverTest, AnAreaOverSeveralChildrenIsPaintedFromTheirOpaqueParent) {
  Point origin;
  // Two segments of one bar: the bar.
  EXPECT_EQ(CoverOf(Rect{37, 12, 52, 22}, origin), bar[1]);
  EXPECT_EQ(origin.x, 8);
  EXPECT_EQ(origin.y, 0);
  // Between the bars: the strip, which paints the guide label behind as well.
  EXPECT_EQ(CoverOf(Rect{32, 10, 35, 12}, origin), strip);
  EXPECT_EQ(origin.x, 0);
  // On the guide label left of the bars: the label is not opaque, the strip is.
  EXPECT_EQ(CoverOf(Rect{10, 4, 13, 6}, origin), strip);
  // Across the strip's edge: nothing covers it.
  EXPECT_EQ(CoverOf(Rect{5, 10, 12, 12}, origin), nullptr);
  EXPECT_EQ(CoverOf(Rect{100, 10, 110, 20}, origin), nullptr);
  EXPECT_EQ(CoverOf(Rect{37, 12, 37, 17}, origin), nullptr);  // empty
}

TEST_F(OpaqueCoverTest, WhatLiesInFrontOfPartOfTheAreaStopsTheSearch) {
  // A mark in front of half of a segment: the segment alone would paint
  // over it, so the bar paints both.
  auto* mark = Add<TShape>(bar[1], 1, 6, 8, 3);
  Point origin;
  EXPECT_EQ(CoverOf(Rect{37, 12, 52, 17}, origin), bar[1]);
  // Hidden, it no longer counts.
  mark->Hide();
  EXPECT_EQ(CoverOf(Rect{37, 12, 52, 17}, origin), segment[1][1]);
  // A hidden segment is passed over too: the bar shows there.
  segment[1][1]->Hide();
  EXPECT_EQ(CoverOf(Rect{37, 12, 52, 17}, origin), bar[1]);
}

TEST_F(OpaqueCoverTest, WindowedControlsAreWindowsOfTheirOwnAndPassedOver) {
  // A windowed panel over the segment is painted by its own window.
  Add<TPanel>(meters, 30, 0, 40, 40);
  Point origin;
  EXPECT_EQ(CoverOf(Rect{37, 12, 52, 17}, origin), segment[1][1]);
  // A bar that became a window: what shows in the strip there is the guide
  // label's edge, so the strip paints.
  bar[1]->SetWindowless(false);
  EXPECT_EQ(CoverOf(Rect{37, 12, 52, 17}, origin), strip);
}

TEST_F(OpaqueCoverTest, AContainerThatIsNotOpaqueIsSearchedThroughButNotPaintedFrom) {
  opaque.erase(bar[1]);
  Point origin;
  EXPECT_EQ(CoverOf(Rect{37, 12, 52, 17}, origin), segment[1][1]);
  // Two segments: the last opaque control on the way down paints them.
  EXPECT_EQ(CoverOf(Rect{37, 12, 52, 22}, origin), strip);
}

TEST(PaintClipTest, AnExactBaseIsNarrowedOnlyForControlsThatNeedIt) {
  PaintClip clip(true);
  const Rect segment{10, 10, 25, 16};
  const Rect inside{11, 11, 24, 15};
  const Rect other{40, 10, 55, 16};
  // Controls that paint only inside themselves need nothing.
  EXPECT_EQ(clip.Before(segment, true), Change::kNone);
  EXPECT_EQ(clip.Before(other, true), Change::kNone);
  // A control shown in part gets its rectangle, once.
  EXPECT_EQ(clip.Before(inside, false), Change::kRect);
  EXPECT_EQ(clip.Before(inside, false), Change::kNone);
  EXPECT_FALSE(clip.AtBase());
  // A free control within that rectangle keeps it; one outside needs the base.
  EXPECT_EQ(clip.Before(Rect{12, 12, 20, 14}, true), Change::kNone);
  EXPECT_EQ(clip.Before(segment, true), Change::kBase);
  EXPECT_TRUE(clip.AtBase());
  // Another rectangle replaces the first.
  EXPECT_EQ(clip.Before(inside, false), Change::kRect);
  EXPECT_EQ(clip.Before(other, false), Change::kRect);
  EXPECT_EQ(clip.AtEnd(), Change::kBase);
  EXPECT_EQ(clip.AtEnd(), Change::kNone);
}

TEST(PaintClipTest, AnInexactBaseIsIntersectedAndSelectedForEachVisibilityTest) {
  PaintClip clip(false);
  const Rect r{10, 10, 25, 16};
  EXPECT_EQ(clip.BeforeVisibilityTest(), Change::kNone);
  EXPECT_EQ(clip.Before(r, true), Change::kNone);
  // Within a region the needed clip is not told by its rectangle: each
  // control that needs one gets it anew.
  EXPECT_EQ(clip.Before(r, false), Change::kRectWithinBase);
  EXPECT_EQ(clip.Before(r, false), Change::kRectWithinBase);
  EXPECT_EQ(clip.Before(Rect{12, 12, 14, 14}, true), Change::kBase);
  EXPECT_EQ(clip.Before(r, false), Change::kRectWithinBase);
  EXPECT_EQ(clip.BeforeVisibilityTest(), Change::kBase);
  EXPECT_EQ(clip.BeforeVisibilityTest(), Change::kNone);
}

}  // namespace
}  // namespace zentra
