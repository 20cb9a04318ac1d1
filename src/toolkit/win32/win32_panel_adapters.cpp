// Panels, group boxes and scroll boxes: windows of the program's container
// class. A panel paints its bevels and caption (and, windowless, its
// background too: a meter); a group box shows a native group-box frame
// behind its controls; a scroll box keeps a horizontal scroll bar over its
// content.
#include "toolkit/win32/win32_api.h"

#include "platform/text_encoding.h"
#include "toolkit/containers.h"
#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/win32_control_adapter.h"
#include "toolkit/win32/win32_gdi_draw.h"
#include "toolkit/win32/win32_resources.h"
#include "toolkit/win32/win32_standard_adapters.h"

namespace zentra {
namespace {

class PanelAdapter : public Win32AdapterOf<TPanel> {
 public:
  bool PaintsWithinBounds(const Control&) const override { return true; }
  bool PaintsOpaque(const Control&) const override { return true; }  // windowless: filled
  void PaintContainer(Control& control, HDC dc, Win32Resources& resources) const override {
    const TPanel& panel = Of(control);
    RECT r{0, 0, panel.Width(), panel.Height()};
    if (!panel.Caption().empty() || TouchesFrame(panel, dc)) {
      DrawBevelFrame(dc, resources, r, panel.BevelOuter(), panel.BevelWidth());
      InflateRect(&r, -panel.BorderWidth(), -panel.BorderWidth());
      DrawBevelFrame(dc, resources, r, panel.BevelInner(), panel.BevelWidth());
    }
    if (!panel.Caption().empty()) {
      resources.UseFont(dc, resources.FontFor(panel.GetFont()));
      DrawCaption(dc, panel, panel.Caption(), r,
                  DT_SINGLELINE | DT_VCENTER | AlignmentFlags(panel.GetAlignment()));
    }
  }
  void PaintWindowless(Control& control, HDC dc, Win32Resources& resources) const override {
    RECT r{0, 0, control.Width(), control.Height()};
    FillRect(dc, &r, resources.BrushFor(control.GetColor()));
    PaintContainer(control, dc, resources);
  }

 private:
  // Whether the area being painted reaches the bevels at the panel's edges.
  // A meter's segments repaint often, deep inside their panels; the bevels'
  // lines are then not drawn at all rather than drawn and clipped away.
  static bool TouchesFrame(const TPanel& panel, HDC dc) {
    RECT box;
    if (GetClipBox(dc, &box) == ERROR) return true;
    const int frame = 2 * panel.BevelWidth() + panel.BorderWidth();
    const RECT inner{frame, frame, panel.Width() - frame, panel.Height() - frame};
    return box.left < inner.left || box.top < inner.top || box.right > inner.right ||
           box.bottom > inner.bottom;
  }
};

class GroupBoxAdapter : public Win32AdapterOf<TGroupBox> {
 public:
  NativeWindowSpec WindowSpec(const Control&) const override {
    // No WS_CLIPCHILDREN: the native frame lies over the whole area and
    // must let the painted (windowless) controls show through.
    return {Win32Backend::ContainerClassName(), 0, WS_EX_CONTROLPARENT};
  }
  CaptionPlace Caption() const override { return CaptionPlace::Companion; }
  HWND CreateCompanion(const Control& control, HWND window, HINSTANCE instance) const override {
    const std::string text = Utf8ToCp1252(control.Caption());
    HWND frame = CreateWindowExA(0, "BUTTON", text.c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0,
                                 control.Width(), control.Height(), window, nullptr, instance,
                                 nullptr);
    if (frame != nullptr)
      SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return frame;
  }
};

class ScrollBoxAdapter : public Win32AdapterOf<TScrollBox> {
 public:
  NativeWindowSpec WindowSpec(const Control& control) const override {
    const DWORD scroll = Of(control).HorzMaxPosition() > 0 ? WS_HSCROLL : 0;
    return {Win32Backend::ContainerClassName(), WS_CLIPCHILDREN | scroll, WS_EX_CONTROLPARENT};
  }
  void Apply(Control& control, HWND window, Change what) const override {
    if (what == Change::Scroll || what == Change::Range || what == Change::Look ||
        what == Change::Bounds)
      ShowScrollBar(Of(control), window);
  }
  void ContentChanged(Control& control, HWND window) const override {
    ShowScrollBar(Of(control), window);
  }
  bool OwnScroll(Control& control, UINT msg, WPARAM wParam) const override {
    if (msg != WM_HSCROLL) return true;  // a scroll box scrolls sideways only
    TScrollBox& box = Of(control);
    int position = box.HorzPosition();
    switch (LOWORD(wParam)) {
      case SB_LINELEFT: position -= box.HorzIncrement(); break;
      case SB_LINERIGHT: position += box.HorzIncrement(); break;
      case SB_PAGELEFT: position -= box.ClientWidth(); break;
      case SB_PAGERIGHT: position += box.ClientWidth(); break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: position = HIWORD(wParam); break;
      case SB_LEFT: position = 0; break;
      case SB_RIGHT: position = box.HorzMaxPosition(); break;
      default: return true;
    }
    box.UserScroll(position);
    return true;
  }

 private:
  static void ShowScrollBar(const TScrollBox& box, HWND window) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = box.HorzRange() - 1;
    info.nPage = static_cast<UINT>(box.ClientWidth());
    info.nPos = box.HorzPosition();
    SetScrollInfo(window, SB_HORZ, &info, TRUE);
  }
};

}  // namespace

void RegisterPanelAdapters(Win32AdapterRegistry& registry) {
  registry.Register("TPanel", std::make_unique<PanelAdapter>());
  registry.Register("TGroupBox", std::make_unique<GroupBoxAdapter>());
  registry.Register("TScrollBox", std::make_unique<ScrollBoxAdapter>());
}

}  // namespace zentra
