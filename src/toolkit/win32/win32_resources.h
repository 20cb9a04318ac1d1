// GDI objects the native backend shares between controls: fonts by look,
// solid brushes by colour and pens by style, width and colour, created once
// and deleted with the backend (painting creates no GDI object of its own). Also
// resolves the toolkit's colour values (system colours have the high bit set).
#pragma once

#include "toolkit/win32/win32_api.h"

#include <map>
#include <tuple>

#include "toolkit/font.h"
#include "toolkit/types.h"
#include "toolkit/win32/win32_font_cache.h"

namespace zentra {

// 0x00BBGGRR for a toolkit colour; system colours come from GetSysColor.
COLORREF ResolveColor(Color color);

class Win32Resources {
 public:
  Win32Resources() = default;
  Win32Resources(const Win32Resources&) = delete;
  Win32Resources& operator=(const Win32Resources&) = delete;
  ~Win32Resources();

  HFONT FontFor(const Font& font);
  HBRUSH BrushFor(Color color);
  // style is PS_SOLID, PS_DASH or PS_DOT; color is already resolved.
  HPEN PenFor(int style, int width, COLORREF color);
  // Select a pen, brush or font into dc unless the paint under way has
  // already selected it there: each selection is a call into the platform,
  // and neighbouring meter segments mostly share their pen and brush. A
  // paint calls ForgetSelections when it starts and when it ends.
  void UsePen(HDC dc, HGDIOBJ pen) { Select(dc, pen, selectedPen_); }
  void UseBrush(HDC dc, HGDIOBJ brush) { Select(dc, brush, selectedBrush_); }
  void UseFont(HDC dc, HGDIOBJ font) { Select(dc, font, selectedFont_); }
  void ForgetSelections() {
    selectionDc_ = nullptr;
    selectedPen_ = selectedBrush_ = selectedFont_ = nullptr;
  }
  size_t BrushCount() const { return brushes_.size(); }
  size_t FontCount() const { return fonts_.size(); }
  size_t PenCount() const { return pens_.size(); }

 private:
  void Select(HDC dc, HGDIOBJ object, HGDIOBJ& selected) {
    if (dc != selectionDc_) {
      ForgetSelections();
      selectionDc_ = dc;
    }
    if (object == selected) return;
    SelectObject(dc, object);
    selected = object;
  }

  HDC selectionDc_ = nullptr;
  HGDIOBJ selectedPen_ = nullptr;
  HGDIOBJ selectedBrush_ = nullptr;
  HGDIOBJ selectedFont_ = nullptr;
  Win32FontCache fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
  std::map<std::tuple<int, int, COLORREF>, HPEN> pens_;
};

}  // namespace zentra
