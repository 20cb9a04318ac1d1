#include "sim/driver_scenario.h"

#include <vector>

namespace zentra::sim {

DriverScenario DriverScenario::Read(const ScenarioFile& file) {
  DriverScenario s;
  s.driverState = file.GetInt("Driver", "State", 1);
  s.reconfigurable = file.GetBool("Driver", "Reconfigurable", true);
  s.commandDelayMs = file.GetInt("Driver", "CommandDelayMs", 0, 0, 600000);
  s.commandNeverCompletes = file.GetBool("Driver", "CommandNeverCompletes", false);
  s.launchFails = file.GetBool("Driver", "LaunchFails", false);
  s.failAllocation = file.GetInt("Driver", "FailAllocation", 0, 0, INT32_MAX);
  s.traceFile = file.PathBeside(file.GetString("Driver", "TraceFile", ""));
  s.cardCount = file.GetInt("Cards", "Count", 2, 0, kMaxCards);

  // Card states not given: 1 for a present card, 0 after the last one.
  for (int i = 0; i < kMaxCards; ++i) s.cardStates[i] = i < s.cardCount ? 1 : 0;
  const std::vector<std::int32_t> given =
      file.GetIntList("Cards", "States", {}, INT32_MIN, INT32_MAX, kMaxCards);
  for (std::size_t i = 0; i < given.size(); ++i) s.cardStates[i] = given[i];
  return s;
}

}  // namespace zentra::sim
