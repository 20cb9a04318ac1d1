// The simulated card driver as one object: the 16-bit memory it shares with
// the program, the call log and its trace file, the scenario it plays, its
// configuration store and the launcher that runs configuration commands on
// its thread.
// Further parts of the driver are added as members with accessors.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sim/arena16.h"
#include "sim/call_log.h"
#include "sim/card_scenario.h"
#include "sim/config_store.h"
#include "sim/driver_config.h"
#include "sim/driver_scenario.h"
#include "sim/driver_trace.h"
#include "sim/launcher.h"
#include "sim/scenario_file.h"
#include "sim/sim_cards.h"
#include "sim/sim_removal.h"
#include "sim/sim_wave.h"

namespace zentra::sim {

class SimDriver {
 public:
  static constexpr const char* kScenarioFileName = "ZentraSim.ini";
  static constexpr const char* kConfigFileName = "ZentraSimConfig.bin";

  // Plays the scenario read from scenarioPath (missing: two healthy cards)
  // and keeps its configuration in configPath (empty: in memory only).
  static std::unique_ptr<SimDriver> FromScenarioPath(const std::string& scenarioPath,
                                                     const std::string& configPath);
  // Plays a scenario given as text (tests).
  static std::unique_ptr<SimDriver> FromScenarioText(const std::string& text,
                                                     const std::string& configPath = {});

  // memory: where the driver finds the program's 16-bit blocks; without it,
  // in the simulated arena, which is then also the program's 16-bit memory.
  explicit SimDriver(ScenarioFile scenarioFile, const std::string& configPath = {},
                     DriverMemory* memory = nullptr);
  ~SimDriver();
  SimDriver(const SimDriver&) = delete;
  SimDriver& operator=(const SimDriver&) = delete;

  Arena16& arena() { return arena_; }
  CallLog& callLog() { return callLog_; }
  const DriverTrace& trace() const { return *trace_; }
  const ScenarioFile& scenarioFile() const { return scenarioFile_; }
  const DriverScenario& scenario() const { return scenario_; }
  ConfigStore& configStore() { return configStore_; }
  SimLauncher& launcher() { return *launcher_; }
  // The cards, their wave devices (the WaveApi of the simulated build) and
  // the source of device-removal queries.
  SimCards& cards() { return cards_; }
  SimWave& wave() { return wave_; }
  DeviceRemovalSource& removal() { return removal_; }

  // Whether the driver keeps what it was asked for tests to read (the call
  // log's records and the open history; default) or forgets it once the
  // trace file, if any, has it: the program running on the simulated driver
  // forgets, so that its memory stays flat however long it runs.
  void SetKeepRecords(bool keep) {
    callLog_.SetKeepRecords(keep);
    wave_.SetKeepHistory(keep);
  }

  // Everything wrong with the scenario, configuration and trace files, for
  // the program to show.
  std::vector<std::string> Problems() const;
  // The same as one message for the user (UTF-8), empty when all is well;
  // shown once with the caption kProblemsCaption before the program starts,
  // so that a mistyped key does not go unnoticed.
  static constexpr const char* kProblemsCaption = "Zentra Simulation";
  // more: problems of the driver's surroundings, listed after the files'.
  std::string ProblemsMessage(const std::vector<std::string>& more = {}) const;

  // The driver goes away (program end): its thread stops, nothing more is
  // written into the shared memory.
  void Shutdown();

 private:
  Arena16 arena_;
  DriverMemory& memory_;
  CallLog callLog_;
  ScenarioFile scenarioFile_;
  DriverScenario scenario_;
  ConfigStore configStore_;
  DriverConfigEntry configEntry_;
  CardScenario cardScenario_;
  SimCards cards_;
  SimWave wave_;
  DeviceRemovalSource removal_;
  std::unique_ptr<DriverTrace> trace_;
  std::unique_ptr<SimLauncher> launcher_;  // last: its thread stops first
};

}  // namespace zentra::sim
