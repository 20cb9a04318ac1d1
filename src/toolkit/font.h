// Font of a control: face name, pixel height, style and text colour.
#pragma once

#include <string>

#include "toolkit/types.h"

namespace zentra {

struct Font {
  std::string name = "MS Sans Serif";
  int height = 11;  // character height in pixels
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  Color color = clWindowText;

  friend bool operator==(const Font& a, const Font& b) {
    return a.name == b.name && a.height == b.height && a.bold == b.bold && a.italic == b.italic &&
           a.underline == b.underline && a.strikeOut == b.strikeOut && a.color == b.color;
  }
  friend bool operator!=(const Font& a, const Font& b) { return !(a == b); }
};

}  // namespace zentra
