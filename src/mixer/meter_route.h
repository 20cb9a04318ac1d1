// Where one metered stereo device of a mixer window is metered: the handles
// that get the start and stop messages, and for each of its two meters the
// handle whose level request it shows and which value of the MeterLevelBlock
// (0 the first, 1 the second). The messages follow each handle's direction.
#pragma once

#include <array>

#include "driver/control_handle.h"

namespace zentra {

struct MeterRoute {
  struct MeterSource {
    const ControlHandle* handle = nullptr;
    int value = 0;
  };
  // Up to two handles; null entries are skipped.
  std::array<const ControlHandle*, 2> started{};
  // Meters 2d and 2d + 1 of device d.
  std::array<MeterSource, 2> meters{};

  // Start, stop and read on one handle, its first value to the left meter
  // and its second to the right one.
  static MeterRoute On(const ControlHandle& handle) {
    MeterRoute route;
    route.started = {&handle, nullptr};
    route.meters = {MeterSource{&handle, 0}, MeterSource{&handle, 1}};
    return route;
  }
  // Start and stop on both handles, read the first.
  static MeterRoute OnPair(const ControlHandle& first, const ControlHandle& second) {
    MeterRoute route = On(first);
    route.started[1] = &second;
    return route;
  }
};

}  // namespace zentra
