#include "toolkit/combo_box.h"

#include "toolkit/application.h"

namespace zentra {

TComboBox::TComboBox(Component* owner) : Control(owner) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

void TComboBox::SetStyle(ComboStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed(Change::Look);
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  Changed(Change::Items);
  if (itemIndex_ != -1) {
    itemIndex_ = -1;
    Changed(Change::ItemIndex);
  }
}

void TComboBox::AddItem(const std::string& item) {
  items_.push_back(item);
  Changed(Change::Items);
}

void TComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed(Change::ItemIndex);
}

std::string TComboBox::Text() const { return itemIndex_ < 0 ? std::string() : items_[itemIndex_]; }

void TComboBox::UserSelect(int index) {
  RunGuarded([&] {
    if (!Enabled() || index < 0 || index >= static_cast<int>(items_.size())) return;
    if (index == itemIndex_) return;
    SetItemIndex(index);
    if (OnChange && EventsAllowed()) OnChange(this);
  }, this);
}

}  // namespace zentra
