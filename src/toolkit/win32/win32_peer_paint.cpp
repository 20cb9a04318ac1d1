// Painting of the program's container windows: a WM_PAINT, and the repaint
// requests of windowless controls painted at once.
#include "toolkit/win32/win32_api.h"

#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/win32_peer.h"
#include "toolkit/win32/win32_resources.h"
#include "toolkit/win32/win32_windowless_painter.h"

namespace zentra {

void Win32Peer::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  ++backend_.Statistics().paintMessages;
  {
    // The update region is the DC's own clip; where it is more than its
    // box, each control is asked about.
    RECT box;
    const bool exact = GetClipBox(dc, &box) == SIMPLEREGION;
    Win32WindowlessPainter painter(dc, nullptr, exact, backend_);
    painter.PaintContainer(control_, adapter_);
  }
  EndPaint(window_, &paint);
}

void Win32Peer::PaintArea(HRGN area) {
  // Painted at once rather than through WM_PAINT: asking for the update
  // region, the erase and the paint messages cost several round trips to
  // the window system per window, which painting a few segments does not
  // need. The background is filled here, as WM_ERASEBKGND would.
  HDC dc = IsMyContainer() ? GetDC(window_) : nullptr;
  if (dc == nullptr) {  // a native window paints itself
    InvalidateRgn(window_, area, TRUE);
    return;
  }
  ++backend_.Statistics().paintMessages;
  HBRUSH background = backend_.Resources().BrushFor(control_.GetColor());
  const std::vector<RECT> parts = RectanglesOf(area);
  if (!parts.empty() && parts.size() <= kMostPartsPaintedApart) {
    // A few rectangles (the segments of several meters): each is painted
    // from what covers it, without a clip where that fills it exactly.
    Win32WindowlessPainter painter(dc, nullptr, true, backend_);
    for (const RECT& part : parts) painter.PaintRectangle(control_, adapter_, background, part);
  } else {
    SelectClipRgn(dc, area);
    FillRgn(dc, area, background);
    RECT box;
    const bool exact = GetClipBox(dc, &box) == SIMPLEREGION;
    Win32WindowlessPainter painter(dc, area, exact, backend_);
    painter.PaintContainer(control_, adapter_);
  }
  ReleaseDC(window_, dc);
}

std::vector<RECT> Win32Peer::RectanglesOf(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return {};
  std::vector<unsigned char> bytes(size);
  auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
  if (GetRegionData(region, size, data) != size) return {};
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

}  // namespace zentra
