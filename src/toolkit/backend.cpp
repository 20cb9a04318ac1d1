#include "toolkit/backend.h"

namespace zentra {

Size Backend::MeasureText(const Font& font, const std::string& text) const {
  // Average glyph width about half the character height; multi-byte UTF-8
  // sequences count as one glyph. Line height includes internal leading.
  int glyphs = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++glyphs;
  const int h = font.height > 0 ? font.height : 11;
  return {(glyphs * h + 1) / 2, (h * 6 + 4) / 5};
}

}  // namespace zentra
