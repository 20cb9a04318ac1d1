// When the system asks whether one of the cards may be removed, the program
// tells the driver through the configuration record and ends itself.
#pragma once

#include <cstdint>

namespace zentra {

// Compares the device node with the cards' device nodes; on a match runs
// "getconfig", writes -1 into the record's first field and runs "setconfig",
// closes the control window (the end of the program destroys it) and
// raises the stop flag. True
// when the node was a card's.
bool HandleCardRemovalQuery(std::uint32_t devnode);

}  // namespace zentra
