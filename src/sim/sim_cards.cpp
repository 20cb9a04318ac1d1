#include "sim/sim_cards.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace zentra::sim {

namespace {

// Message numbers as the driver knows them.
constexpr std::uint32_t kGetVolume = 0x0010;
constexpr std::uint32_t kSetVolume = 0x0011;
constexpr std::uint32_t kGetMute = 0x4001;
constexpr std::uint32_t kSetMute = 0x4002;
constexpr std::uint32_t kOutMeterStart = 0x4007;
constexpr std::uint32_t kOutMeterStop = 0x4008;
constexpr std::uint32_t kOutGetPeaks = 0x4009;
constexpr std::uint32_t kGetOutputSource = 0x400A;
constexpr std::uint32_t kSetOutputSource = 0x400B;
constexpr std::uint32_t kGetChannelStatus = 0x400D;
constexpr std::uint32_t kSetChannelStatus = 0x400E;
constexpr std::uint32_t kGetDevnode = 0x4011;
constexpr std::uint32_t kGetInputState = 0x4034;
constexpr std::uint32_t kSetInputState = 0x4035;
constexpr std::uint32_t kInMeterStart = 0x4038;
constexpr std::uint32_t kInMeterStop = 0x4039;
constexpr std::uint32_t kInGetPeaks = 0x403A;
constexpr std::uint32_t kGetInputRate = 0x403F;

constexpr int kAnalog = 0;
constexpr int kDigital = 1;

// Output source codes.
constexpr std::uint8_t kProgram = 0;
constexpr std::uint8_t kOtherOutput = 1;
constexpr std::uint8_t kAnalogInput = 2;
constexpr std::uint8_t kDigitalInput = 3;
constexpr std::uint8_t kAdatInput = 4;

// Signal points of a card that give each test signal its own shape.
constexpr std::uint32_t kPointAnalogIn = 0;
constexpr std::uint32_t kPointDigitalIn = 1;
constexpr std::uint32_t kPointAdatIn = 2;   // eight channels
constexpr std::uint32_t kPointProgram = 3;  // + playback pair, two channels each

std::uint32_t SignalKey(int card, std::uint32_t point, int channel) {
  return static_cast<std::uint32_t>(card) * 64 + point * 8 + static_cast<std::uint32_t>(channel);
}

std::vector<std::uint8_t> Bytes32(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

}  // namespace

std::uint32_t TestSignal(std::uint32_t key, std::uint64_t nowMs) {
  constexpr double kPi = 3.14159265358979323846;
  const std::uint64_t period = 1500 + (key * 37u % 11u) * 230u;
  const double phase = static_cast<double>(key % 17u) * 0.37;
  const double angle =
      2.0 * kPi * static_cast<double>(nowMs % period) / static_cast<double>(period) + phase;
  const double value = 16383.5 * (1.0 + std::sin(angle));
  if (value <= 0.0) return 0;
  if (value >= 32767.0) return 32767;
  return static_cast<std::uint32_t>(std::lround(value));
}

SimCards::SimCards(DriverMemory& memory, const CardScenario& scenario, int cardCount)
    : memory_(memory), scenario_(scenario), cardCount_(std::max(0, std::min(cardCount, kSimMaxCards))) {
  const auto start = std::chrono::steady_clock::now();
  time_ = [start] {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - start)
                                          .count());
  };
  for (int card = 0; card < kSimMaxCards; ++card) {
    CardSetup& setup = scenario_.cards[card];
    if (setup.devnode == 0) setup.devnode = 0x1000 + static_cast<std::uint32_t>(card) + 1;
    CardState& state = cards_[card];
    state.inputState[kAnalog] = setup.analogInputState;
    state.inputState[kDigital] = setup.digitalInputState;
    state.outputSource[kAnalog] = setup.analogOutputSource;
    state.outputSource[kDigital] = setup.digitalOutputSource;
    state.channelStatus = setup.channelStatus;
    state.volume.fill(setup.volume);
    state.mute = setup.mute;
    state.inputRate = setup.inputRate;
    state.rateSteps = setup.inputRateSteps;
    state.sourceSteps = setup.outputSourceSteps;
    state.refusals.refuseMessages = setup.refuseMessages;
  }
}

void SimCards::SetTimeSource(TimeSource source) {
  std::lock_guard<std::mutex> lock(mutex_);
  time_ = std::move(source);
}

std::uint64_t SimCards::NowMs() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return time_();
}

bool SimCards::RefusesOpen(const SimDevice& device) const {
  return scenario_.cards[device.card].refuseOpen.Has(device.record, device.pair);
}

void SimCards::SetRefusedMessages(int card, std::vector<RefusedMessage> refused) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (card >= 0 && card < kSimMaxCards) cards_[card].refusals.refuseMessages = std::move(refused);
}

bool SimCards::RefusesClose(const SimDevice& device) const {
  return scenario_.cards[device.card].refuseClose.Has(device.record, device.pair);
}

void SimCards::HandleClosed(WinHandle handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  metering_.erase(handle);
}

std::uint32_t SimCards::HandleMessage(WinHandle handle, const SimDevice& device,
                                      std::uint32_t message, std::uintptr_t dw1,
                                      std::uintptr_t dw2, CallRecord& record) {
  std::lock_guard<std::mutex> lock(mutex_);
  return Dispatch(handle, device, message, dw1, record);
}

std::uint32_t SimCards::ReadBlock(std::uint32_t address, std::uint32_t size, CallRecord& record) {
  std::vector<std::uint8_t> bytes(size);
  if (!memory_.Read(address, bytes.data(), size)) return MMSYSERR_INVALPARAM;
  record.blockBefore = bytes;
  record.blockAfter = bytes;
  return MMSYSERR_NOERROR;
}

std::uint32_t SimCards::WriteBlock(std::uint32_t address, const std::vector<std::uint8_t>& bytes,
                                   CallRecord& record) {
  const auto size = static_cast<std::uint32_t>(bytes.size());
  if (ReadBlock(address, size, record) != MMSYSERR_NOERROR) return MMSYSERR_INVALPARAM;
  if (!memory_.Write(address, bytes.data(), size)) return MMSYSERR_INVALPARAM;
  record.blockAfter = bytes;
  return MMSYSERR_NOERROR;
}

std::uint32_t SimCards::Dispatch(WinHandle handle, const SimDevice& device, std::uint32_t message,
                                 std::uintptr_t dw1, CallRecord& record) {
  CardState& card = cards_[device.card];
  const bool play = !device.record;
  const std::uint64_t now = time_();
  const bool addressFits = dw1 <= 0xFFFFFFFFu;
  const auto address = static_cast<std::uint32_t>(dw1);
  const auto value = static_cast<std::uint32_t>(dw1);
  // A message the scenario refuses: an error, and the block stays as it was.
  if (card.refusals.RefusesMessage(device.record, device.pair, message)) return MMSYSERR_ERROR;

  auto peaks = [&]() -> std::uint32_t {
    if (!addressFits) return MMSYSERR_INVALPARAM;
    if (scenario_.cards[device.card].refusePeaks.Has(device.record, device.pair)) return MMSYSERR_ERROR;
    const PeakPair p = Metering(device) ? SignalAt(device, now) : PeakPair{};
    std::vector<std::uint8_t> bytes = Bytes32(p.left);
    const std::vector<std::uint8_t> right = Bytes32(p.right);
    bytes.insert(bytes.end(), right.begin(), right.end());
    return WriteBlock(address, bytes, record);
  };
  auto startMetering = [&]() -> std::uint32_t {
    if (scenario_.cards[device.card].refuseMeterStart.Has(device.record, device.pair)) {
      return MMSYSERR_ERROR;
    }
    metering_[handle] = device;
    return MMSYSERR_NOERROR;
  };
  auto stopMetering = [&]() -> std::uint32_t {
    metering_.erase(handle);
    return MMSYSERR_NOERROR;
  };
  auto write32 = [&](std::uint32_t word) -> std::uint32_t {
    return addressFits ? WriteBlock(address, Bytes32(word), record) : MMSYSERR_INVALPARAM;
  };

  switch (message) {
    case kGetVolume:
      if (play) return write32(card.volume[device.pair]);
      break;
    case kSetVolume:
      if (play) {
        card.volume[device.pair] = value;
        return MMSYSERR_NOERROR;
      }
      break;
    case kGetMute:
      if (play && device.pair == kAnalog) {
        return write32(static_cast<std::uint32_t>(card.mute[0]) |
                       static_cast<std::uint32_t>(card.mute[1]) << 16);
      }
      break;
    case kSetMute:
      if (play && device.pair == kAnalog) {
        card.mute = {static_cast<std::uint16_t>(value), static_cast<std::uint16_t>(value >> 16)};
        return MMSYSERR_NOERROR;
      }
      break;
    case kOutMeterStart:
      if (play) return startMetering();
      break;
    case kOutMeterStop:
      if (play) return stopMetering();
      break;
    case kOutGetPeaks:
      if (play) return peaks();
      break;
    case kGetOutputSource:
      if (play && device.pair <= kDigital) {
        const auto block = SourceBlockAt(device.card, device.pair, now);
        return addressFits ? WriteBlock(address, {block.begin(), block.end()}, record)
                           : MMSYSERR_INVALPARAM;
      }
      break;
    case kSetOutputSource:
      if (play && device.pair <= kDigital) return SetOutputSource(device, value, now);
      break;
    case kGetChannelStatus:
      if (play && device.pair == kDigital) return write32(card.channelStatus);
      break;
    case kSetChannelStatus:
      if (play && device.pair == kDigital) {
        card.channelStatus = value;
        return MMSYSERR_NOERROR;
      }
      break;
    case kGetDevnode:
      if (play && device.pair == kAnalog) return write32(Devnode(device.card));
      break;
    case kGetInputState:
      if (!play && device.pair <= kDigital) {
        const auto& state = card.inputState[device.pair];
        return addressFits ? WriteBlock(address, {state.begin(), state.end()}, record)
                           : MMSYSERR_INVALPARAM;
      }
      break;
    case kSetInputState:
      if (!play && device.pair <= kDigital) {
        for (int i = 0; i < 4; ++i) {
          card.inputState[device.pair][i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        return MMSYSERR_NOERROR;
      }
      break;
    case kInMeterStart:
      if (!play) return startMetering();
      break;
    case kInMeterStop:
      if (!play) return stopMetering();
      break;
    case kInGetPeaks:
      if (!play) return peaks();
      break;
    case kGetInputRate:
      if (!play && device.pair == kDigital) {
        if (scenario_.cards[device.card].refuseInputRate) return MMSYSERR_ERROR;
        return write32(RateAt(device.card, now));
      }
      break;
    default:
      break;
  }
  return MMSYSERR_NOTSUPPORTED;
}

std::uint32_t SimCards::SetOutputSource(const SimDevice& device, std::uint32_t value,
                                       std::uint64_t now) {
  CardState& card = cards_[device.card];
  const CardSetup& setup = scenario_.cards[device.card];
  const std::uint8_t source = static_cast<std::uint8_t>(value);
  const std::uint8_t left = static_cast<std::uint8_t>(value >> 8);
  const std::uint8_t right = static_cast<std::uint8_t>(value >> 16);
  const bool analog = device.pair == kAnalog;

  if (source > (analog ? kAdatInput : kDigitalInput)) return MMSYSERR_INVALPARAM;
  if (analog && (left > 7 || right > 7)) return MMSYSERR_INVALPARAM;

  const std::uint8_t current = SourceAt(device.card, device.pair, now);
  const std::uint8_t otherSource = SourceAt(device.card, analog ? kDigital : kAnalog, now);
  if (source != current) {
    if (setup.refuseSourceChange) return kRefusedConflict;
    // The two outputs must not play each other.
    if (source == kOtherOutput && otherSource == kOtherOutput) return kRefusedConflict;
    if (analog && source == kAdatInput) {
      // ADAT monitoring needs the analog playback device to itself and no
      // digital operation at the same time.
      if (setup.otherAppPlaying > 0) return kRefusedBusy;
      if (setup.digitalInUse || otherSource == kDigitalInput) return kRefusedConflict;
    }
    const bool digitalMonitoring = analog ? (source == kOtherOutput || source == kDigitalInput)
                                          : source == kDigitalInput;
    const bool adatInForce = setup.adatInUse || (!analog && otherSource == kAdatInput);
    if (digitalMonitoring && adatInForce) return kRefusedConflict;
  }
  card.outputSource[device.pair] = {source, left, right};
  DropDueSteps(card.sourceSteps[device.pair], now);
  return MMSYSERR_NOERROR;
}

std::uint8_t SimCards::SourceAt(int card, int pair, std::uint64_t now) const {
  const CardState& state = cards_[card];
  return static_cast<std::uint8_t>(ValueAt(state.sourceSteps[pair], now, state.outputSource[pair][0]));
}

std::array<std::uint8_t, 4> SimCards::SourceBlockAt(int card, int pair, std::uint64_t now) const {
  const auto& source = cards_[card].outputSource[pair];
  return {SourceAt(card, pair, now), source[1], source[2],
          static_cast<std::uint8_t>(pair == kAnalog ? BusyCount(card) : 0)};
}

std::uint8_t SimCards::BusyCount(int card) const {
  int count = scenario_.cards[card].otherAppPlaying;
  for (const auto& [handle, device] : metering_) {
    if (device.card == card && device.pair == kAnalog && device.record) ++count;
  }
  return static_cast<std::uint8_t>(std::min(count, 255));
}

std::uint32_t SimCards::RateAt(int card, std::uint64_t now) const {
  return ValueAt(cards_[card].rateSteps, now, cards_[card].inputRate);
}

bool SimCards::Metering(const SimDevice& device) const {
  for (const auto& [handle, metered] : metering_) {
    if (metered.card == device.card && metered.pair == device.pair &&
        metered.record == device.record) {
      return true;
    }
  }
  return false;
}

PeakPair SimCards::InputSignal(int card, int pair, std::uint64_t now) const {
  if (pair == kAnalog) {
    return {TestSignal(SignalKey(card, kPointAnalogIn, 0), now),
            TestSignal(SignalKey(card, kPointAnalogIn, 1), now)};
  }
  if (pair == kDigital) {
    if (RateAt(card, now) == 0) return {};  // no lock: silence
    return {TestSignal(SignalKey(card, kPointDigitalIn, 0), now),
            TestSignal(SignalKey(card, kPointDigitalIn, 1), now)};
  }
  const int first = (pair - 2) * 2;
  return AdatInputChannels(card, first, first + 1, now);
}

PeakPair SimCards::AdatInputChannels(int card, int leftChannel, int rightChannel,
                                     std::uint64_t now) const {
  return {TestSignal(SignalKey(card, kPointAdatIn, leftChannel), now),
          TestSignal(SignalKey(card, kPointAdatIn, rightChannel), now)};
}

PeakPair SimCards::OutputSignal(int card, int pair, std::uint64_t now, int depth) const {
  const PeakPair program = {
      TestSignal(SignalKey(card, kPointProgram + static_cast<std::uint32_t>(pair), 0), now),
      TestSignal(SignalKey(card, kPointProgram + static_cast<std::uint32_t>(pair), 1), now)};
  if (pair > kDigital) return program;
  const auto& source = cards_[card].outputSource[pair];
  switch (SourceAt(card, pair, now)) {
    case kOtherOutput:
      // The other output, unless the two would play each other.
      return depth == 0 ? OutputSignal(card, pair == kAnalog ? kDigital : kAnalog, now, 1)
                        : program;
    case kAnalogInput:
      return InputSignal(card, kAnalog, now);
    case kDigitalInput:
      return InputSignal(card, kDigital, now);
    case kAdatInput:
      return AdatInputChannels(card, source[1] & 7, source[2] & 7, now);
    default:
      return program;
  }
}

PeakPair SimCards::SignalAt(const SimDevice& device, std::uint64_t now) const {
  return device.record ? InputSignal(device.card, device.pair, now)
                       : OutputSignal(device.card, device.pair, now, 0);
}

PeakPair SimCards::SignalOf(const SimDevice& device) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return SignalAt(device, time_());
}

std::uint32_t SimCards::MeasuredInputRate(int card) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return RateAt(card, time_());
}

std::array<std::uint8_t, 4> SimCards::InputState(int card, int pair) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cards_[card].inputState[pair];
}

std::array<std::uint8_t, 4> SimCards::OutputSource(int card, int pair) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return SourceBlockAt(card, pair, time_());
}

std::uint32_t SimCards::ChannelStatus(int card) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cards_[card].channelStatus;
}

std::uint32_t SimCards::Volume(int card, int pair) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cards_[card].volume[pair];
}

std::array<std::uint16_t, 2> SimCards::Mute(int card) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cards_[card].mute;
}

std::uint32_t SimCards::Devnode(int card) const {
  // Fixed at construction; no lock needed.
  return scenario_.cards[card].devnode;
}

bool SimCards::IsMetering(const SimDevice& device) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return Metering(device);
}

int SimCards::MeteringHandleCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(metering_.size());
}

void SimCards::SetOtherAppPlaying(int card, int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  scenario_.cards[card].otherAppPlaying = count;
}

void SimCards::SetInputRate(int card, std::uint32_t rate) {
  std::lock_guard<std::mutex> lock(mutex_);
  cards_[card].inputRate = rate;
  cards_[card].rateSteps.clear();
}

void SimCards::SetOutputSourceByOtherProgram(int card, int pair, std::uint8_t source) {
  std::lock_guard<std::mutex> lock(mutex_);
  cards_[card].outputSource[pair][0] = source;
  DropDueSteps(cards_[card].sourceSteps[pair], time_());
}

}  // namespace zentra::sim
