// Track bars: the native trackbar common control.
#include "toolkit/win32/win32_api.h"

#include "toolkit/track_bar.h"
#include "toolkit/win32/win32_control_adapter.h"
#include "toolkit/win32/win32_standard_adapters.h"

namespace zentra {
namespace {

class TrackBarAdapter : public Win32AdapterOf<TTrackBar> {
 public:
  NativeWindowSpec WindowSpec(const Control& control) const override {
    const TTrackBar& bar = Of(control);
    DWORD style = bar.Orientation() == TrackBarOrientation::Vertical ? TBS_VERT : TBS_HORZ;
    if (bar.GetTickStyle() == TickStyle::None) style |= TBS_NOTICKS;
    else if (bar.GetTickStyle() == TickStyle::Auto) style |= TBS_AUTOTICKS;
    if (bar.GetTickMarks() == TickMarks::TopLeft) style |= TBS_TOP;
    if (bar.GetTickMarks() == TickMarks::Both) style |= TBS_BOTH;
    return {TRACKBAR_CLASSA, style | TabStopStyle(control), 0};
  }
  bool IsContainerWindow() const override { return false; }
  CaptionPlace Caption() const override { return CaptionPlace::WindowText; }
  void Apply(Control& control, HWND window, Change what) const override {
    if (what != Change::Range) return;
    const TTrackBar& bar = Of(control);
    SendMessageA(window, TBM_SETRANGEMIN, FALSE, bar.Min());
    SendMessageA(window, TBM_SETRANGEMAX, FALSE, bar.Max());
    SendMessageA(window, TBM_SETPAGESIZE, 0, bar.PageSize());
    SendMessageA(window, TBM_SETLINESIZE, 0, bar.LineSize());
    if (bar.GetTickStyle() == TickStyle::Auto)
      SendMessageA(window, TBM_SETTICFREQ, bar.Frequency() > 0 ? bar.Frequency() : 1, 0);
    SendMessageA(window, TBM_SETPOS, TRUE, bar.Position());
  }
  void Scroll(Control& control, HWND window) const override {
    const int position = static_cast<int>(SendMessageA(window, TBM_GETPOS, 0, 0));
    Of(control).UserMove(position);
  }
};

}  // namespace

void RegisterTrackBarAdapter(Win32AdapterRegistry& registry) {
  registry.Register("TTrackBar", std::make_unique<TrackBarAdapter>());
}

}  // namespace zentra
