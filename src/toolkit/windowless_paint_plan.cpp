#include "toolkit/windowless_paint_plan.h"

namespace zentra {
namespace {

Rect Offset(const Rect& r, Point by) {
  return Rect{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

Control* OpaqueCoverOf(const Control& container, const Rect& area,
                       const std::function<bool(const Control&)>& isOpaque, Point& origin) {
  if (area.Empty()) return nullptr;
  Control* cover = nullptr;
  const Control* level = &container;
  Point levelOrigin{0, 0};
  for (;;) {
    // The frontmost windowless child reaching into the area decides: it
    // either holds all of the area, and the search goes on inside it, or
    // it shows in front of part of whatever lies beneath.
    Control* front = nullptr;
    Rect frontRect;
    const std::vector<Control*>& children = level->Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      Control* child = *it;
      if (child->IsWindowed() || !child->Visible()) continue;
      const Rect r = Offset(child->BoundsRect(), levelOrigin);
      if (!Overlap(r, area)) continue;
      if (r.Contains(area)) {
        front = child;
        frontRect = r;
      }
      break;
    }
    if (front == nullptr) return cover;
    if (isOpaque(*front)) {
      cover = front;
      origin = levelOrigin;
    }
    level = front;
    levelOrigin = Point{frontRect.left, frontRect.top};
  }
}

PaintClip::Change PaintClip::Before(const Rect& shown, bool free) {
  if (free) {
    if (state_ == State::kBase || (state_ == State::kRect && rect_.Contains(shown)))
      return Change::kNone;
    state_ = State::kBase;
    return Change::kBase;
  }
  if (!baseIsExact_) {
    state_ = State::kOther;
    return Change::kRectWithinBase;
  }
  if (state_ == State::kRect && rect_ == shown) return Change::kNone;
  state_ = State::kRect;
  rect_ = shown;
  return Change::kRect;
}

PaintClip::Change PaintClip::BeforeVisibilityTest() {
  if (state_ == State::kBase) return Change::kNone;
  state_ = State::kBase;
  return Change::kBase;
}

PaintClip::Change PaintClip::AtEnd() { return BeforeVisibilityTest(); }

}  // namespace zentra
