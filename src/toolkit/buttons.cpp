#include "toolkit/buttons.h"

#include "toolkit/form.h"

namespace zentra {

TButton::TButton(Component* owner) : Control(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  Changed(Change::Look);
}

void TButton::Click() {
  if (modalResult_ != mrNone && EventsAllowed())
    if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
  Control::Click();
}

TCheckBox::TCheckBox(Component* owner) : Control(owner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Change::State);
  Click();
}

void TCheckBox::SetAlignment(Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed(Change::Look);
}

void TCheckBox::DoUserClick() {
  if (CanFocus()) SetFocus();
  SetChecked(!checked_);
}

TRadioButton::TRadioButton(Component* owner) : Control(owner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(true);
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Change::State);
  if (!checked) return;
  if (Parent() != nullptr) {
    for (Control* sibling : Parent()->Children()) {
      auto* radio = dynamic_cast<TRadioButton*>(sibling);
      if (radio == nullptr || radio == this || !radio->checked_) continue;
      radio->checked_ = false;
      radio->Changed(Change::State);
    }
  }
  Click();
}

void TRadioButton::SetAlignment(Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed(Change::Look);
}

void TRadioButton::DoUserClick() {
  if (CanFocus()) SetFocus();
  SetChecked(true);
}

}  // namespace zentra
