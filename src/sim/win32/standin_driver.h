// The simulated driver as the stand-in modules offer it to the unchanged
// product: one driver per process of the program, made on first use, that
// reads the scenario, the configuration file and the trace file beside the
// program's executable, reaches the program's blocks in the system's 16-bit
// memory, and answers the configuration commands that the stand-in
// "Zentra.DRV" relays from the launcher's process. It lives until the
// process ends (its threads end with it).
#pragma once

#include "sim/sim_driver.h"

namespace zentra::sim {

// The driver of this process; made on the first call from any thread.
SimDriver& StandInDriver();

// Starts the thread that makes the driver and keeps its relay window; the
// stand-in wave layer calls it when it is loaded, so that the driver answers
// the program's first configuration command, which comes before any wave
// call.
void StartStandInDriverThread();

}  // namespace zentra::sim
