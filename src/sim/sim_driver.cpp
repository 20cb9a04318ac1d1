#include "sim/sim_driver.h"

namespace zentra::sim {

std::unique_ptr<SimDriver> SimDriver::FromScenarioPath(const std::string& scenarioPath,
                                                       const std::string& configPath) {
  return std::make_unique<SimDriver>(ScenarioFile::FromPath(scenarioPath), configPath);
}

std::unique_ptr<SimDriver> SimDriver::FromScenarioText(const std::string& text,
                                                       const std::string& configPath) {
  return std::make_unique<SimDriver>(ScenarioFile::FromText(text), configPath);
}

SimDriver::SimDriver(ScenarioFile scenarioFile, const std::string& configPath,
                     DriverMemory* memory)
    : memory_(memory != nullptr ? *memory : arena_),
      scenarioFile_(std::move(scenarioFile)),
      scenario_(DriverScenario::Read(scenarioFile_)),
      configStore_(configPath),
      configEntry_(memory_, callLog_, scenario_, configStore_),
      cardScenario_(CardScenario::Read(scenarioFile_)),
      cards_(memory_, cardScenario_, scenario_.cardCount),
      wave_(cards_, callLog_),
      removal_(cards_),
      trace_(std::make_unique<DriverTrace>(scenario_.traceFile, [this] { return cards_.NowMs(); })),
      launcher_(std::make_unique<SimLauncher>(configEntry_, scenario_)) {
  // Every reader has asked for its keys: what is left is unknown.
  scenarioFile_.ReportUnreadKeys();
  arena_.FailAllocation(scenario_.failAllocation);
  if (trace_->Active()) {
    callLog_.SetObserver([trace = trace_.get()](const CallRecord& record) { trace->Write(record); });
  }
}

SimDriver::~SimDriver() {
  Shutdown();
  callLog_.SetObserver(nullptr);  // the trace goes before the log
}

void SimDriver::Shutdown() {
  removal_.Cancel();
  launcher_->Stop();
}

std::vector<std::string> SimDriver::Problems() const {
  std::vector<std::string> all = scenarioFile_.Problems();
  for (auto& p : configStore_.Problems()) all.push_back(std::move(p));
  for (auto& p : trace_->Problems()) all.push_back(std::move(p));
  return all;
}

std::string SimDriver::ProblemsMessage(const std::vector<std::string>& more) const {
  auto problems = Problems();
  problems.insert(problems.end(), more.begin(), more.end());
  if (problems.empty()) return {};
  std::string text = "Die Simulationsdatei enthält Fehler; für diese Werte gelten die Vorgaben:";
  for (const auto& p : problems) text += "\r\n" + p;
  return text;
}

}  // namespace zentra::sim
