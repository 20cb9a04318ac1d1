#include "toolkit/containers.h"

#include <algorithm>

#include "toolkit/application.h"

namespace zentra {

TPanel::TPanel(Component* owner) : Control(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetWindowless(bool windowless) {
  if (windowless == noWindow_) return;
  noWindow_ = windowless;
  WindowedChanged();
}

void TPanel::SetBevelInner(BevelCut cut) {
  if (cut == bevelInner_) return;
  bevelInner_ = cut;
  Changed(Change::Look);
  Realign();
}

void TPanel::SetBevelOuter(BevelCut cut) {
  if (cut == bevelOuter_) return;
  bevelOuter_ = cut;
  Changed(Change::Look);
  Realign();
}

void TPanel::SetBevelWidth(int width) {
  width = std::max(1, width);
  if (width == bevelWidth_) return;
  bevelWidth_ = width;
  Changed(Change::Look);
  Realign();
}

void TPanel::SetBorderWidth(int width) {
  width = std::max(0, width);
  if (width == borderWidth_) return;
  borderWidth_ = width;
  Changed(Change::Look);
  Realign();
}

void TPanel::SetAlignment(Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed(Change::Look);
}

Rect TPanel::AlignArea() const {
  Rect r = ClientRect();
  int inset = borderWidth_;
  if (bevelOuter_ != BevelCut::None) inset += bevelWidth_;
  if (bevelInner_ != BevelCut::None) inset += bevelWidth_;
  r.left += inset;
  r.top += inset;
  r.right = std::max(r.left, r.right - inset);
  r.bottom = std::max(r.top, r.bottom - inset);
  return r;
}

TGroupBox::TGroupBox(Component* owner) : Control(owner) { SetBounds(0, 0, 185, 105); }

Rect TGroupBox::AlignArea() const {
  // The frame is two pixels wide; the caption takes a line of the font.
  Rect r = ClientRect();
  r.left += 2;
  r.top += GetFont().height + 2;
  r.right = std::max(r.left, r.right - 2);
  r.bottom = std::max(r.top, r.bottom - 2);
  return r;
}

TScrollBox::TScrollBox(Component* owner) : Control(owner) { SetBounds(0, 0, 185, 41); }

int TScrollBox::HorzRange() const {
  int right = 0;
  for (const Control* c : Children())
    if (c->Visible()) right = std::max(right, c->Left() + c->Width() + position_);
  return std::max(right, range_);
}

void TScrollBox::SetHorzRange(int range) {
  range_ = std::max(0, range);
  SetHorzPosition(position_);
}

int TScrollBox::HorzMaxPosition() const { return std::max(0, HorzRange() - ClientWidth()); }

void TScrollBox::SetHorzPosition(int position) {
  position = std::clamp(position, 0, HorzMaxPosition());
  if (position == position_) return;
  const int delta = position_ - position;
  position_ = position;
  // Children keep their coordinates relative to the visible area.
  std::vector<Control*> kids = Children();
  for (Control* c : kids) c->SetBounds(c->Left() + delta, c->Top(), c->Width(), c->Height());
  Changed(Change::Scroll);
}

void TScrollBox::UserScroll(int position) {
  RunGuarded([&] { SetHorzPosition(position); }, this);
}

void TScrollBox::Resized() {
  // A wider box may show everything: scroll back as far as needed.
  if (position_ > HorzMaxPosition()) SetHorzPosition(HorzMaxPosition());
  Changed(Change::Scroll);
}

}  // namespace zentra
