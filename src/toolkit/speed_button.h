// A windowless flat button that can stay down; buttons with the same
// non-zero group index under one parent form a group in which one is down.
#pragma once

#include "toolkit/bitmap.h"
#include "toolkit/control.h"

namespace zentra {

class TSpeedButton : public GraphicControl {
 public:
  explicit TSpeedButton(Component* owner);
  const char* ClassName() const override { return "TSpeedButton"; }

  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int index);
  bool Down() const { return down_; }
  // A button with group index 0 cannot be down. Putting a grouped button
  // down releases the others of its group; taking the down button of a group
  // up is refused unless the group allows all buttons up.
  void SetDown(bool down);
  bool AllowAllUp() const { return allowAllUp_; }
  // Applies to the whole group.
  void SetAllowAllUp(bool allow);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  // Shown pressed while the mouse button is held on it.
  bool Pressed() const { return pressed_; }

  // A speed button clicks in its own release handling (MouseUp).
  bool ReleaseIsClick(MouseButton, int, int) const override { return false; }

  const Bitmap& Glyph() const { return glyph_; }
  void SetGlyph(const Bitmap& glyph);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);
  ButtonLayout Layout() const { return layout_; }
  void SetLayout(ButtonLayout layout);
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);

 protected:
  void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
  // Release on the button: a grouped button goes down (or, where the group
  // allows all up, a down one goes up), then the click event runs.
  void MouseUp(MouseButton button, ShiftState shift, int x, int y) override;

 private:
  void UpdateExclusive();

  int groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;
  bool flat_ = false;
  bool pressed_ = false;
  Bitmap glyph_;
  int numGlyphs_ = 1;
  ButtonLayout layout_ = ButtonLayout::GlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

}  // namespace zentra
