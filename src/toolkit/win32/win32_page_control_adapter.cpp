// Page controls: the native tab common control, one tab per visible sheet;
// the sheets are container windows inside it.
#include "toolkit/win32/win32_api.h"

#include "platform/text_encoding.h"
#include "toolkit/page_control.h"
#include "toolkit/win32/win32_control_adapter.h"
#include "toolkit/win32/win32_standard_adapters.h"

namespace zentra {
namespace {

void FillTabs(const TPageControl& pages, HWND window) {
  SendMessageA(window, TCM_DELETEALLITEMS, 0, 0);
  int index = 0;
  for (TTabSheet* sheet : pages.Pages()) {
    if (!sheet->TabVisible()) continue;
    std::string text = Utf8ToCp1252(sheet->Caption());
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = &text[0];
    item.lParam = reinterpret_cast<LPARAM>(sheet);
    SendMessageA(window, TCM_INSERTITEMA, index++, reinterpret_cast<LPARAM>(&item));
  }
  if (pages.TabWidth() > 0 || pages.TabHeight() > 0)
    SendMessageA(window, TCM_SETITEMSIZE, 0, MAKELPARAM(pages.TabWidth(), pages.TabHeight()));
}

int TabIndexOfSheet(const TPageControl& pages, const TTabSheet* wanted) {
  int index = 0;
  for (TTabSheet* sheet : pages.Pages()) {
    if (!sheet->TabVisible()) continue;
    if (sheet == wanted) return index;
    ++index;
  }
  return -1;
}

class PageControlAdapter : public Win32AdapterOf<TPageControl> {
 public:
  NativeWindowSpec WindowSpec(const Control& control) const override {
    const TPageControl& pages = Of(control);
    DWORD style = WS_CLIPCHILDREN | TabStopStyle(control);
    if (pages.TabWidth() > 0) style |= TCS_FIXEDWIDTH;
    if (pages.HotTrack()) style |= TCS_HOTTRACK;
    return {WC_TABCONTROLA, style, WS_EX_CONTROLPARENT};
  }
  bool IsContainerWindow() const override { return false; }
  bool ChildrenFollowBounds() const override { return true; }
  void Apply(Control& control, HWND window, Change what) const override {
    if (what != Change::ActivePage && what != Change::Items && what != Change::Look) return;
    const TPageControl& pages = Of(control);
    FillTabs(pages, window);
    SendMessageA(window, TCM_SETCURSEL, TabIndexOfSheet(pages, pages.ActivePage()), 0);
  }
  LRESULT Notify(Control& control, HWND window, const NMHDR& header) const override {
    if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return 0;
    const int tab = static_cast<int>(SendMessageA(window, TCM_GETCURSEL, 0, 0));
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (SendMessageA(window, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item))) {
      auto* sheet = reinterpret_cast<TTabSheet*>(item.lParam);
      Of(control).UserSelectPage(sheet->PageIndex());
    }
    return 0;
  }
};

}  // namespace

void RegisterPageControlAdapter(Win32AdapterRegistry& registry) {
  registry.Register("TPageControl", std::make_unique<PageControlAdapter>());
}

}  // namespace zentra
