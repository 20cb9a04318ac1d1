#include "controls/slider.h"

#include <algorithm>
#include <cmath>

#include "toolkit/shapes.h"

namespace zentra {
namespace {

constexpr int kGrooveWidth = 4;

int RoundHalfEven(long double value) { return static_cast<int>(std::lrint(value)); }

}  // namespace

TSlider::TSlider(Component* owner) : TPanel(owner) {
  // The groove.
  SetBevelOuter(BevelCut::None);
  SetBevelInner(BevelCut::Lowered);
  SetCaption("");
  TPanel::SetBounds(Left(), Top(), kGrooveWidth, 149);
  SetColor(clBlack);

  // The knob: a separate flat panel, put beside the groove on initialization.
  knob_ = new TPanel(this);
  knob_->SetCaption("");
  knob_->SetBounds(0, 0, 24, 14);
  knob_->SetParentCtl3D(false);
  knob_->SetCtl3D(false);
  knob_->SetBevelOuter(BevelCut::None);
  knob_->SetBorderWidth(1);
  knob_->SetColor(clSilver);
  knob_->OnMouseDown = [this](Component* s, MouseButton b, ShiftState sh, int x, int y) {
    KnobMouseDown(s, b, sh, x, y);
  };
  knob_->OnMouseMove = [this](Component* s, ShiftState sh, int x, int y) {
    KnobMouseMove(s, sh, x, y);
  };
  knob_->OnMouseUp = [this](Component* s, MouseButton b, ShiftState sh, int x, int y) {
    KnobMouseUp(s, b, sh, x, y);
  };

  RecomputeTravel();
  knobOffset_ = 0;
  btnHeight_ = 14;
  btnWidth_ = 24;

  // The lowered line across the knob.
  knobLine_ = new TBevel(knob_);
  knobLine_->SetParent(knob_);
  knobLine_->SetShape(BevelShape::TopLine);
  knobLine_->SetStyle(BevelStyle::Lowered);
  knobLine_->SetBounds(1, knobLine_->Top(), knobLine_->Width(), 2);

  SetMin(0);
  SetMax(100);
  SetPosition(0);
  SetMoveRestriction(4);
}

// --- geometry -----------------------------------------------------------------

int TSlider::KnobLeft() const { return Left() + Width() / 2 - btnWidth_ / 2; }

int TSlider::KnobTop() const {
  return Top() + Height() - btnHeight_ / 2 - knobOffset_ - moveRestriction_;
}

void TSlider::RecomputeTravel() { travel_ = Height() - 2 * moveRestriction_; }

void TSlider::PlaceKnob() {
  knob_->SetBounds(KnobLeft(), KnobTop(), btnWidth_, btnHeight_);
}

void TSlider::PlaceKnobLine() {
  knobLine_->SetBounds(1, (knob_->Height() - 4) / 2, knob_->Width() - 5, knobLine_->Height());
}

void TSlider::SetBounds(int left, int top, int width, int height) {
  const bool heightChanged = height != Height();
  TPanel::SetBounds(left, top, kGrooveWidth, height);
  if (heightChanged) {
    RecomputeTravel();
    knobOffset_ = RoundHalfEven(static_cast<long double>(travel_) * fraction_);
  }
  // The knob follows the groove in its parent.
  PlaceKnob();
}

// --- initialization -------------------------------------------------------------

void TSlider::Initialize() {
  knob_->SetLeft(KnobLeft());
  knob_->SetParent(Parent());  // a sibling in front of the groove
  RecomputeTravel();
  ApplyFraction(FractionOf(position_));
  PlaceKnobLine();
  initialized_ = true;
}

void TSlider::Loaded() {
  TPanel::Loaded();
  Initialize();
}

void TSlider::ParentChanged() {
  TPanel::ParentChanged();
  if (Loading()) return;
  if (!initialized_) {
    if (Parent() != nullptr) Initialize();
    return;
  }
  // The knob stays beside the groove wherever the groove goes.
  knob_->SetParent(Parent());
  PlaceKnob();
}

void TSlider::VisibleChanged() {
  TPanel::VisibleChanged();
  knob_->SetVisible(Visible());
}

// --- position and range -------------------------------------------------------

double TSlider::FractionOf(int position) const {
  if (max_ == min_) return 0.0;
  return (static_cast<double>(position) - min_) / (static_cast<double>(max_) - min_);
}

void TSlider::ApplyFraction(double fraction) {
  if (Loading()) return;
  if (!(fraction >= 0.0 && fraction <= 1.0)) throw ERangeError();
  fraction_ = fraction;
  position_ = RoundHalfEven((static_cast<long double>(max_) - min_) * fraction + min_);
  knobOffset_ = RoundHalfEven(static_cast<long double>(travel_) * fraction);
  PlaceKnob();
  if (OnChange) OnChange(this);
}

void TSlider::SetPosition(int value) {
  if (value < min_ || value > max_) throw ERangeError();
  position_ = value;
  ApplyFraction(FractionOf(value));
}

void TSlider::SetMin(int value) {
  // Keeps Position and the knob in place under the old range first. A
  // Position that already lies outside the old range stays as it is until
  // it is set again (applying its fraction would be a range error).
  const double f = FractionOf(position_);
  if (f >= 0.0 && f <= 1.0) ApplyFraction(f);
  min_ = value;
}

void TSlider::SetMax(int value) {
  const double f = FractionOf(position_);
  if (f >= 0.0 && f <= 1.0) ApplyFraction(f);
  max_ = value;
}

void TSlider::SetBtnHeight(int value) {
  btnHeight_ = value;
  knob_->SetHeight(value);
  RecomputeTravel();
  knobOffset_ = RoundHalfEven(static_cast<long double>(travel_) * fraction_);
  PlaceKnob();
  knobLine_->SetTop((knob_->Height() - 4) / 2);
}

void TSlider::SetBtnWidth(int value) {
  btnWidth_ = value;
  knob_->SetWidth(value);
  knob_->SetLeft(KnobLeft());
  knobLine_->SetWidth(knob_->Width() - 5);
}

void TSlider::SetMoveRestriction(int value) {
  moveRestriction_ = value;
  RecomputeTravel();
  knobOffset_ = RoundHalfEven(static_cast<long double>(travel_) * fraction_);
  PlaceKnob();
}

// --- dragging -----------------------------------------------------------------

void TSlider::KnobMouseDown(Component*, MouseButton, ShiftState, int, int y) {
  dragging_ = true;
  dragStartY_ = y;
}

void TSlider::KnobMouseMove(Component*, ShiftState, int, int y) {
  if (!dragging_) return;
  // Moving up raises the fader; the knob moves with the pointer, so the
  // pointer keeps its place on the knob and the start point stays.
  int offset = knobOffset_ - (y - dragStartY_);
  offset = std::max(0, std::min(offset, travel_));
  knobOffset_ = offset;
  const double f = travel_ > 0 ? static_cast<double>(offset) / travel_ : 0.0;
  ApplyFraction(f);
}

void TSlider::KnobMouseUp(Component*, MouseButton, ShiftState, int, int) { dragging_ = false; }

}  // namespace zentra
