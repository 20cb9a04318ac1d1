// What the simulated driver as a whole does, from the [Driver] and [Cards]
// sections of the scenario file. Without a file: a ready driver with two
// healthy cards that answers every command at once.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/scenario_file.h"

namespace zentra::sim {

struct DriverScenario {
  static constexpr int kMaxCards = 4;

  // The overall state "getstates" reports: 1 ready, else an error id.
  std::int32_t driverState = 1;
  // The answer of "reconfigurable".
  bool reconfigurable = true;
  // The driver thread sleeps this long before it runs a command.
  std::int32_t commandDelayMs = 0;
  // The driver writes the record but never the completion word.
  bool commandNeverCompletes = false;
  // The same for these commands only ("setconfig", "getconfig", ...).
  std::vector<std::string> commandsNeverComplete;
  // Launching "rundll.exe" fails (file not found).
  bool launchFails = false;
  // The 16-bit allocation with this number (1 = the run's first) is
  // refused; 0 = none.
  int failAllocation = 0;
  // The file every call is traced into (a relative TraceFile taken from the
  // scenario file's folder); empty = no trace.
  std::string traceFile;
  // Number of cards present (0 to 4).
  int cardCount = 2;
  // The state of cards 1..4 as "getstates" reports it.
  std::array<std::int32_t, kMaxCards> cardStates = {1, 1, 0, 0};

  // Reads the two sections; malformed values are reported by the file and
  // replaced by their defaults.
  static DriverScenario Read(const ScenarioFile& file);
};

}  // namespace zentra::sim
