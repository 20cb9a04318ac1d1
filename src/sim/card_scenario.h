// What each simulated card does, from the sections [Card1] .. [Card4] of the
// scenario file (keys in docs/scenario.md), plus the wave-layer section
// [Wave] and the device-removal keys of [Driver]. Malformed values are
// reported by the scenario file and replaced by their defaults.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/scenario_file.h"

namespace zentra::sim {

constexpr int kSimMaxCards = 4;
constexpr int kSimPairsPerCard = 6;

// One flag per pair index (0 analog, 1 digital, 2..5 ADAT pairs) and direction.
struct DeviceSet {
  std::array<bool, kSimPairsPerCard> record{};
  std::array<bool, kSimPairsPerCard> playback{};
  bool Has(bool isRecord, int pair) const { return isRecord ? record[pair] : playback[pair]; }
};

// Changes of a value at set times: (milliseconds since the start of the
// simulation, value from then on), sorted by time.
using TimedSteps = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// The value in force at now: that of the latest step due, else base.
std::uint32_t ValueAt(const TimedSteps& steps, std::uint64_t now, std::uint32_t base);
// Forgets the steps due at now: a change made now overrides them.
void DropDueSteps(TimedSteps& steps, std::uint64_t now);

// A control message that a device answers with an error.
struct RefusedMessage {
  DeviceSet devices;
  std::uint32_t message = 0;
};

struct CardSetup {
  // Measured digital input rate in Hz, 0 = no lock, and later changes of it.
  std::uint32_t inputRate = 44100;
  TimedSteps inputRateSteps;
  // Source changes that another program makes on the analog and the digital
  // output (source code from then on; the ADAT channels stay).
  std::array<TimedSteps, 2> outputSourceSteps;
  // Programs playing on the analog output (the busy count's base).
  int otherAppPlaying = 0;
  // ADAT operation in force elsewhere (ADAT sync, another program on the
  // ADAT devices): digital monitoring sources are refused.
  bool adatInUse = false;
  // Digital operation in force elsewhere: ADAT monitoring is refused.
  bool digitalInUse = false;
  // Every source change is refused.
  bool refuseSourceChange = false;
  // The request for the measured input rate is refused (its block is left
  // as it was).
  bool refuseInputRate = false;
  DeviceSet missing;            // devices the system does not list
  DeviceSet refuseOpen;         // devices whose control open fails
  DeviceSet refuseMeterStart;   // devices that refuse to start metering
  DeviceSet refusePeaks;        // devices that refuse the level request
  DeviceSet refuseClose;        // devices whose control close fails (the handle stays open)
  // Messages that a device answers with an error, leaving its block as it
  // was (RefuseMessages=DigitalIn:0x4034,DigitalOut:0x400D).
  std::vector<RefusedMessage> refuseMessages;
  bool RefusesMessage(bool isRecord, int pair, std::uint32_t message) const {
    for (const RefusedMessage& r : refuseMessages)
      if (r.message == message && r.devices.Has(isRecord, pair)) return true;
    return false;
  }
  // Names replacing the generated ones (unset: generated).
  std::array<std::optional<std::string>, kSimPairsPerCard> recordNames;
  std::array<std::optional<std::string>, kSimPairsPerCard> playbackNames;
  // Device node number; 0 = the default 0x1000 + card number (1..4).
  std::uint32_t devnode = 0;
  // Initial driver state.
  std::array<std::uint8_t, 4> analogInputState = {0, 1, 0, 0};
  std::array<std::uint8_t, 4> digitalInputState = {1, 1, 0, 0};
  std::array<std::uint8_t, 3> analogOutputSource = {0, 0, 1};
  std::array<std::uint8_t, 3> digitalOutputSource = {0, 0, 0};
  std::uint32_t channelStatus = 0x20;
  std::uint32_t volume = 0xC000C000;  // every playback device
  std::array<std::uint16_t, 2> mute = {0, 0};
};

struct CardScenario {
  std::array<CardSetup, kSimMaxCards> cards;
  // [Wave] ForeignDevices: devices of other makers and products among the
  // card devices.
  bool foreignDevices = true;
  // [Driver] RemoveCard (1..4, 0 = never) and RemoveCardAfterMs.
  int removeCard = 0;
  std::uint32_t removeCardAfterMs = 0;

  static CardScenario Read(const ScenarioFile& file);
};

// "AnalogIn", "DigitalOut", "AdatIn3", or a pair index 0..5 (both
// directions). Returns false for anything else.
bool ParseDeviceName(const std::string& text, DeviceSet& set);

}  // namespace zentra::sim
