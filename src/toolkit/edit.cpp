#include "toolkit/edit.h"

#include "toolkit/application.h"

namespace zentra {

TEdit::TEdit(Component* owner) : Control(owner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

void TEdit::SetText(const std::string& text) {
  if (text == Caption()) return;
  Control::SetCaption(text);
  if (OnChange && EventsAllowed()) OnChange(this);
}

void TEdit::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  Changed(Change::Look);
}

void TEdit::UserTextChanged(const std::string& text) {
  RunGuarded([&] {
    if (readOnly_ || !Enabled()) return;
    std::string t = text;
    if (maxLength_ > 0 && static_cast<int>(t.size()) > maxLength_) t.resize(maxLength_);
    SetText(t);
  }, this);
}

}  // namespace zentra
