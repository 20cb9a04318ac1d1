// GDI painting of the windowless controls and of the containers' own look.
#include "toolkit/win32/win32_api.h"
#include <vector>

#include "platform/text_encoding.h"
#include "toolkit/containers.h"
#include "toolkit/label.h"
#include "toolkit/shapes.h"
#include "toolkit/speed_button.h"
#include "toolkit/win32/win32_native_kind.h"
#include "toolkit/win32/win32_resources.h"

namespace zentra {
namespace {

void Line(HDC dc, Win32Resources& resources, int x1, int y1, int x2, int y2, COLORREF color) {
  SelectObject(dc, resources.PenFor(PS_SOLID, 1, color));
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// A three-dimensional frame: top and left in one colour, bottom and right in
// the other; the rectangle shrinks by the frame's width.
void Frame3D(HDC dc, Win32Resources& resources, RECT& r, COLORREF topLeft, COLORREF bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    Line(dc, resources, r.left, r.bottom - 1, r.left, r.top, topLeft);
    Line(dc, resources, r.left, r.top, r.right - 1, r.top, topLeft);
    Line(dc, resources, r.right - 1, r.top, r.right - 1, r.bottom - 1, bottomRight);
    Line(dc, resources, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1, bottomRight);
    InflateRect(&r, -1, -1);
  }
}

void BevelFrame(HDC dc, Win32Resources& resources, RECT& r, BevelCut cut, int width) {
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  if (cut == BevelCut::Raised) Frame3D(dc, resources, r, light, dark, width);
  else if (cut == BevelCut::Lowered) Frame3D(dc, resources, r, dark, light, width);
  else if (cut == BevelCut::Space) InflateRect(&r, -width, -width);
}

UINT AlignmentFlags(Alignment alignment) {
  switch (alignment) {
    case Alignment::Center: return DT_CENTER;
    case Alignment::RightJustify: return DT_RIGHT;
    default: return DT_LEFT;
  }
}

void Text(HDC dc, const std::string& utf8, RECT r, UINT flags, COLORREF color) {
  const std::string text = Utf8ToCp1252(utf8);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

// Disabled text is drawn embossed, as the platform draws disabled captions.
void CaptionText(HDC dc, const Control& control, const std::string& text, RECT r, UINT flags) {
  if (control.Enabled()) {
    Text(dc, text, r, flags, ResolveColor(control.GetFont().color));
    return;
  }
  RECT shifted = r;
  OffsetRect(&shifted, 1, 1);
  Text(dc, text, shifted, flags, GetSysColor(COLOR_BTNHIGHLIGHT));
  Text(dc, text, r, flags, GetSysColor(COLOR_BTNSHADOW));
}

void PaintLabel(const TLabel& label, HDC dc, Win32Resources& resources) {
  RECT r{0, 0, label.Width(), label.Height()};
  if (!label.Transparent()) FillRect(dc, &r, resources.BrushFor(label.GetColor()));
  SelectObject(dc, resources.FontFor(label.GetFont()));
  UINT flags = DT_EXPANDTABS | AlignmentFlags(label.GetAlignment());
  flags |= label.WordWrap() ? DT_WORDBREAK : 0;
  if (!label.ShowAccelChar()) flags |= DT_NOPREFIX;
  CaptionText(dc, label, label.Caption(), r, flags);
}

void PaintBevel(const TBevel& bevel, HDC dc, Win32Resources& resources) {
  COLORREF first = GetSysColor(COLOR_BTNSHADOW);
  COLORREF second = GetSysColor(COLOR_BTNHIGHLIGHT);
  if (bevel.Style() == BevelStyle::Raised) std::swap(first, second);
  const int w = bevel.Width(), h = bevel.Height();
  RECT r{0, 0, w, h};
  switch (bevel.Shape()) {
    case BevelShape::Box: Frame3D(dc, resources, r, first, second, 1); break;
    case BevelShape::Frame: {
      RECT outer{0, 0, w - 1, h - 1};
      Frame3D(dc, resources, outer, first, first, 1);
      RECT inner{1, 1, w, h};
      Frame3D(dc, resources, inner, second, second, 1);
      break;
    }
    case BevelShape::TopLine:
      Line(dc, resources, 0, 0, w, 0, first);
      Line(dc, resources, 0, 1, w, 1, second);
      break;
    case BevelShape::BottomLine:
      Line(dc, resources, 0, h - 2, w, h - 2, first);
      Line(dc, resources, 0, h - 1, w, h - 1, second);
      break;
    case BevelShape::LeftLine:
      Line(dc, resources, 0, 0, 0, h, first);
      Line(dc, resources, 1, 0, 1, h, second);
      break;
    case BevelShape::RightLine:
      Line(dc, resources, w - 2, 0, w - 2, h, first);
      Line(dc, resources, w - 1, 0, w - 1, h, second);
      break;
    case BevelShape::Spacer: break;
  }
}

void PaintShape(const TShape& shape, HDC dc, Win32Resources& resources) {
  const Pen& pen = shape.GetPen();
  const Brush& brush = shape.GetBrush();
  if (pen.style == PenStyle::Clear || pen.width <= 0) {
    SelectObject(dc, GetStockObject(NULL_PEN));
  } else {
    const int style = pen.style == PenStyle::Dash ? PS_DASH : pen.style == PenStyle::Dot ? PS_DOT : PS_SOLID;
    SelectObject(dc, resources.PenFor(style, pen.width, ResolveColor(pen.color)));
  }
  SelectObject(dc, brush.style == BrushStyle::Clear ? GetStockObject(NULL_BRUSH)
                                                    : resources.BrushFor(brush.color));
  // The pen's width lies inside the bounds.
  const int penWidth = pen.style == PenStyle::Clear ? 0 : pen.width;
  int x = penWidth / 2, y = penWidth / 2;
  int w = shape.Width() - penWidth + 1, h = shape.Height() - penWidth + 1;
  if (penWidth == 0) {
    --w;
    --h;
  }
  if (shape.Shape() == ShapeType::Square || shape.Shape() == ShapeType::RoundSquare ||
      shape.Shape() == ShapeType::Circle) {
    const int side = w < h ? w : h;
    x += (w - side) / 2;
    y += (h - side) / 2;
    w = h = side;
  }
  switch (shape.Shape()) {
    case ShapeType::Rectangle:
    case ShapeType::Square: Rectangle(dc, x, y, x + w, y + h); break;
    case ShapeType::RoundRect:
    case ShapeType::RoundSquare: {
      const int corner = (w < h ? w : h) / 4;
      RoundRect(dc, x, y, x + w, y + h, corner, corner);
      break;
    }
    case ShapeType::Ellipse:
    case ShapeType::Circle: Ellipse(dc, x, y, x + w, y + h); break;
  }
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

void PaintImage(const TImage& image, HDC dc) {
  const Bitmap& picture = image.Picture();
  if (image.Stretch()) {
    DrawBitmap(dc, picture, 0, 0, image.Width(), image.Height());
    return;
  }
  int x = 0, y = 0;
  if (image.Center()) {
    x = (image.Width() - picture.width) / 2;
    y = (image.Height() - picture.height) / 2;
  }
  DrawBitmap(dc, picture, x, y, picture.width, picture.height);
}

void PaintSpeedButton(const TSpeedButton& button, HDC dc, Win32Resources& resources) {
  RECT r{0, 0, button.Width(), button.Height()};
  FillRect(dc, &r, resources.BrushFor(button.GetColor()));
  const bool sunken = button.Down() || button.Pressed();
  if (sunken) {
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
  } else if (!button.Flat()) {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  }
  RECT content = r;
  if (sunken) OffsetRect(&content, 1, 1);
  const Bitmap& glyph = button.Glyph();
  const std::string& caption = button.Caption();
  int textLeft = content.left;
  if (!glyph.Empty()) {
    // The first of NumGlyphs images is the normal look.
    const int count = button.NumGlyphs() > 0 ? button.NumGlyphs() : 1;
    Bitmap first;
    first.width = glyph.width / count;
    first.height = glyph.height;
    first.pixels.reserve(static_cast<size_t>(first.width) * first.height);
    for (int y = 0; y < glyph.height; ++y)
      for (int x = 0; x < first.width; ++x) first.pixels.push_back(glyph.At(x, y));
    const int gx = caption.empty() ? (content.left + content.right - first.width) / 2
                                   : content.left + (button.Margin() >= 0 ? button.Margin() : 4);
    const int gy = (content.top + content.bottom - first.height) / 2;
    DrawBitmap(dc, first, gx, gy, first.width, first.height);
    textLeft = gx + first.width + button.Spacing();
  }
  if (!caption.empty()) {
    SelectObject(dc, resources.FontFor(button.GetFont()));
    RECT textRect{glyph.Empty() ? content.left : textLeft, content.top, content.right,
                  content.bottom};
    const UINT align = glyph.Empty() ? DT_CENTER : DT_LEFT;
    CaptionText(dc, button, caption, textRect, DT_SINGLELINE | DT_VCENTER | align);
  }
}

}  // namespace

void PaintWindowless(Control& control, HDC dc, Win32Resources& resources) {
  // Most derived classes first: a derived class paints as its base does.
  if (auto* label = dynamic_cast<TLabel*>(&control)) PaintLabel(*label, dc, resources);
  else if (auto* button = dynamic_cast<TSpeedButton*>(&control)) PaintSpeedButton(*button, dc, resources);
  else if (auto* shape = dynamic_cast<TShape*>(&control)) PaintShape(*shape, dc, resources);
  else if (auto* bevel = dynamic_cast<TBevel*>(&control)) PaintBevel(*bevel, dc, resources);
  else if (auto* image = dynamic_cast<TImage*>(&control)) PaintImage(*image, dc);
  else if (dynamic_cast<TPanel*>(&control)) {
    // A windowless panel (a meter): its background, then its look.
    RECT r{0, 0, control.Width(), control.Height()};
    FillRect(dc, &r, resources.BrushFor(control.GetColor()));
    PaintContainer(control, dc, resources);
  }
}

void PaintContainer(Control& control, HDC dc, Win32Resources& resources) {
  auto* panel = dynamic_cast<TPanel*>(&control);
  if (panel == nullptr) return;
  RECT r{0, 0, panel->Width(), panel->Height()};
  BevelFrame(dc, resources, r, panel->BevelOuter(), panel->BevelWidth());
  InflateRect(&r, -panel->BorderWidth(), -panel->BorderWidth());
  BevelFrame(dc, resources, r, panel->BevelInner(), panel->BevelWidth());
  if (!panel->Caption().empty()) {
    SelectObject(dc, resources.FontFor(panel->GetFont()));
    CaptionText(dc, *panel, panel->Caption(), r,
                DT_SINGLELINE | DT_VCENTER | AlignmentFlags(panel->GetAlignment()));
  }
}

}  // namespace zentra
