#include "toolkit/win32/win32_api.h"
#include "toolkit/win32/win32_resources.h"

namespace zentra {

COLORREF ResolveColor(Color color) {
  if ((color & clSystemColor) != 0 && color != clNone) return GetSysColor(color & 0xFF);
  return color & 0x00FFFFFF;
}

Win32Resources::~Win32Resources() {
  for (auto& entry : brushes_) DeleteObject(entry.second);
  for (auto& entry : pens_) DeleteObject(entry.second);
}

HPEN Win32Resources::PenFor(int style, int width, COLORREF color) {
  const auto key = std::make_tuple(style, width, color);
  auto found = pens_.find(key);
  if (found != pens_.end()) return found->second;
  HPEN pen = CreatePen(style, width, color);
  pens_.emplace(key, pen);
  return pen;
}

HFONT Win32Resources::FontFor(const Font& font) {
  FontKey key;
  key.name = font.name;
  key.pixelHeight = font.height;
  key.bold = font.bold;
  key.italic = font.italic;
  key.underline = font.underline;
  key.strikeOut = font.strikeOut;
  return fonts_.Get(key);
}

HBRUSH Win32Resources::BrushFor(Color color) {
  const COLORREF rgb = ResolveColor(color);
  auto found = brushes_.find(rgb);
  if (found != brushes_.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(rgb);
  brushes_.emplace(rgb, brush);
  return brush;
}

}  // namespace zentra
