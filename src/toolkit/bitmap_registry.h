// Pictures by name, for the Picture and Glyph properties of window
// descriptions. A subsystem registers each picture it draws (for example the
// about box's logo) before its window is loaded.
#pragma once

#include <functional>
#include <string>

#include "toolkit/bitmap.h"

namespace zentra {

// Registers (or replaces) the picture of that name; make is called on each use.
void RegisterBitmap(const std::string& name, std::function<Bitmap()> make);
bool BitmapRegistered(const std::string& name);
// The picture of that name; throws PropertyError when none is registered.
Bitmap NamedBitmap(const std::string& name);

}  // namespace zentra
