// Windowless decorations: bevel (line or box), shape (pen and brush) and
// image (a picture).
#pragma once

#include "toolkit/bitmap.h"
#include "toolkit/control.h"

namespace zentra {

class TBevel : public GraphicControl {
 public:
  explicit TBevel(Component* owner);
  const char* ClassName() const override { return "TBevel"; }
  BevelShape Shape() const { return shape_; }
  void SetShape(BevelShape shape);
  BevelStyle Style() const { return style_; }
  void SetStyle(BevelStyle style);

 private:
  BevelShape shape_ = BevelShape::Box;
  BevelStyle style_ = BevelStyle::Lowered;
};

enum class PenStyle { Solid, Dash, Dot, Clear };
enum class BrushStyle { Solid, Clear };

struct Pen {
  Color color = clBlack;
  int width = 1;
  PenStyle style = PenStyle::Solid;
};

struct Brush {
  Color color = clWhite;
  BrushStyle style = BrushStyle::Solid;
};

class TShape : public GraphicControl {
 public:
  explicit TShape(Component* owner);
  const char* ClassName() const override { return "TShape"; }
  ShapeType Shape() const { return shape_; }
  void SetShape(ShapeType shape);
  const Pen& GetPen() const { return pen_; }
  void SetPen(const Pen& pen);
  const Brush& GetBrush() const { return brush_; }
  void SetBrush(const Brush& brush);
  // Each repaints only when the value changes.
  void SetPenColor(Color color);
  void SetPenWidth(int width);
  void SetBrushColor(Color color);
  void SetBrushStyle(BrushStyle style);

 private:
  ShapeType shape_ = ShapeType::Rectangle;
  Pen pen_;
  Brush brush_;
};

class TImage : public GraphicControl {
 public:
  explicit TImage(Component* owner);
  const char* ClassName() const override { return "TImage"; }
  const Bitmap& Picture() const { return picture_; }
  void SetPicture(const Bitmap& picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);
  bool Center() const { return center_; }
  void SetCenter(bool center);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

 private:
  Bitmap picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
};

}  // namespace zentra
