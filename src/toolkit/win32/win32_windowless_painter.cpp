#include "toolkit/win32/win32_windowless_painter.h"

#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/win32_control_adapter.h"
#include "toolkit/win32/win32_peer.h"
#include "toolkit/win32/win32_resources.h"

namespace zentra {
namespace {

// A control's bounds in the window, its parent's client origin lying at origin.
RECT RectIn(const Control& control, POINT origin) {
  const Rect bounds = control.BoundsRect();
  return RECT{bounds.left + origin.x, bounds.top + origin.y, bounds.right + origin.x,
              bounds.bottom + origin.y};
}

Rect ModelRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

const Win32ControlAdapter& AdapterOf(const Control& control) {
  auto* peer = static_cast<Win32Peer*>(control.Peer());
  return peer != nullptr ? peer->Adapter() : Win32AdapterRegistry::Instance().For(control);
}

// Whether a windowless sibling painted after siblings[index] (in front)
// covers all of shown opaquely: what lies there is painted over anyway.
bool HiddenByLaterSibling(const std::vector<Control*>& siblings, std::size_t index, POINT origin,
                          const RECT& shown) {
  for (std::size_t k = index + 1; k < siblings.size(); ++k) {
    const Control& sibling = *siblings[k];
    if (sibling.IsWindowed() || !sibling.Visible()) continue;
    const RECT s = RectIn(sibling, origin);
    if (shown.left >= s.left && shown.top >= s.top && shown.right <= s.right &&
        shown.bottom <= s.bottom && AdapterOf(sibling).PaintsOpaque(sibling))
      return true;
  }
  return false;
}

}  // namespace

Win32WindowlessPainter::Win32WindowlessPainter(HDC dc, HRGN base, bool baseIsExact,
                                               Win32Backend& backend)
    : dc_(dc),
      base_(base),
      baseIsExact_(baseIsExact),
      backend_(backend),
      clip_(baseIsExact),
      // No SaveDC/RestoreDC around each painter: restoring a DC reselects
      // its font, which is costly on some systems. The painters' objects
      // are put back once at the end.
      pen_(GetCurrentObject(dc, OBJ_PEN)),
      brush_(GetCurrentObject(dc, OBJ_BRUSH)),
      font_(GetCurrentObject(dc, OBJ_FONT)) {
  backend_.Resources().ForgetSelections();
}

Win32WindowlessPainter::~Win32WindowlessPainter() {
  MoveViewport(POINT{0, 0});
  Apply(clip_.AtEnd(), RECT{});
  if (clipRegion_ != nullptr) DeleteObject(clipRegion_);
  SelectObject(dc_, pen_);
  SelectObject(dc_, brush_);
  SelectObject(dc_, font_);
  backend_.Resources().ForgetSelections();
}

void Win32WindowlessPainter::PaintContainer(Control& container,
                                            const Win32ControlAdapter& adapter) {
  MoveViewport(POINT{0, 0});
  adapter.PaintContainer(container, dc_, backend_.Resources());
  RECT within{0, 0, container.Width(), container.Height()};
  RECT box;
  const int kind = GetClipBox(dc_, &box);
  if (kind != ERROR && !IntersectRect(&within, &within, &box)) return;
  PaintChildren(container, POINT{0, 0}, within);
}

void Win32WindowlessPainter::PaintRectangle(Control& container,
                                            const Win32ControlAdapter& adapter, HBRUSH background,
                                            const RECT& r) {
  Point origin;
  Control* cover = OpaqueCoverOf(
      container, ModelRect(r),
      [](const Control& control) { return AdapterOf(control).PaintsOpaque(control); }, origin);
  if (cover != nullptr) {
    PaintControl(*cover, RectIn(*cover, POINT{origin.x, origin.y}), r);
    return;
  }
  // Nothing covers it: the window's background and look, then its controls.
  Apply(clip_.Before(ModelRect(r), false), r);
  MoveViewport(POINT{0, 0});
  FillRect(dc_, &r, background);
  adapter.PaintContainer(container, dc_, backend_.Resources());
  PaintChildren(container, POINT{0, 0}, r);
}

void Win32WindowlessPainter::PaintChildren(const Control& parent, POINT origin,
                                           const RECT& within) {
  // Children outside within are passed over; where the base clip is more
  // than its box, the platform is asked whether the child is visible.
  const std::vector<Control*>& children = parent.Children();
  for (std::size_t index = 0; index < children.size(); ++index) {
    Control* child = children[index];
    if (child->IsWindowed() || !child->Visible()) continue;
    const RECT r = RectIn(*child, origin);
    RECT shown;
    if (!IntersectRect(&shown, &r, &within) || HiddenByLaterSibling(children, index, origin, shown))
      continue;
    if (!baseIsExact_) {
      Apply(clip_.BeforeVisibilityTest(), shown);
      RECT logical = shown;
      OffsetRect(&logical, -viewport_.x, -viewport_.y);
      if (!RectVisible(dc_, &logical)) continue;
    }
    PaintControl(*child, r, shown);
  }
}

void Win32WindowlessPainter::PaintControl(Control& control, const RECT& r,
                                          const RECT& shown) {
  const Win32ControlAdapter& adapter = AdapterOf(control);
  if (control.Children().empty() && !SameRect(shown, r)) {
    // Part of one flat fill (the inside of a segment that changed colour)
    // is filled without a clip; any clip that holds it will do.
    Apply(clip_.Before(ModelRect(shown), true), shown);
    MoveViewport(POINT{r.left, r.top});
    RECT part = shown;
    OffsetRect(&part, -r.left, -r.top);
    if (adapter.PaintFlatPart(control, dc_, backend_.Resources(), part)) {
      ++backend_.Statistics().windowlessPainted;
      return;
    }
  }
  // A control shown whole that paints only inside its bounds needs no clip
  // of its own.
  const bool free = SameRect(shown, r) && adapter.PaintsWithinBounds(control);
  Apply(clip_.Before(ModelRect(shown), free), shown);
  MoveViewport(POINT{r.left, r.top});
  adapter.PaintWindowless(control, dc_, backend_.Resources());
  // The figure counts what the user sees change (a meter's segments), not
  // the windowless containers painted beneath them.
  if (control.Children().empty())
    ++backend_.Statistics().windowlessPainted;
  else
    PaintChildren(control, POINT{r.left, r.top}, shown);
}

void Win32WindowlessPainter::Apply(PaintClip::Change change, const RECT& shown) {
  switch (change) {
    case PaintClip::Change::kNone:
      return;
    case PaintClip::Change::kBase:
      SelectClipRgn(dc_, base_);
      return;
    case PaintClip::Change::kRect:
    case PaintClip::Change::kRectWithinBase:
      if (clipRegion_ == nullptr)
        clipRegion_ = CreateRectRgn(shown.left, shown.top, shown.right, shown.bottom);
      else
        SetRectRgn(clipRegion_, shown.left, shown.top, shown.right, shown.bottom);
      if (change == PaintClip::Change::kRectWithinBase && base_ != nullptr)
        CombineRgn(clipRegion_, clipRegion_, base_, RGN_AND);
      // The clip is given in device coordinates: the viewport does not move it.
      SelectClipRgn(dc_, clipRegion_);
      return;
  }
}

void Win32WindowlessPainter::MoveViewport(POINT to) {
  if (to.x == viewport_.x && to.y == viewport_.y) return;
  SetViewportOrgEx(dc_, to.x, to.y, nullptr);
  viewport_ = to;
}

}  // namespace zentra
