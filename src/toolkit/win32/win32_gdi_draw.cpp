#include "toolkit/win32/win32_api.h"
#include "toolkit/win32/win32_gdi_draw.h"

#include <vector>

#include "platform/text_encoding.h"
#include "toolkit/win32/win32_resources.h"

namespace zentra {
namespace {

void Text(HDC dc, const std::string& utf8, RECT r, UINT flags, COLORREF color) {
  const std::string text = Utf8ToCp1252(utf8);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

}  // namespace

void DrawLine(HDC dc, Win32Resources& resources, int x1, int y1, int x2, int y2, COLORREF color) {
  resources.UsePen(dc, resources.PenFor(PS_SOLID, 1, color));
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void DrawFrame3D(HDC dc, Win32Resources& resources, RECT& r, COLORREF topLeft,
                 COLORREF bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    DrawLine(dc, resources, r.left, r.bottom - 1, r.left, r.top, topLeft);
    DrawLine(dc, resources, r.left, r.top, r.right - 1, r.top, topLeft);
    DrawLine(dc, resources, r.right - 1, r.top, r.right - 1, r.bottom - 1, bottomRight);
    DrawLine(dc, resources, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1, bottomRight);
    InflateRect(&r, -1, -1);
  }
}

void DrawBevelFrame(HDC dc, Win32Resources& resources, RECT& r, BevelCut cut, int width) {
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  if (cut == BevelCut::Raised) DrawFrame3D(dc, resources, r, light, dark, width);
  else if (cut == BevelCut::Lowered) DrawFrame3D(dc, resources, r, dark, light, width);
  else if (cut == BevelCut::Space) InflateRect(&r, -width, -width);
}

UINT AlignmentFlags(Alignment alignment) {
  switch (alignment) {
    case Alignment::Center: return DT_CENTER;
    case Alignment::RightJustify: return DT_RIGHT;
    default: return DT_LEFT;
  }
}

void DrawCaption(HDC dc, const Control& control, const std::string& utf8, RECT r, UINT flags) {
  if (control.Enabled()) {
    Text(dc, utf8, r, flags, ResolveColor(control.GetFont().color));
    return;
  }
  RECT shifted = r;
  OffsetRect(&shifted, 1, 1);
  Text(dc, utf8, shifted, flags, GetSysColor(COLOR_BTNHIGHLIGHT));
  Text(dc, utf8, r, flags, GetSysColor(COLOR_BTNSHADOW));
}

void DrawBitmap(HDC dc, const Bitmap& picture, int x, int y, int w, int h) {
  if (picture.Empty()) return;
  // 32-bit device-independent rows hold blue in the low byte.
  std::vector<DWORD> bits(picture.pixels.size());
  for (size_t i = 0; i < bits.size(); ++i) {
    const Color c = picture.pixels[i];
    bits[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, x, y, w, h, 0, 0, picture.width, picture.height, bits.data(), &info,
                DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace zentra
