// Edits: native EDIT windows; typed text goes to the model as it changes.
#include "toolkit/win32/win32_api.h"

#include "platform/text_encoding.h"
#include "toolkit/edit.h"
#include "toolkit/win32/win32_control_adapter.h"
#include "toolkit/win32/win32_standard_adapters.h"

namespace zentra {
namespace {

class EditAdapter : public Win32AdapterOf<TEdit> {
 public:
  NativeWindowSpec WindowSpec(const Control& control) const override {
    return {"EDIT", static_cast<DWORD>(ES_AUTOHSCROLL) | TabStopStyle(control), WS_EX_CLIENTEDGE};
  }
  bool IsContainerWindow() const override { return false; }
  CaptionPlace Caption() const override { return CaptionPlace::WindowText; }
  void Apply(Control& control, HWND window, Change what) const override {
    const TEdit& edit = Of(control);
    if (what == Change::Look) SendMessageA(window, EM_SETREADONLY, edit.ReadOnly() ? 1 : 0, 0);
    if (what == Change::Look || what == Change::Caption)
      SendMessageA(window, EM_LIMITTEXT, edit.MaxLength(), 0);
  }
  void Command(Control& control, HWND window, WORD code) const override {
    if (code != EN_CHANGE) return;
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    Of(control).UserTextChanged(Cp1252ToUtf8(text));
  }
};

}  // namespace

void RegisterEditAdapter(Win32AdapterRegistry& registry) {
  registry.Register("TEdit", std::make_unique<EditAdapter>());
}

}  // namespace zentra
