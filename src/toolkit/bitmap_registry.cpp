#include "toolkit/bitmap_registry.h"

#include <map>

#include "toolkit/property_value.h"

namespace zentra {
namespace {

std::map<std::string, std::function<Bitmap()>>& Registry() {
  static std::map<std::string, std::function<Bitmap()>> registry;
  return registry;
}

}  // namespace

void RegisterBitmap(const std::string& name, std::function<Bitmap()> make) {
  Registry()[name] = std::move(make);
}

bool BitmapRegistered(const std::string& name) { return Registry().count(name) != 0; }

Bitmap NamedBitmap(const std::string& name) {
  auto it = Registry().find(name);
  if (it == Registry().end()) throw PropertyError("unknown picture '" + name + "'");
  return it->second();
}

}  // namespace zentra
