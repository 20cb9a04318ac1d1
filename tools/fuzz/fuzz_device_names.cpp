// Fuzzes the two device-name parsers of discovery with arbitrary names. A
// ConversionError is the expected answer to a bad ADAT name; crashes,
// undefined behaviour and results outside the documented ranges are faults.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "driver/discovery.h"
#include "driver/driver_errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view name(reinterpret_cast<const char*>(data), size);

  const int card = zentra::CardIndexFromName(name);
  if (card < 0 || card > 3) std::abort();

  // Discovery always passes 8 channels per card; other counts must be safe too.
  const int channelCounts[] = {8, size > 0 ? static_cast<int>(data[0]) - 128 : 0};
  for (int channels : channelCounts) {
    int pair = -99;
    try {
      const int adatCard = zentra::DevNameChannelPairToCardId(name, channels, pair);
      if (adatCard < 0) {
        if (pair != -1) std::abort();
      } else if (channels == 8 && (pair < 0 || pair > 3)) {
        std::abort();
      }
    } catch (const zentra::ConversionError&) {
      // A name without a channel pair.
    }
  }
  return 0;
}
