// Mixer snapshots and the driver: every card's state read with the messages
// the mixer windows read with, and set with the messages they write with,
// on control handles of the snapshot's own, opened for the exchange.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "snapshot/mixer_snapshot.h"

namespace zentra {

struct DriverStateRead {
  std::optional<MixerSnapshot> snapshot;  // set only when every read succeeded
  std::string problem;                    // the card and what could not be read
};

// Reads the state of the first `cards` cards. Sends nothing that changes
// the driver's state; stops at the first failure.
DriverStateRead ReadMixerState(const Platform& platform, int cards);

// Sets the state of each card present (at most `cards`) from the snapshot,
// every value, also one the driver holds already. A value the driver
// refuses does not stop the others. Returns what was not applied, one entry
// per value or card ("Karte 2: Analog Output Quelle").
std::vector<std::string> ApplyMixerSnapshot(const Platform& platform, const MixerSnapshot& snapshot,
                                            int cards);

}  // namespace zentra
