// How a configuration command reaches the stand-in driver. The system's
// launcher runs the stand-in "Zentra.DRV" in a process of its own, where the
// program's 16:16 addresses mean nothing; it hands the command text to a
// window that the stand-in wave layer keeps on a thread of its own inside
// the program's process (the program's own thread is blocked in its wait),
// which runs the command on the simulated driver there and answers once the
// driver has finished with it.
#pragma once

#include <functional>
#include <string>

namespace zentra::sim {

constexpr const char* kDriverRelayWindowClass = "ZentraSimDriverRelay";

// The launcher's side: hands the text ("getstates $XXXXXXXX #YYYYYYYY") to
// the relay window and returns when the command has run. False when no
// relay window appeared within waitMs (no simulated driver is running).
bool RelayConfigCommand(const std::string& text, unsigned waitMs);

// The driver's side: creates the relay window on the calling thread, which
// must then run a message loop; run is called with each command's text on
// that thread. False when the window could not be made.
bool CreateDriverRelayWindow(std::function<void(const std::string&)> run);

}  // namespace zentra::sim
