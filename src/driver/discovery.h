// Card and device discovery: finds each card's twelve wave devices among all
// wave devices of the system, fills the device tables, counts the cards and
// asks the driver for each card's device node number.
#pragma once

#include <string_view>

#include "platform/platform.h"

namespace zentra {

// The card a device name belongs to, from the first three characters of its
// last word: "I" card 0, "II" card 1, "III" card 2, "IV" card 3, anything
// else card 0.
int CardIndexFromName(std::string_view name);

// The card and pair index of an ADAT device from the channel pair its name
// ends in ("... 9-10" is card 1, pair 0). Raises ConversionError when the
// name has no "-" or no integer after it. A pair number below 2 names no
// channel of any card: the result is then -1 (and pairIndex -1).
int DevNameChannelPairToCardId(std::string_view name, int channelsPerCard, int& pairIndex);

// Fills the device tables (device_tables.h). Errors are not caught here: a
// ConversionError from an ADAT device name or the SilentAbort of a control
// open ends the discovery where it occurs.
void Discover(const Platform& platform);

}  // namespace zentra
