// The faders' mapping between a position (0..255) and the device volume
// (0..65535): volume = round(scale * log10(position + 1)), where the scale
// makes position 254 the full volume. The way back subtracts the 1 again,
// so every position a fader sends comes back as the same position.
#pragma once

#include <cstdint>

namespace zentra {

constexpr int kFaderMaxPosition = 255;
constexpr std::uint32_t kMaxVolume = 65535;

// 65535 / log10(255), about 27232.04.
double VolumeScale();
// Limited to 0..65535 (positions 254 and 255 both give 65535).
std::uint16_t VolumeOfPosition(int position);
// Limited to 0..255; every volume from the driver gives a valid position.
int PositionOfVolume(std::uint32_t volume);

}  // namespace zentra
