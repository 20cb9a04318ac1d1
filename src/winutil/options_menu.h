// Mirrors a window's option check boxes and its option panel in the
// window's system menu. Each item's command identifier is the Identity() of
// the control it stands for, so the window's system-command handling finds
// the control again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_defs.h"

namespace zentra {

class Control;
class TForm;
class TPanel;

// A system menu item of the program's own: its command identifier and its
// two captions (the German one is shown, the English one only stored, as
// with the bilingual controls).
struct BilingualMenuItem {
  std::uintptr_t id;
  const char* captionGerman;
  const char* captionEnglish;
};

// Texts of the items that do not come from a caption.
extern const char* const kOptionPanelItemText;  // " Fenstersteuerung anzeigen"
extern const char* const kInfoItemText;         // " Info..."
extern const char* const kHintsItemText;        // " Tips anzeigen"

// Longest item text: captions are cut to this many characters.
constexpr std::size_t kMenuItemTextLimit = 255;
// The text cut to the item limit, never inside a multi-byte character.
std::string MenuItemText(const std::string& text);

// Appends to the system menu of the panel's window: a separator, one item per
// check box directly in the panel (column by column, top to bottom), an
// extra separator when asked, a separator, the option panel item, a separator
// and " Info..." with infoId. Returns the menu (0 when the window has none).
WinHandle BuildOptionsMenu(TPanel& optionPanel, std::uintptr_t infoId, bool extraSeparator);

// Appends to the form's system menu a separator and the items, in order.
// Returns the menu (0 when the window has none).
WinHandle AppendSystemMenuItems(TForm& form, const std::vector<BilingualMenuItem>& items);

// Rewrites the item of that control (check box, option panel or window) in
// its window's system menu. Nothing for no control or no such item.
void UpdateOptionsMenuItem(Control* control);

}  // namespace zentra
