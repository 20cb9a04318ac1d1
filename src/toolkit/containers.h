// Containers: panel (bevels, caption alignment), group box and a
// horizontally scrolling box.
#pragma once

#include "toolkit/control.h"

namespace zentra {

class TPanel : public Control {
 public:
  explicit TPanel(Component* owner);
  const char* ClassName() const override { return "TPanel"; }
  bool AcceptsChildren() const override { return true; }

  BevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(BevelCut cut);
  BevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(BevelCut cut);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int width);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);
  // Alignment of the caption.
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);
  // A windowless panel has no native window of its own: its windowed
  // ancestor paints it with its children. Meter panels are windowless so
  // that the meters of every card repaint in one window.
  bool Windowless() const { return noWindow_; }
  void SetWindowless(bool windowless);
  bool IsWindowed() const override { return !noWindow_; }

 protected:
  Rect AlignArea() const override;

 private:
  BevelCut bevelInner_ = BevelCut::None;
  BevelCut bevelOuter_ = BevelCut::Raised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  Alignment alignment_ = Alignment::Center;
  bool noWindow_ = false;
};

class TGroupBox : public Control {
 public:
  explicit TGroupBox(Component* owner);
  const char* ClassName() const override { return "TGroupBox"; }
  bool AcceptsChildren() const override { return true; }

 protected:
  Rect AlignArea() const override;
};

// Scrolls its children horizontally when they reach beyond its width.
class TScrollBox : public Control {
 public:
  explicit TScrollBox(Component* owner);
  const char* ClassName() const override { return "TScrollBox"; }
  bool AcceptsChildren() const override { return true; }

  // Pixels per click on a scroll arrow.
  int HorzIncrement() const { return increment_; }
  void SetHorzIncrement(int increment) { increment_ = increment < 1 ? 1 : increment; }
  // Width of the content (the right edge of the rightmost visible child,
  // measured unscrolled), or the range set explicitly, whichever is larger.
  int HorzRange() const;
  void SetHorzRange(int range);
  int HorzPosition() const { return position_; }
  // Scrolls to that position, clamped to 0 .. range - client width.
  void SetHorzPosition(int position);
  int HorzMaxPosition() const;
  // A scroll arrow: increment pixels to the left (negative) or right.
  void ScrollSteps(int steps) { SetHorzPosition(position_ + steps * increment_); }
  // The user moved the scroll bar.
  void UserScroll(int position);

 protected:
  void Resized() override;

 private:
  int increment_ = 8;
  int range_ = 0;
  int position_ = 0;
};

}  // namespace zentra
