#include "platform/platform.h"

namespace zentra {
namespace {
Platform& Current() {
  static Platform platform;
  return platform;
}
}  // namespace

const Platform& CurrentPlatform() { return Current(); }
void SetCurrentPlatform(const Platform& platform) { Current() = platform; }

}  // namespace zentra
