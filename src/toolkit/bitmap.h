// A small device-independent picture: 0x00BBGGRR pixels, rows top-down.
// Window descriptions refer to pictures by name (see bitmap_registry.h).
#pragma once

#include <string>
#include <vector>

#include "toolkit/types.h"

namespace zentra {

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<Color> pixels;  // width * height

  bool Empty() const { return width <= 0 || height <= 0; }
  Color At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  void Set(int x, int y, Color c) {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<std::size_t>(y) * width + x] = c;
  }
  static Bitmap Filled(int width, int height, Color color) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.pixels.assign(static_cast<std::size_t>(width) * height, color);
    return b;
  }
};

}  // namespace zentra
