#include "controls/lumi.h"

namespace zentra {

TLumi::TLumi(Component* owner) : TShape(owner) {
  SetBounds(0, 0, 16, 6);
  SetPenColor(clBlack);
  SetPenWidth(1);
  SetBrushColor(colorOff_);
}

void TLumi::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  SetBrushColor(on ? colorOn_ : colorOff_);
}

}  // namespace zentra
