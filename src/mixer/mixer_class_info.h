// The constants that set one mixer window class apart from the others.
#pragma once

#include <algorithm>
#include <cstdint>

#include "driver/control_messages.h"
#include "driver/device_tables.h"

namespace zentra {

struct MixerClassInfo {
  const char* caption;   // window caption, also the INI section
  int deviceKind;        // kKindAnalog, kKindDigital or kKindAdat
  Direction direction;   // Record for the input windows, Playback for the output windows
  int handlesPerCard;    // control handles of the window's own kind per card (2 or 8)
  int metersPerCard;
  int stripWidth;        // horizontal offset of each further card's strip
  int designHeight;      // outer height as designed
  // Widest outer width for n cards: max(widestPerCard * n + widestExtra, narrowest).
  int widestPerCard;
  int widestExtra;
  int narrowest;         // narrowest outer width

  int WidestWidth(int cards) const { return std::max(widestPerCard * cards + widestExtra, narrowest); }
  // Start, stop and level request of the window's direction.
  bool IsInput() const { return direction == Direction::Record; }
  std::uint32_t MeterStartMessage() const { return IsInput() ? CTL_IN_METER_START : CTL_OUT_METER_START; }
  std::uint32_t MeterStopMessage() const { return IsInput() ? CTL_IN_METER_STOP : CTL_OUT_METER_STOP; }
  std::uint32_t PeaksMessage() const { return IsInput() ? CTL_IN_GET_PEAKS : CTL_OUT_GET_PEAKS; }
};

}  // namespace zentra
