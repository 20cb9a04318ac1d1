// One LED segment of a bar graph: a windowless rectangle with a black
// outline, filled with its "on" or "off" colour.
#pragma once

#include "toolkit/shapes.h"

namespace zentra {

class TLumi : public TShape {
 public:
  explicit TLumi(Component* owner);
  const char* ClassName() const override { return "TLumi"; }

  // Colours take effect at the next change of the on state; they never
  // repaint by themselves.
  Color ColorOn() const { return colorOn_; }
  void SetColorOn(Color color) { colorOn_ = color; }
  Color ColorOff() const { return colorOff_; }
  void SetColorOff(Color color) { colorOff_ = color; }
  // Kept for window descriptions; the outline is always drawn black.
  Color ColorFrame() const { return colorFrame_; }
  void SetColorFrame(Color color) { colorFrame_ = color; }
  bool Frame() const { return frame_; }
  void SetFrame(bool frame) { frame_ = frame; }

  bool On() const { return on_; }
  // Repaints the segment (and only it) when the state really changes.
  void SetOn(bool on);

 private:
  Color colorOn_ = clLime;
  Color colorOff_ = clGray;
  Color colorFrame_ = clBlack;
  bool frame_ = true;
  bool on_ = false;
};

}  // namespace zentra
