#include "settings/default_rates.h"

#include <algorithm>
#include <array>

#include "driver/driver_errors.h"
#include "driver/integer_text.h"

namespace zentra {
namespace {
constexpr std::array<std::int32_t, 6> kClock1Rates = {11025, 22050, 32000, 44100, 48000, 96000};
constexpr std::int32_t kClock2Lowest = 29000;
constexpr std::int32_t kClock2Highest = 105000;
}  // namespace

std::optional<std::int32_t> RateFromText(std::string_view text) {
  try {
    return StrToInt(text);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

bool IsClock1Rate(std::int32_t rate) {
  return std::find(kClock1Rates.begin(), kClock1Rates.end(), rate) != kClock1Rates.end();
}

bool IsClock2Rate(std::int32_t rate) { return rate >= kClock2Lowest && rate <= kClock2Highest; }

}  // namespace zentra
