// Simulated cards and their wave layer on a 16-bit arena, with a virtual
// clock, as the platform the driver access layer runs on in tests.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim/arena16.h"
#include "sim/call_log.h"
#include "sim/card_scenario.h"
#include "sim/scenario_file.h"
#include "sim/sim_cards.h"
#include "sim/sim_wave.h"

namespace zentra::sim {

struct SimCardRig {
  explicit SimCardRig(const std::string& scenarioText = "", int cardCount = 2)
      : file(ScenarioFile::FromText(scenarioText, "test.ini")),
        scenario(CardScenario::Read(file)),
        cards(arena, scenario, cardCount),
        wave(cards, log) {
    cards.SetTimeSource([this] { return now; });
    platform.wave = &wave;
    platform.wow16 = &arena;
  }

  std::vector<CallRecord> Records(CallRecord::Kind kind) const {
    std::vector<CallRecord> out;
    for (const CallRecord& r : log.Records()) {
      if (r.kind == kind) out.push_back(r);
    }
    return out;
  }

  // The device id of a card device in the system's list, -1 when absent.
  int DeviceId(int card, int pair, bool record) const {
    const auto& list = record ? wave.RecordDevices() : wave.PlaybackDevices();
    for (std::size_t id = 0; id < list.size(); ++id) {
      if (list[id].card == card && list[id].pair == pair) return static_cast<int>(id);
    }
    return -1;
  }

  std::uint64_t now = 0;
  Arena16 arena;
  CallLog log;
  ScenarioFile file;
  CardScenario scenario;
  SimCards cards;
  SimWave wave;
  Platform platform;
};

}  // namespace zentra::sim
