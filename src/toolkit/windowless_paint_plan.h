// Decisions a backend takes when it paints windowless controls into one
// window, kept apart from the drawing so that they can be checked without a
// window system:
// - which control a rectangle of the window can be painted from: the deepest
//   windowless control that covers all of it opaquely with nothing in
//   front, so that nothing beneath it is painted (a meter's segment, not the
//   panel and the meter under it);
// - when the device's clip has to change while the controls are painted.
//   Changing a clip is costly on some window systems (each change may reach
//   the display server), and many controls need no clip of their own.
#pragma once

#include <functional>

#include "toolkit/control.h"
#include "toolkit/types.h"

namespace zentra {

// The deepest visible windowless control within container (at any depth)
// that covers all of area (container client coordinates), that is painted
// opaque (isOpaque) and in front of which no sibling of it or of its
// windowless ancestors reaches into area. Windowed controls are passed
// over: they are windows of their own. Null when there is none; origin is
// then untouched, else it is the client origin of the cover's parent in
// container coordinates.
Control* OpaqueCoverOf(const Control& container, const Rect& area,
                       const std::function<bool(const Control&)>& isOpaque, Point& origin);

// The clip of one paint. It starts at the base clip that the paint was given
// (a painted area, or none) and is narrowed to a control's rectangle only
// when the control needs it.
class PaintClip {
 public:
  enum class Change {
    kNone,           // the clip selected now will do
    kBase,           // select the base clip again
    kRect,           // select the control's rectangle
    kRectWithinBase  // select the control's rectangle within the base clip
  };

  // baseIsExact: the base clip is exactly its box (one rectangle, or no
  // clip), so a rectangle within that box needs no intersecting with it.
  explicit PaintClip(bool baseIsExact) : baseIsExact_(baseIsExact) {}

  // The change before a control is painted in shown (within the base
  // clip's box). free: the control is shown whole and paints only inside
  // its bounds, so any clip that contains shown will do.
  Change Before(const Rect& shown, bool free);
  // The change before the platform is asked what of the base clip is
  // visible: the base has to be selected.
  Change BeforeVisibilityTest();
  // The change at the end of the paint: the base clip again.
  Change AtEnd();

  bool AtBase() const { return state_ == State::kBase; }

 private:
  enum class State { kBase, kRect, kOther };

  bool baseIsExact_;
  State state_ = State::kBase;
  Rect rect_;  // selected while state_ is kRect
};

}  // namespace zentra
