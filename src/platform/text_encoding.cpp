#include "platform/text_encoding.h"

#include <cstdint>

namespace zentra {
namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; 0 where the byte is unused.
const std::uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char EncodeCodePoint(std::uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  return '?';
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Utf8ToCp1252(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= utf8.size()) {
      out += '?';  // stray continuation byte or truncated sequence
      ++i;
      continue;
    }
    std::uint32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(utf8[i + k]);
      if ((c & 0xC0) != 0x80) { valid = false; break; }
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!valid) {
      out += '?';
      ++i;
      continue;
    }
    out += EncodeCodePoint(cp);
    i += extra + 1;
  }
  return out;
}

std::string Cp1252ToUtf8(const std::string& ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 8);
  for (char ch : ansi) {
    const auto b = static_cast<unsigned char>(ch);
    std::uint32_t cp = b;
    if (b >= 0x80 && b < 0xA0) cp = kHighControls[b - 0x80] ? kHighControls[b - 0x80] : '?';
    AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace zentra
