// A windowless text label: alignment, auto-size, transparency.
#pragma once

#include "toolkit/control.h"

namespace zentra {

class TLabel : public GraphicControl {
 public:
  explicit TLabel(Component* owner);
  const char* ClassName() const override { return "TLabel"; }

  void SetCaption(const std::string& caption) override;
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);
  // An auto-sized label takes the size of its text whenever caption or font
  // change (a right-justified one keeps its right edge).
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wordWrap);
  // Whether '&' marks an accelerator ("&&" shows one ampersand).
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool show);
  std::string DisplayText() const override;

 protected:
  void Loaded() override;
  void FontChanged() override;
  void AdjustBounds();

 private:
  Alignment alignment_ = Alignment::LeftJustify;
  bool autoSize_ = true;
  bool transparent_ = false;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
};

}  // namespace zentra
