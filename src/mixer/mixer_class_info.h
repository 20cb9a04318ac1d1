// What sets one mixer window class apart from the others, as data: its
// caption, the devices it opens handles on, its sections, how its card
// strips are cloned, its sizes and its metering rules.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "driver/control_messages.h"
#include "driver/device_tables.h"

namespace zentra {

// Handles opened at construction: channelsPerCard handles on every card's
// device of kind and direction (channel i on the kind's pair i / 2).
struct HandleGroupInfo {
  int deviceKind;  // kKindAnalog, kKindDigital or kKindAdat
  Direction direction;
  int channelsPerCard;
};

// A container whose children make one card strip; each further card widens
// it by the strip width and clones the children beside the first strip.
struct StripContainerInfo {
  enum class Labels {
    Unchanged,      // labels keep their caption
    CardNumber,     // a label's last character becomes the card number (header row)
    ChannelNumber,  // each label gets the next channel number (ADAT number row)
  };
  const char* name;
  Labels labels;
};

// Written with designated initializers (.caption = ..., .stripWidth = ...), so
// that two fields of one type cannot trade places unnoticed.
struct MixerClassInfo {
  const char* caption;  // window caption, also the INI section
  // The groups of handles opened at construction, in opening order. The
  // first group holds the window's own metered devices.
  std::vector<HandleGroupInfo> handleGroups;
  int devicesPerCard;  // metered stereo devices per card (1, or 4 in the ADAT windows)
  // The main panel, the settings section (null when none) and the meter
  // section by component name, and the header row (null when none).
  const char* mainPanel;
  const char* settingsSection;
  const char* meterSection;
  const char* headerRow;
  // Cloned per further card, in this order.
  std::vector<StripContainerInfo> strips;
  int stripWidth;    // horizontal offset of each further card's strip
  int designHeight;  // outer height as designed
  // Widest outer width for n cards: max(widestPerCard * n + widestExtra, narrowest).
  int widestPerCard;
  int widestExtra;
  int narrowest;  // narrowest outer width
  // The meter table is indexed by meter Tag instead of component order.
  bool metersByTag = false;
  // Metering counts as running only when the last card accepted its start.
  bool runningNeedsLastStart = false;

  int WidestWidth(int cards) const { return std::max(widestPerCard * cards + widestExtra, narrowest); }
  Direction OwnDirection() const { return handleGroups.front().direction; }
  int OwnChannelsPerCard() const { return handleGroups.front().channelsPerCard; }
};

// The metering messages of a direction: start, stop and the level request.
struct MeterMessages {
  std::uint32_t start;
  std::uint32_t stop;
  std::uint32_t peaks;
};

constexpr MeterMessages MeterMessagesOf(Direction direction) {
  return direction == Direction::Record
             ? MeterMessages{CTL_IN_METER_START, CTL_IN_METER_STOP, CTL_IN_GET_PEAKS}
             : MeterMessages{CTL_OUT_METER_START, CTL_OUT_METER_STOP, CTL_OUT_GET_PEAKS};
}

}  // namespace zentra
