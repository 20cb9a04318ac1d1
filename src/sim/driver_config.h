// The simulated driver's configuration entry point, DriverConfig. It gets
// the parameter text after the comma of the "rundll.exe" command line
// ("getstates $XXXXXXXX #YYYYYYYY"), finds both blocks in the 16-bit memory,
// performs the command on the command block, and only then writes a
// non-zero completion word. Every request is logged, also the refused ones.
#pragma once

#include <cstdint>
#include <string>

#include "sim/driver_memory.h"
#include "sim/call_log.h"
#include "sim/config_store.h"
#include "sim/driver_scenario.h"

namespace zentra::sim {

// The records the commands exchange, by size.
constexpr std::uint32_t kDriverStatesRecordSize = 20;
constexpr std::uint32_t kReconfigurableAnswerSize = 4;
// The value written into the completion word.
constexpr std::uint32_t kCommandComplete = 1;

// The record size a command works on; 0 for an unknown command.
std::uint32_t ConfigRecordSize(const std::string& name);

struct ParsedConfigCommand {
  std::string name;
  std::uint32_t recordAddress = 0;      // the "$" field
  std::uint32_t completionAddress = 0;  // the "#" field
};

// Parses exactly "<name> $XXXXXXXX #YYYYYYYY" (one blank between the fields,
// eight upper-case hex digits each, nothing after). False otherwise.
bool ParseConfigCommandText(const std::string& text, ParsedConfigCommand* out);

class DriverConfigEntry {
 public:
  DriverConfigEntry(DriverMemory& memory, CallLog& log, const DriverScenario& scenario,
                    ConfigStore& store);

  // Runs one command. writeCompletion false leaves the completion word alone
  // (a driver that never finishes). Returns true when the command was
  // performed (known command, both addresses resolved).
  bool Run(const std::string& parameterText, bool writeCompletion = true);

 private:
  DriverMemory& memory_;
  CallLog& log_;
  const DriverScenario& scenario_;
  ConfigStore& store_;
};

}  // namespace zentra::sim
