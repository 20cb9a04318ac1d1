#include "toolkit/label.h"

#include "toolkit/application.h"
#include "toolkit/text_util.h"

namespace zentra {

TLabel::TLabel(Component* owner) : GraphicControl(owner) { SetBounds(0, 0, 65, 17); }

void TLabel::SetCaption(const std::string& caption) {
  GraphicControl::SetCaption(caption);
  AdjustBounds();
}

void TLabel::SetAlignment(Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed(Change::Look);
}

void TLabel::SetAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  AdjustBounds();
}

void TLabel::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed(Change::Look);
}

void TLabel::SetWordWrap(bool wordWrap) {
  if (wordWrap == wordWrap_) return;
  wordWrap_ = wordWrap;
  Changed(Change::Look);
}

void TLabel::SetShowAccelChar(bool show) {
  if (show == showAccelChar_) return;
  showAccelChar_ = show;
  Changed(Change::Caption);
  AdjustBounds();
}

std::string TLabel::DisplayText() const {
  return showAccelChar_ ? StripAccelerators(Caption()) : Caption();
}

void TLabel::Loaded() {
  GraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::FontChanged() { AdjustBounds(); }

void TLabel::AdjustBounds() {
  if (!autoSize_ || wordWrap_ || Loading()) return;
  Backend* backend = Application::Instance().GetBackend();
  if (backend == nullptr) return;
  Size text = backend->MeasureText(GetFont(), DisplayText());
  int left = Left();
  if (alignment_ == Alignment::RightJustify) left += Width() - text.width;
  SetBounds(left, Top(), text.width, text.height);
}

}  // namespace zentra
