// Combo boxes: native drop-down lists (CBS_DROPDOWNLIST) holding the
// model's items.
#include "toolkit/win32/win32_api.h"

#include "platform/text_encoding.h"
#include "toolkit/combo_box.h"
#include "toolkit/win32/win32_control_adapter.h"
#include "toolkit/win32/win32_standard_adapters.h"

namespace zentra {
namespace {

class ComboBoxAdapter : public Win32AdapterOf<TComboBox> {
 public:
  NativeWindowSpec WindowSpec(const Control& control) const override {
    return {"COMBOBOX", static_cast<DWORD>(CBS_DROPDOWNLIST | WS_VSCROLL) | TabStopStyle(control), 0};
  }
  bool IsContainerWindow() const override { return false; }
  CaptionPlace Caption() const override { return CaptionPlace::WindowText; }
  // The window's height includes the dropped-down list.
  int WindowHeight(const Control& control) const override { return control.Height() + 200; }
  bool KeepsDialogKeys(HWND window) const override {
    return SendMessageA(window, CB_GETDROPPEDSTATE, 0, 0) != 0;
  }
  void Apply(Control& control, HWND window, Change what) const override {
    const TComboBox& combo = Of(control);
    if (what == Change::Items) {
      SendMessageA(window, CB_RESETCONTENT, 0, 0);
      for (const std::string& item : combo.Items()) {
        const std::string text = Utf8ToCp1252(item);
        SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      }
    }
    if (what == Change::Items || what == Change::ItemIndex)
      SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(combo.ItemIndex()), 0);
  }
  void Command(Control& control, HWND window, WORD code) const override {
    if (code != CBN_SELCHANGE) return;
    const int index = static_cast<int>(SendMessageA(window, CB_GETCURSEL, 0, 0));
    Of(control).UserSelect(index);
  }
};

}  // namespace

void RegisterComboBoxAdapter(Win32AdapterRegistry& registry) {
  registry.Register("TComboBox", std::make_unique<ComboBoxAdapter>());
}

}  // namespace zentra
