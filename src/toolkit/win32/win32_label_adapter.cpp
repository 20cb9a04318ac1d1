// Labels: painted text in the label's font, alignment and wrapping.
#include "toolkit/win32/win32_api.h"

#include "toolkit/label.h"
#include "toolkit/win32/win32_control_adapter.h"
#include "toolkit/win32/win32_gdi_draw.h"
#include "toolkit/win32/win32_resources.h"
#include "toolkit/win32/win32_standard_adapters.h"

namespace zentra {
namespace {

class LabelAdapter : public Win32AdapterOf<TLabel> {
 public:
  void PaintWindowless(Control& control, HDC dc, Win32Resources& resources) const override {
    const TLabel& label = Of(control);
    RECT r{0, 0, label.Width(), label.Height()};
    if (!label.Transparent()) FillRect(dc, &r, resources.BrushFor(label.GetColor()));
    resources.UseFont(dc, resources.FontFor(label.GetFont()));
    UINT flags = DT_EXPANDTABS | AlignmentFlags(label.GetAlignment());
    flags |= label.WordWrap() ? DT_WORDBREAK : 0;
    if (!label.ShowAccelChar()) flags |= DT_NOPREFIX;
    DrawCaption(dc, label, label.Caption(), r, flags);
  }
};

}  // namespace

void RegisterLabelAdapter(Win32AdapterRegistry& registry) {
  registry.Register("TLabel", std::make_unique<LabelAdapter>());
}

}  // namespace zentra
