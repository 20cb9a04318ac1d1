// The default rates of the card's two clock generators as the user types
// them: Clock 1 runs at six fixed rates, Clock 2 at any rate from 29 kHz to
// 105 kHz.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zentra {

// The text as a whole number (optional sign, decimal digits or "$" and hex
// digits, no blanks, within 32 bits), or nothing.
std::optional<std::int32_t> RateFromText(std::string_view text);

// 11025, 22050, 32000, 44100, 48000 or 96000 Hz.
bool IsClock1Rate(std::int32_t rate);
// 29000 to 105000 Hz inclusive.
bool IsClock2Rate(std::int32_t rate);

}  // namespace zentra
