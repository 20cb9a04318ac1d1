#include "toolkit/shapes.h"

namespace zentra {

TBevel::TBevel(Component* owner) : GraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(BevelShape shape) {
  if (shape == shape_) return;
  shape_ = shape;
  Changed(Change::Look);
}

void TBevel::SetStyle(BevelStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed(Change::Look);
}

TShape::TShape(Component* owner) : GraphicControl(owner) { SetBounds(0, 0, 65, 65); }

void TShape::SetShape(ShapeType shape) {
  if (shape == shape_) return;
  shape_ = shape;
  Changed(Change::Look);
}

void TShape::SetPen(const Pen& pen) {
  pen_ = pen;
  Changed(Change::Color);
}

void TShape::SetBrush(const Brush& brush) {
  brush_ = brush;
  Changed(Change::Color);
}

void TShape::SetPenColor(Color color) {
  if (color == pen_.color) return;
  pen_.color = color;
  Changed(Change::Color);
}

void TShape::SetPenWidth(int width) {
  if (width == pen_.width) return;
  pen_.width = width;
  Changed(Change::Color);
}

void TShape::SetBrushColor(Color color) {
  if (color == brush_.color) return;
  brush_.color = color;
  // Only the fill changes; the outline keeps its pixels, so neighbours that
  // share it (the segments of a bar graph) are not repainted with it.
  const int pen = pen_.style == PenStyle::Clear ? 0 : pen_.width;
  if (pen > 0 && 2 * pen < Width() && 2 * pen < Height())
    ChangedArea(Change::Color, Rect{pen, pen, Width() - pen, Height() - pen});
  else
    Changed(Change::Color);
}

void TShape::SetBrushStyle(BrushStyle style) {
  if (style == brush_.style) return;
  brush_.style = style;
  Changed(Change::Color);
}

TImage::TImage(Component* owner) : GraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetPicture(const Bitmap& picture) {
  picture_ = picture;
  Changed(Change::Look);
}

void TImage::SetStretch(bool stretch) {
  if (stretch == stretch_) return;
  stretch_ = stretch;
  Changed(Change::Look);
}

void TImage::SetCenter(bool center) {
  if (center == center_) return;
  center_ = center;
  Changed(Change::Look);
}

void TImage::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed(Change::Look);
}

}  // namespace zentra
