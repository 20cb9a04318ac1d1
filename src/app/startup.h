// The program's entry and spine: asks the driver whether it is ready,
// reports what is wrong, creates the three permanent windows, puts the icon
// into the notification area and runs the message loop until the stop flag
// is raised.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/platform.h"

namespace zentra {

// The five fields of "getstates": DriverState, then the CardState of cards 1..4.
struct DriverStatesRecord {
  std::int32_t driverState;
  std::int32_t cardState[4];
};
static_assert(sizeof(DriverStatesRecord) == 20, "DriverStatesRecord is 20 bytes");

// Reports every error the states carry, in the order start-up shows them.
void ReportDriverStates(const Platform& platform, const DriverStatesRecord& states);

// The record of the notification-area icon, filled once and used to add and
// to delete it.
NotifyIconRecord MakeTrayIconRecord(WinHandle window, WinHandle icon);

// Runs the whole program on the given services (the widget backend must be
// set on the application). onRunning, when given, runs once the windows and
// the tray icon exist, right before the main loop, with the main window's
// handle. Returns the process exit code.
int RunProgram(const Platform& platform,
               const std::function<void(WinHandle mainWindow)>& onRunning = {});

}  // namespace zentra
