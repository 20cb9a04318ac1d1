#include "sim/driver_scenario.h"

#include <vector>

#include "platform/plain_text.h"

namespace zentra::sim {
namespace {

constexpr const char* kCommandNames[] = {"getstates", "reconfigurable", "getconfig", "setconfig",
                                         "setconfig_onthefly"};

// Comma separated command names; unknown ones are reported and left out.
std::vector<std::string> ReadCommandNames(const ScenarioFile& file, const std::string& section,
                                          const std::string& key) {
  std::vector<std::string> names;
  const auto raw = file.Raw(section, key);
  if (!raw) return names;
  for (std::size_t start = 0;;) {
    const std::size_t comma = raw->find(',', start);
    const std::string name = AsciiLower(TrimSpace(raw->substr(start, comma - start)));
    bool known = false;
    for (const char* command : kCommandNames) known = known || name == command;
    if (known)
      names.push_back(name);
    else
      file.ReportProblem(section, key, "\"" + name + "\" is no configuration command");
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return names;
}

}  // namespace

DriverScenario DriverScenario::Read(const ScenarioFile& file) {
  DriverScenario s;
  s.driverState = file.GetInt("Driver", "State", 1);
  s.reconfigurable = file.GetBool("Driver", "Reconfigurable", true);
  s.commandDelayMs = file.GetInt("Driver", "CommandDelayMs", 0, 0, 600000);
  s.commandNeverCompletes = file.GetBool("Driver", "CommandNeverCompletes", false);
  s.commandsNeverComplete = ReadCommandNames(file, "Driver", "CommandsNeverComplete");
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
