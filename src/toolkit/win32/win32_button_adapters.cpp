// Push buttons, check boxes and radio buttons: native BUTTON windows. The
// model decides the check state (the styles are not automatic) and runs
// the click.
#include "toolkit/win32/win32_api.h"

#include "toolkit/buttons.h"
#include "toolkit/win32/win32_control_adapter.h"
#include "toolkit/win32/win32_standard_adapters.h"

namespace zentra {
namespace {

template <class T>
class NativeButtonAdapter : public Win32AdapterOf<T> {
 public:
  bool IsContainerWindow() const override { return false; }
  CaptionPlace Caption() const override { return CaptionPlace::WindowText; }
  void Command(Control& control, HWND, WORD code) const override {
    if (code == BN_CLICKED) control.UserClick();
    else if (code == BN_DOUBLECLICKED) control.UserDoubleClick();
  }
};

class PushButtonAdapter : public NativeButtonAdapter<TButton> {
 public:
  NativeWindowSpec WindowSpec(const Control& control) const override {
    return {"BUTTON", BS_PUSHBUTTON | TabStopStyle(control), 0};
  }
  void Apply(Control& control, HWND window, Change what) const override {
    if (what != Change::Look) return;
    const bool isDefault = Of(control).Default();
    SendMessageA(window, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
};

// A check box or radio button of that button style.
template <class T, DWORD Style>
class CheckButtonAdapter : public NativeButtonAdapter<T> {
 public:
  NativeWindowSpec WindowSpec(const Control& control) const override {
    const DWORD left = this->Of(control).GetAlignment() == Alignment::LeftJustify ? BS_LEFTTEXT : 0;
    return {"BUTTON", Style | left | TabStopStyle(control), 0};
  }
  void Apply(Control& control, HWND window, Change what) const override {
    if (what == Change::State)
      SendMessageA(window, BM_SETCHECK, this->Of(control).Checked() ? BST_CHECKED : BST_UNCHECKED,
                   0);
  }
};

}  // namespace

void RegisterButtonAdapters(Win32AdapterRegistry& registry) {
  registry.Register("TButton", std::make_unique<PushButtonAdapter>());
  registry.Register("TCheckBox", std::make_unique<CheckButtonAdapter<TCheckBox, BS_CHECKBOX>>());
  registry.Register("TRadioButton",
                    std::make_unique<CheckButtonAdapter<TRadioButton, BS_RADIOBUTTON>>());
}

}  // namespace zentra
