#include "mixer/volume_mapping.h"

#include <algorithm>
#include <cmath>

#include "controls/numeric.h"

namespace zentra {

double VolumeScale() { return static_cast<double>(kMaxVolume) / LogBase(10, kFaderMaxPosition); }

std::uint16_t VolumeOfPosition(int position) {
  if (position < 0) return 0;
  // The rounding of the toolkit: to the nearest integer, halves to even.
  const double v = std::nearbyint(VolumeScale() * LogBase(10, position + 1.0));
  return static_cast<std::uint16_t>(std::clamp(v, 0.0, static_cast<double>(kMaxVolume)));
}

int PositionOfVolume(std::uint32_t volume) {
  const double v = std::min<double>(volume, kMaxVolume);
  const double p = std::nearbyint(PowerOf(10, v / VolumeScale())) - 1;
  return static_cast<int>(std::clamp(p, 0.0, static_cast<double>(kFaderMaxPosition)));
}

}  // namespace zentra
