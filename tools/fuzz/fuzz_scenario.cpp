// Fuzzes the scenario file reader of the simulated driver (ZentraSim.ini)
// and what the program does with the driver it describes: the driver is
// built from the text, asked for its states and its configuration, and the
// program's device discovery runs over the devices it offers. Problems in
// the text are reported by the reader; a crash, undefined behaviour, a hang
// or memory left in the 16-bit arena are faults.
// Lines naming files (the trace and configuration files) or delays are
// dropped from the input: the fuzzer must not write files where its input
// says, and the delays are real time.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/startup.h"
#include "driver/config_command.h"
#include "driver/discovery.h"
#include "driver/driver_errors.h"
#include "sim/scenario_file.h"
#include "support/program_rig.h"

namespace {

std::string Harmless(const std::string& text) {
  std::istringstream in(text);
  std::string line, out;
  while (std::getline(in, line)) {
    std::string lower = line;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.find("file") != std::string::npos || lower.find("delay") != std::string::npos)
      continue;
    out += line;
    out += '\n';
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = Harmless(std::string(reinterpret_cast<const char*>(data), size));

  const zentra::sim::ScenarioFile file = zentra::sim::ScenarioFile::FromText(text);
  (void)file.Problems();
  (void)file.GetIntList("Cards", "States", {1, 1, 0, 0});

  zentra::SetConfigCommandTimeout(std::chrono::milliseconds(50));
  {
    zentra::testing::ProgramRig rig(text);
    // The program polls for a command's completion in 1 ms sleeps. They pass
    // on a virtual clock here, each once the driver thread has run what it
    // was given (the input's delays are dropped), so a command completes as
    // it would on a fast driver and the fuzzer does not wait in real time.
    rig.kernel().SetVirtualSleep(true);
    rig.kernel().SetSleepHook([&rig](std::uint32_t) {
      rig.driver().launcher().WaitUntilIdle(std::chrono::milliseconds(100));
    });
    (void)rig.driver().Problems();
    zentra::ConfigurationGate() = 1;
    zentra::DriverStatesRecord states{-18, {0, 0, 0, 0}};
    zentra::ConfigCommand(rig.platform(), 1, zentra::kCmdGetStates, &states, sizeof states);
    std::uint8_t record[zentra::kDriverConfigRecordBytes] = {};
    zentra::ConfigCommand(rig.platform(), 1, zentra::kCmdGetConfig, record, sizeof record);
    try {
      zentra::Discover(rig.platform());
    } catch (const std::exception&) {
      // A device name the discovery cannot read is reported to the user.
    }
    zentra::ReleaseAbandonedConfigBlocks();
    rig.driver().Shutdown();
    if (!rig.driver().arena().LiveBlocks().empty()) std::abort();
  }
  return 0;
}
