// One paint of a container window's windowless controls into its device
// context. Each windowless control is painted with the viewport origin at
// its top-left corner, clipped to its bounds within its parent's and the
// area being painted; the clip is changed only where a control needs it
// (PaintClip), since each change may cost a request to the display server.
// A few rectangles (the segments of meters that changed) are painted one by
// one, each from the control that covers it, without any clip when that
// control fills exactly the rectangle.
#pragma once

#include "toolkit/win32/win32_api.h"

#include <vector>

#include "toolkit/control.h"
#include "toolkit/windowless_paint_plan.h"

namespace zentra {

class Win32Backend;
class Win32ControlAdapter;

class Win32WindowlessPainter {
 public:
  // dc's clip is the base of the paint: the region base, or with base null
  // none beyond the DC's own (a WM_PAINT's update region, or the window).
  // baseIsExact: that clip is exactly its box.
  Win32WindowlessPainter(HDC dc, HRGN base, bool baseIsExact, Win32Backend& backend);
  // The base clip, viewport origin and the DC's objects as they were.
  ~Win32WindowlessPainter();
  Win32WindowlessPainter(const Win32WindowlessPainter&) = delete;
  Win32WindowlessPainter& operator=(const Win32WindowlessPainter&) = delete;

  // The container's look (adapter) and its windowless controls within the
  // base clip.
  void PaintContainer(Control& container, const Win32ControlAdapter& adapter);
  // One rectangle of the container window (for a paint whose base is no
  // clip): from the deepest control that covers it opaquely, or else the
  // container's background, look and windowless controls clipped to it.
  void PaintRectangle(Control& container, const Win32ControlAdapter& adapter,
                      HBRUSH background, const RECT& r);

 private:
  // The windowless children of parent, whose client origin lies at origin
  // in this window, within that rectangle of this window.
  void PaintChildren(const Control& parent, POINT origin, const RECT& within);
  // One windowless control at r (window coordinates) shown in shown, and
  // its windowless children.
  void PaintControl(Control& control, const RECT& r, const RECT& shown);
  void Apply(PaintClip::Change change, const RECT& shown);
  void MoveViewport(POINT to);

  HDC dc_;
  HRGN base_;
  bool baseIsExact_;
  Win32Backend& backend_;
  PaintClip clip_;
  HRGN clipRegion_ = nullptr;  // reused for each control's clip
  POINT viewport_{0, 0};
  HGDIOBJ pen_, brush_, font_;  // the DC's objects when the paint began
};

}  // namespace zentra
