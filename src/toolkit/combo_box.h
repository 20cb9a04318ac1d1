// A drop-down list: a fixed list of items, one of which is selected.
#pragma once

#include <string>
#include <vector>

#include "toolkit/control.h"

namespace zentra {

enum class ComboStyle { DropDown, DropDownList };

class TComboBox : public Control {
 public:
  explicit TComboBox(Component* owner);
  const char* ClassName() const override { return "TComboBox"; }

  ComboStyle Style() const { return style_; }
  void SetStyle(ComboStyle style);
  const std::vector<std::string>& Items() const { return items_; }
  // Replacing the items clears the selection.
  void SetItems(const std::vector<std::string>& items);
  void AddItem(const std::string& item);
  void ClearItems() { SetItems({}); }
  int ItemIndex() const { return itemIndex_; }
  // -1 or an index outside the items selects nothing. Runs no event.
  void SetItemIndex(int index);
  // The selected item's text, empty when none.
  std::string Text() const;
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int count) { dropDownCount_ = count; }

  // Runs only when the user chooses another item.
  NotifyEvent OnChange;

  // The user chose the item at that index.
  void UserSelect(int index);

 private:
  ComboStyle style_ = ComboStyle::DropDownList;
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
};

}  // namespace zentra
