#include "toolkit/speed_button.h"

namespace zentra {

TSpeedButton::TSpeedButton(Component* owner) : GraphicControl(owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetGroupIndex(int index) {
  if (index == groupIndex_) return;
  groupIndex_ = index;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool down) {
  if (groupIndex_ == 0) down = false;
  if (down == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = down;
  Changed(Change::State);
  if (down_) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool allow) {
  if (allow == allowAllUp_) return;
  allowAllUp_ = allow;
  UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (groupIndex_ == 0 || Parent() == nullptr) return;
  for (Control* sibling : Parent()->Children()) {
    auto* other = dynamic_cast<TSpeedButton*>(sibling);
    if (other == nullptr || other == this || other->groupIndex_ != groupIndex_) continue;
    if (down_ && other->down_) {
      other->down_ = false;
      other->Changed(Change::State);
    }
    other->allowAllUp_ = allowAllUp_;
  }
}

void TSpeedButton::SetFlat(bool flat) {
  if (flat == flat_) return;
  flat_ = flat;
  Changed(Change::Look);
}

void TSpeedButton::SetGlyph(const Bitmap& glyph) {
  glyph_ = glyph;
  Changed(Change::Look);
}

void TSpeedButton::SetNumGlyphs(int n) {
  n = n < 1 ? 1 : (n > 4 ? 4 : n);
  if (n == numGlyphs_) return;
  numGlyphs_ = n;
  Changed(Change::Look);
}

void TSpeedButton::SetLayout(ButtonLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  Changed(Change::Look);
}

void TSpeedButton::SetMargin(int margin) {
  if (margin == margin_) return;
  margin_ = margin;
  Changed(Change::Look);
}

void TSpeedButton::SetSpacing(int spacing) {
  if (spacing == spacing_) return;
  spacing_ = spacing;
  Changed(Change::Look);
}

void TSpeedButton::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
  GraphicControl::MouseDown(button, shift, x, y);
  if (button != MouseButton::Left || !Enabled()) return;
  pressed_ = true;
  Changed(Change::State);
}

void TSpeedButton::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
  GraphicControl::MouseUp(button, shift, x, y);
  if (button != MouseButton::Left || !pressed_) return;
  pressed_ = false;
  Changed(Change::State);
  const bool inside = x >= 0 && x < Width() && y >= 0 && y < Height();
  if (groupIndex_ != 0 && inside) SetDown(!down_);
  if (inside) Click();
}

}  // namespace zentra
