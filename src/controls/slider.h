// The vertical fader: a narrow black groove with a separate grey knob that
// the user drags with the mouse. It maps the knob's pixel position onto the
// integer range Min..Max and reports every move through OnChange.
#pragma once

#include <stdexcept>

#include "toolkit/containers.h"

namespace zentra {

class TBevel;
class TCheckBox;

// A position or fraction outside the fader's range.
class ERangeError : public std::out_of_range {
 public:
  ERangeError() : std::out_of_range("Wert für Position liegt außerhalb von Min und Max") {}
};

class TSlider : public TPanel {
 public:
  explicit TSlider(Component* owner);
  const char* ClassName() const override { return "TSlider"; }
  bool AcceptsChildren() const override { return false; }

  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int Position() const { return position_; }
  // Raises ERangeError (state unchanged) outside Min..Max.
  void SetPosition(int value);
  int BtnHeight() const { return btnHeight_; }
  void SetBtnHeight(int value);
  int BtnWidth() const { return btnWidth_; }
  void SetBtnWidth(int value);
  int MoveRestriction() const { return moveRestriction_; }
  void SetMoveRestriction(int value);
  // For the owner; the fader never uses these itself.
  int Number() const { return number_; }
  void SetNumber(int value) { number_ = value; }
  TCheckBox* LinkCheck() const { return linkCheck_; }
  void SetLinkCheck(TCheckBox* box) { linkCheck_ = box; }

  NotifyEvent OnChange;

  // The groove keeps its width of 4 pixels; the knob follows the groove.
  void SetBounds(int left, int top, int width, int height) override;

  TPanel* Knob() const { return knob_; }
  TBevel* KnobLine() const { return knobLine_; }
  int TravelPixels() const { return travel_; }
  int KnobOffset() const { return knobOffset_; }
  double Fraction() const { return fraction_; }
  bool Dragging() const { return dragging_; }
  bool Initialized() const { return initialized_; }
  // Knob top in the parent's coordinates for the current offset.
  int KnobTop() const;
  int KnobLeft() const;

 protected:
  void Loaded() override;
  void ParentChanged() override;
  void VisibleChanged() override;

 private:
  void Initialize();
  // Sets Fraction, Position and the knob's place; fires OnChange.
  void ApplyFraction(double fraction);
  double FractionOf(int position) const;
  void RecomputeTravel();
  void PlaceKnob();
  void PlaceKnobLine();
  void KnobMouseDown(Component*, MouseButton, ShiftState, int x, int y);
  void KnobMouseMove(Component*, ShiftState, int x, int y);
  void KnobMouseUp(Component*, MouseButton, ShiftState, int x, int y);

  TPanel* knob_ = nullptr;
  TBevel* knobLine_ = nullptr;
  int min_ = 0;
  int max_ = 0;
  int position_ = 0;
  int btnHeight_ = 14;
  int btnWidth_ = 24;
  int moveRestriction_ = 0;
  int number_ = 0;
  TCheckBox* linkCheck_ = nullptr;
  int travel_ = 0;
  int knobOffset_ = 0;
  double fraction_ = 0;
  bool dragging_ = false;
  int dragStartY_ = 0;
  bool initialized_ = false;
};

}  // namespace zentra
