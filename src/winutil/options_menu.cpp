#include "winutil/options_menu.h"

#include <vector>

#include "platform/platform.h"
#include "toolkit/std_controls.h"

namespace zentra {

const char* const kOptionPanelItemText = " Fenstersteuerung anzeigen";
const char* const kInfoItemText = " Info...";
const char* const kHintsItemText = " Tips anzeigen";

namespace {

constexpr std::uint32_t kNoMoreKeys = 0x7FFFFFFF;

std::uint32_t CheckFlag(bool checked) { return checked ? MF_CHECKED : MF_UNCHECKED; }

// Item key of a check box: left in the high word, top in the low word.
std::uint32_t ItemKey(const Control& c) {
  return (static_cast<std::uint32_t>(c.Left()) << 16) + static_cast<std::uint32_t>(c.Top());
}

// The panel's check boxes in item order: repeatedly the smallest key above
// the last one taken. Boxes sharing a key give one item; a box at (0, 0)
// gives none.
std::vector<TCheckBox*> BoxesInItemOrder(const TPanel& panel) {
  std::vector<TCheckBox*> boxes;
  for (Control* child : panel.Children())
    if (auto* box = dynamic_cast<TCheckBox*>(child)) boxes.push_back(box);
  std::vector<TCheckBox*> ordered;
  std::uint32_t last = 0;
  for (;;) {
    TCheckBox* next = nullptr;
    std::uint32_t nextKey = kNoMoreKeys;
    for (TCheckBox* box : boxes) {
      const std::uint32_t key = ItemKey(*box);
      if (key > last && key < nextKey) {
        next = box;
        nextKey = key;
      }
    }
    if (next == nullptr) break;
    ordered.push_back(next);
    last = nextKey;
  }
  return ordered;
}

WinHandle SystemMenuOf(Control& control) {
  UserApi* user = CurrentPlatform().user;
  TForm* form = control.ParentForm();
  if (user == nullptr || form == nullptr) return 0;
  const WinHandle window = form->Handle();
  return window != 0 ? user->GetSystemMenu(window, false) : 0;
}

}  // namespace

std::string MenuItemText(const std::string& text) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Count each character at its first byte.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == kMenuItemTextLimit)
      return text.substr(0, i);
  }
  return text;
}

WinHandle BuildOptionsMenu(TPanel& optionPanel, std::uintptr_t infoId, bool extraSeparator) {
  UserApi* user = CurrentPlatform().user;
  const WinHandle menu = SystemMenuOf(optionPanel);
  if (menu == 0) return 0;
  user->AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  for (TCheckBox* box : BoxesInItemOrder(optionPanel)) {
    user->AppendMenuA(menu, MF_STRING | CheckFlag(box->Checked()), box->Identity(),
                      MenuItemText(box->Caption()).c_str());
  }
  if (extraSeparator) user->AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  user->AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  user->AppendMenuA(menu, MF_STRING | CheckFlag(optionPanel.Visible()), optionPanel.Identity(),
                    kOptionPanelItemText);
  user->AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  user->AppendMenuA(menu, MF_STRING | MF_UNCHECKED, infoId, kInfoItemText);
  return menu;
}

WinHandle AppendSystemMenuItems(TForm& form, const std::vector<BilingualMenuItem>& items) {
  UserApi* user = CurrentPlatform().user;
  if (user == nullptr || form.Handle() == 0) return 0;
  const WinHandle menu = user->GetSystemMenu(form.Handle(), false);
  if (menu == 0) return 0;
  user->AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  for (const BilingualMenuItem& item : items)
    user->AppendMenuA(menu, MF_STRING | MF_UNCHECKED, item.id, MenuItemText(item.captionGerman).c_str());
  return menu;
}

void UpdateOptionsMenuItem(Control* control) {
  if (control == nullptr) return;
  std::string text;
  bool checked = false;
  if (auto* box = dynamic_cast<TCheckBox*>(control)) {
    text = MenuItemText(box->Caption());
    checked = box->Checked();
  } else if (auto* form = control->AsForm()) {
    text = kHintsItemText;
    checked = form->ShowHint();
  } else if (dynamic_cast<TPanel*>(control) != nullptr) {
    text = kOptionPanelItemText;
    checked = control->Visible();
  } else {
    return;
  }
  const WinHandle menu = SystemMenuOf(*control);
  if (menu == 0) return;
  const std::uint32_t id = control->Identity();
  CurrentPlatform().user->ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING | CheckFlag(checked), id,
                                      text.c_str());
}

}  // namespace zentra
