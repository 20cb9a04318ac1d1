// The simulated cards behind the wave devices: each card's driver state and
// its answers to every control message on a control handle. The driver reads
// and writes the program's blocks through the driver's view of the 16-bit memory; a block address
// that is not inside a live block fails the message. Peak values are moving,
// deterministic test signals (slow sines per card and channel, 0..32767) that
// follow the routing: an output metered while its source is an input shows
// that input's signal. Time comes from a source tests can set.
// Thread-safe: messages may arrive from the program's thread while a test or
// the removal thread inspects the state.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

#include "platform/win_defs.h"
#include "sim/driver_memory.h"
#include "sim/call_log.h"
#include "sim/card_scenario.h"

namespace zentra::sim {

// A card's wave device: card index, pair index (0 analog, 1 digital, 2..5
// ADAT pairs) and direction.
struct SimDevice {
  int card = 0;
  int pair = 0;
  bool record = false;
  int Slot() const { return card * kSimPairsPerCard + pair; }
};

// A peak pair as the driver reports it.
struct PeakPair {
  std::uint32_t left = 0;
  std::uint32_t right = 0;
};

class SimCards {
 public:
  // Milliseconds since an arbitrary start.
  using TimeSource = std::function<std::uint64_t()>;

  // Error a refused source change answers: the device is in use, or the
  // requested operation conflicts with one in force.
  static constexpr std::uint32_t kRefusedBusy = 4;      // MMSYSERR_ALLOCATED
  static constexpr std::uint32_t kRefusedConflict = 1;  // MMSYSERR_ERROR

  SimCards(DriverMemory& memory, const CardScenario& scenario, int cardCount);

  int CardCount() const { return cardCount_; }
  const CardScenario& Scenario() const { return scenario_; }
  const CardSetup& Setup(int card) const { return scenario_.cards[card]; }

  // The time source of the signals and rate changes; default: the steady
  // clock since construction.
  void SetTimeSource(TimeSource source);
  std::uint64_t NowMs() const;

  // The wave layer asks whether a control open of the device is refused,
  // and tells when a handle closes (its metering ends with it).
  bool RefusesOpen(const SimDevice& device) const;
  bool RefusesClose(const SimDevice& device) const;
  void HandleClosed(WinHandle handle);

  // One control message on a control handle of the device. Fills the call
  // record's block contents (before/after) for messages that carry an
  // address. Returns 0 when accepted, MMSYSERR_NOTSUPPORTED for a message the
  // device does not answer, MMSYSERR_INVALPARAM for a bad block address or
  // value, a refusal code for a refused source change.
  std::uint32_t HandleMessage(WinHandle handle, const SimDevice& device, std::uint32_t message,
                              std::uintptr_t dw1, std::uintptr_t dw2, CallRecord& record);

  // Inspection (tests, demo).
  PeakPair SignalOf(const SimDevice& device) const;  // what a peak request reports while metering
  std::uint32_t MeasuredInputRate(int card) const;
  std::array<std::uint8_t, 4> InputState(int card, int pair) const;
  std::array<std::uint8_t, 4> OutputSource(int card, int pair) const;  // byte 3: busy count
  std::uint32_t ChannelStatus(int card) const;
  std::uint32_t Volume(int card, int pair) const;
  std::array<std::uint16_t, 2> Mute(int card) const;
  std::uint32_t Devnode(int card) const;
  bool IsMetering(const SimDevice& device) const;
  int MeteringHandleCount() const;

  // Run-time changes (tests and the demo's scripted events).
  void SetOtherAppPlaying(int card, int count);
  void SetInputRate(int card, std::uint32_t rate);
  void SetOutputSourceByOtherProgram(int card, int pair, std::uint8_t source);
  // The scenario's RefuseMessages for a card, replaced while the driver
  // runs (a device that stops or starts refusing).
  void SetRefusedMessages(int card, std::vector<RefusedMessage> refused);

 private:
  struct CardState {
    std::array<std::array<std::uint8_t, 4>, 2> inputState{};     // analog, digital input
    std::array<std::array<std::uint8_t, 3>, 2> outputSource{};   // analog, digital output
    std::uint32_t channelStatus = 0;
    std::array<std::uint32_t, kSimPairsPerCard> volume{};        // per playback device
    std::array<std::uint16_t, 2> mute{};
    std::uint32_t inputRate = 0;
    TimedSteps rateSteps;
    std::array<TimedSteps, 2> sourceSteps;  // by another program, analog and digital output
    CardSetup refusals;                     // refuseMessages in force
  };

  // All called with mutex_ held.
  std::uint32_t Dispatch(WinHandle handle, const SimDevice& device, std::uint32_t message,
                         std::uintptr_t dw1, CallRecord& record);
  std::uint32_t ReadBlock(std::uint32_t address, std::uint32_t size, CallRecord& record);
  std::uint32_t WriteBlock(std::uint32_t address, const std::vector<std::uint8_t>& bytes,
                           CallRecord& record);
  std::uint32_t SetOutputSource(const SimDevice& device, std::uint32_t value, std::uint64_t now);
  // The source code of an output in force at now (its own, or that of a
  // timed change by another program), and the whole OutputSourceBlock.
  std::uint8_t SourceAt(int card, int pair, std::uint64_t now) const;
  std::array<std::uint8_t, 4> SourceBlockAt(int card, int pair, std::uint64_t now) const;
  std::uint8_t BusyCount(int card) const;
  std::uint32_t RateAt(int card, std::uint64_t now) const;
  PeakPair SignalAt(const SimDevice& device, std::uint64_t now) const;
  PeakPair InputSignal(int card, int pair, std::uint64_t now) const;
  PeakPair OutputSignal(int card, int pair, std::uint64_t now, int depth) const;
  PeakPair AdatInputChannels(int card, int leftChannel, int rightChannel, std::uint64_t now) const;
  bool Metering(const SimDevice& device) const;

  DriverMemory& memory_;
  CardScenario scenario_;
  int cardCount_;
  TimeSource time_;
  mutable std::mutex mutex_;
  std::array<CardState, kSimMaxCards> cards_;
  // Handles that started metering, with their device.
  std::map<WinHandle, SimDevice> metering_;
};

// The test signal of one channel at a time: a slow sine in 0..32767 whose
// period and phase depend on the key.
std::uint32_t TestSignal(std::uint32_t key, std::uint64_t nowMs);

}  // namespace zentra::sim
