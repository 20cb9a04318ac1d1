#include "winutil/managed_form.h"

#include <map>

namespace zentra {
namespace {
std::map<std::string, ManagedFormFactory>& Registry() {
  static std::map<std::string, ManagedFormFactory> registry;
  return registry;
}
}  // namespace

void RegisterManagedWindowClass(const std::string& className, ManagedFormFactory factory) {
  if (factory)
    Registry()[className] = std::move(factory);
  else
    Registry().erase(className);
}

const ManagedFormFactory* FindManagedWindowClass(const std::string& className) {
  auto it = Registry().find(className);
  return it == Registry().end() ? nullptr : &it->second;
}

}  // namespace zentra
