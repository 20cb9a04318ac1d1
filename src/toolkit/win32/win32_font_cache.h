// GDI fonts of the native backend, created once per distinct look and shared
// by every control that uses it. The fonts live until the cache is destroyed.
#pragma once

#include "toolkit/win32/win32_api.h"

#include <map>
#include <string>
#include <tuple>

namespace zentra {

struct FontKey {
  std::string name;  // UTF-8 face name
  int pixelHeight = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  bool operator<(const FontKey& other) const {
    return std::tie(name, pixelHeight, bold, italic, underline, strikeOut) <
           std::tie(other.name, other.pixelHeight, other.bold, other.italic, other.underline,
                    other.strikeOut);
  }
};

class Win32FontCache {
 public:
  Win32FontCache() = default;
  Win32FontCache(const Win32FontCache&) = delete;
  Win32FontCache& operator=(const Win32FontCache&) = delete;
  ~Win32FontCache();

  // The font for this look; falls back to the default GUI font when GDI
  // cannot create it. The cache keeps ownership.
  HFONT Get(const FontKey& key);
  size_t size() const { return fonts_.size(); }

 private:
  std::map<FontKey, HFONT> fonts_;
};

}  // namespace zentra
