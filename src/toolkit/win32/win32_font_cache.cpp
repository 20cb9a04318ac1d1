#include "toolkit/win32/win32_api.h"
#include "toolkit/win32/win32_font_cache.h"

#include "platform/text_encoding.h"

namespace zentra {

Win32FontCache::~Win32FontCache() {
  for (auto& entry : fonts_) DeleteObject(entry.second);
}

HFONT Win32FontCache::Get(const FontKey& key) {
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  const std::string face = Utf8ToCp1252(key.name);
  // A negative height asks for the character height in pixels, as the window
  // descriptions give it; a positive one would be the cell height.
  HFONT font = CreateFontA(-key.pixelHeight, 0, 0, 0, key.bold ? FW_BOLD : FW_NORMAL,
                           key.italic ? TRUE : FALSE, key.underline ? TRUE : FALSE,
                           key.strikeOut ? TRUE : FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           face.substr(0, LF_FACESIZE - 1).c_str());
  if (font == nullptr) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts_.emplace(key, font);
  return font;
}

}  // namespace zentra
