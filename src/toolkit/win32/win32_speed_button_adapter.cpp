// Speed buttons: painted flat or raised, sunken while down or pressed, with
// the first image of their glyph and their caption.
#include "toolkit/win32/win32_api.h"

#include "toolkit/speed_button.h"
#include "toolkit/win32/win32_control_adapter.h"
#include "toolkit/win32/win32_gdi_draw.h"
#include "toolkit/win32/win32_resources.h"
#include "toolkit/win32/win32_standard_adapters.h"

namespace zentra {
namespace {

// The first of the glyph's NumGlyphs images: the normal look.
Bitmap FirstGlyph(const TSpeedButton& button) {
  const Bitmap& glyph = button.Glyph();
  const int count = button.NumGlyphs() > 0 ? button.NumGlyphs() : 1;
  Bitmap first;
  first.width = glyph.width / count;
  first.height = glyph.height;
  first.pixels.reserve(static_cast<size_t>(first.width) * first.height);
  for (int y = 0; y < glyph.height; ++y)
    for (int x = 0; x < first.width; ++x) first.pixels.push_back(glyph.At(x, y));
  return first;
}

class SpeedButtonAdapter : public Win32AdapterOf<TSpeedButton> {
 public:
  void PaintWindowless(Control& control, HDC dc, Win32Resources& resources) const override {
    const TSpeedButton& button = Of(control);
    RECT r{0, 0, button.Width(), button.Height()};
    FillRect(dc, &r, resources.BrushFor(button.GetColor()));
    const bool sunken = button.Down() || button.Pressed();
    if (sunken) {
      DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    } else if (!button.Flat()) {
      DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    }
    RECT content = r;
    if (sunken) OffsetRect(&content, 1, 1);
    const bool hasGlyph = !button.Glyph().Empty();
    const std::string& caption = button.Caption();
    int textLeft = content.left;
    if (hasGlyph) {
      const Bitmap first = FirstGlyph(button);
      const int gx = caption.empty() ? (content.left + content.right - first.width) / 2
                                     : content.left + (button.Margin() >= 0 ? button.Margin() : 4);
      const int gy = (content.top + content.bottom - first.height) / 2;
      DrawBitmap(dc, first, gx, gy, first.width, first.height);
      textLeft = gx + first.width + button.Spacing();
    }
    if (!caption.empty()) {
      resources.UseFont(dc, resources.FontFor(button.GetFont()));
      RECT textRect{textLeft, content.top, content.right, content.bottom};
      const UINT align = hasGlyph ? DT_LEFT : DT_CENTER;
      DrawCaption(dc, button, caption, textRect, DT_SINGLELINE | DT_VCENTER | align);
    }
  }
};

}  // namespace

void RegisterSpeedButtonAdapter(Win32AdapterRegistry& registry) {
  registry.Register("TSpeedButton", std::make_unique<SpeedButtonAdapter>());
}

}  // namespace zentra
