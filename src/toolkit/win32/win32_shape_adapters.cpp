// Bevels, shapes and images: windowless controls painted with GDI.
#include "toolkit/win32/win32_api.h"

#include <utility>

#include "toolkit/shapes.h"
#include "toolkit/win32/win32_control_adapter.h"
#include "toolkit/win32/win32_gdi_draw.h"
#include "toolkit/win32/win32_resources.h"
#include "toolkit/win32/win32_standard_adapters.h"

namespace zentra {
namespace {

class BevelAdapter : public Win32AdapterOf<TBevel> {
 public:
  bool PaintsWithinBounds(const Control&) const override { return true; }
  void PaintWindowless(Control& control, HDC dc, Win32Resources& resources) const override {
    const TBevel& bevel = Of(control);
    COLORREF first = GetSysColor(COLOR_BTNSHADOW);
    COLORREF second = GetSysColor(COLOR_BTNHIGHLIGHT);
    if (bevel.Style() == BevelStyle::Raised) std::swap(first, second);
    const int w = bevel.Width(), h = bevel.Height();
    RECT r{0, 0, w, h};
    switch (bevel.Shape()) {
      case BevelShape::Box: DrawFrame3D(dc, resources, r, first, second, 1); break;
      case BevelShape::Frame: {
        RECT outer{0, 0, w - 1, h - 1};
        DrawFrame3D(dc, resources, outer, first, first, 1);
        RECT inner{1, 1, w, h};
        DrawFrame3D(dc, resources, inner, second, second, 1);
        break;
      }
      case BevelShape::TopLine:
        DrawLine(dc, resources, 0, 0, w, 0, first);
        DrawLine(dc, resources, 0, 1, w, 1, second);
        break;
      case BevelShape::BottomLine:
        DrawLine(dc, resources, 0, h - 2, w, h - 2, first);
        DrawLine(dc, resources, 0, h - 1, w, h - 1, second);
        break;
      case BevelShape::LeftLine:
        DrawLine(dc, resources, 0, 0, 0, h, first);
        DrawLine(dc, resources, 1, 0, 1, h, second);
        break;
      case BevelShape::RightLine:
        DrawLine(dc, resources, w - 2, 0, w - 2, h, first);
        DrawLine(dc, resources, w - 1, 0, w - 1, h, second);
        break;
      case BevelShape::Spacer: break;
    }
  }
};

class ShapeAdapter : public Win32AdapterOf<TShape> {
 public:
  // A wide pen's stroke may reach a pixel past the bounds.
  bool PaintsWithinBounds(const Control& control) const override {
    return Of(control).GetPen().width <= 1;
  }
  // A filled rectangle with a thin pen or none covers its bounds.
  bool PaintsOpaque(const Control& control) const override {
    const TShape& shape = Of(control);
    return shape.Shape() == ShapeType::Rectangle && shape.GetBrush().style != BrushStyle::Clear &&
           shape.GetPen().width <= 1;
  }
  // A rectangle's inside is its brush's colour: within the outline of a
  // one-pixel pen, and without a pen all but the last column and row
  // (Rectangle leaves them out).
  bool PaintFlatPart(const Control& control, HDC dc, Win32Resources& resources,
                     const RECT& part) const override {
    const TShape& shape = Of(control);
    const Pen& pen = shape.GetPen();
    const Brush& brush = shape.GetBrush();
    if (shape.Shape() != ShapeType::Rectangle || brush.style != BrushStyle::Solid) return false;
    const bool noPen = pen.style == PenStyle::Clear || pen.width <= 0;
    if (!noPen && pen.width != 1) return false;
    const int inset = noPen ? 0 : 1;
    const RECT inside{inset, inset, shape.Width() - 1, shape.Height() - 1};
    if (part.left < inside.left || part.top < inside.top || part.right > inside.right ||
        part.bottom > inside.bottom || part.left >= part.right || part.top >= part.bottom)
      return false;
    FillRect(dc, &part, resources.BrushFor(brush.color));
    return true;
  }
  void PaintWindowless(Control& control, HDC dc, Win32Resources& resources) const override {
    const TShape& shape = Of(control);
    const Pen& pen = shape.GetPen();
    const Brush& brush = shape.GetBrush();
    if (pen.style == PenStyle::Clear || pen.width <= 0) {
      resources.UsePen(dc, GetStockObject(NULL_PEN));
    } else {
      const int style = pen.style == PenStyle::Dash  ? PS_DASH
                        : pen.style == PenStyle::Dot ? PS_DOT
                                                     : PS_SOLID;
      resources.UsePen(dc, resources.PenFor(style, pen.width, ResolveColor(pen.color)));
    }
    resources.UseBrush(dc, brush.style == BrushStyle::Clear ? GetStockObject(NULL_BRUSH)
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
};

class ImageAdapter : public Win32AdapterOf<TImage> {
 public:
  void PaintWindowless(Control& control, HDC dc, Win32Resources&) const override {
    const TImage& image = Of(control);
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
};

}  // namespace

void RegisterShapeAdapters(Win32AdapterRegistry& registry) {
  registry.Register("TBevel", std::make_unique<BevelAdapter>());
  registry.Register("TShape", std::make_unique<ShapeAdapter>());
  registry.Register("TImage", std::make_unique<ImageAdapter>());
}

}  // namespace zentra
