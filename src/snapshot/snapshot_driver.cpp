#include "snapshot/snapshot_driver.h"

#include <algorithm>

#include "driver/control_handle.h"
#include "driver/control_messages.h"
#include "driver/device_tables.h"
#include "driver/shared16_block.h"
#include "platform/silent_abort.h"

namespace zentra {
namespace {

// Bytes of an InputStateBlock.
constexpr std::uint32_t kInputSelectByte = 0;
constexpr std::uint32_t kMonitorDestinationByte = 1;
constexpr std::uint32_t kMonitorActivityByte = 2;

// Names of what a card exchanges, for the messages.
constexpr const char* kAnalogInput = "Analog Input";
constexpr const char* kDigitalInput = "Digital Input";
constexpr const char* kAnalogOutputSource = "Analog Output Quelle";
constexpr const char* kAnalogOutputVolume = "Analog Output Lautstärke";
constexpr const char* kAnalogOutputMute = "Analog Output Stummschaltung";
constexpr const char* kDigitalOutputSource = "Digital Output Quelle";
constexpr const char* kDigitalOutputFormat = "Digital Output Format";

// A card's four control handles, opened in this order and closed in it.
struct CardHandles {
  ControlHandle analogIn, digitalIn, analogOut, digitalOut;

  // False (with what would not open) when a handle would not open; those
  // opened are closed again.
  bool Open(WaveApi& wave, int card, std::string* failed) {
    struct Entry {
      ControlHandle* handle;
      int kind;
      Direction direction;
      const char* name;
    };
    const Entry entries[] = {{&analogIn, kKindAnalog, Direction::Record, kAnalogInput},
                             {&digitalIn, kKindDigital, Direction::Record, kDigitalInput},
                             {&analogOut, kKindAnalog, Direction::Playback, "Analog Output"},
                             {&digitalOut, kKindDigital, Direction::Playback, "Digital Output"}};
    for (const Entry& e : entries) {
      try {
        e.handle->Open(wave, 0, DeviceSlot(card, FirstPairIndexOfKind(e.kind, e.direction)), e.direction);
      } catch (const SilentAbort&) {
        *failed = e.name;
        Close();
        return false;
      }
    }
    return true;
  }
  void Close() {
    for (ControlHandle* h : {&analogIn, &digitalIn, &analogOut, &digitalOut}) h->Close();
  }
  ~CardHandles() { Close(); }
};

// The one block the driver fills for every read.
class ReadBlock {
 public:
  explicit ReadBlock(Wow16Api& wow) { block_.AllocateFixed(wow, 4, kWindowBlockFlags); }
  bool Usable() const { return block_.Usable(); }
  // The message on the handle with the block's address; false when refused.
  bool Read(const ControlHandle& handle, std::uint32_t message) {
    block_.SetWord32(0, 0);
    return handle.Send(message, block_.Address()) == MMSYSERR_NOERROR;
  }
  std::uint8_t Byte(std::uint32_t offset) const { return block_.Byte(offset); }
  std::uint16_t Word16(std::uint32_t offset) const { return block_.Word16(offset); }
  std::uint32_t Word32() const { return block_.Word32(0); }

 private:
  Shared16Block block_;
};

std::string CardItem(int card, const std::string& what) { return CardName(card) + ": " + what; }

// Reads one card into values; the problem when a read fails or the driver
// answers a value the snapshot cannot hold.
bool ReadCard(CardHandles& h, ReadBlock& block, int card, CardSnapshot& values, std::string* problem) {
  auto failed = [&](const char* what) {
    *problem = CardItem(card, std::string(what) + " konnte nicht gelesen werden.");
    return false;
  };
  if (!block.Read(h.analogIn, CTL_GET_INPUT_STATE)) return failed(kAnalogInput);
  values.analogInputMonitorDestination = block.Byte(kMonitorDestinationByte);
  values.analogInputMonitoring = block.Byte(kMonitorActivityByte);
  if (!block.Read(h.digitalIn, CTL_GET_INPUT_STATE)) return failed(kDigitalInput);
  values.digitalInputSelect = block.Byte(kInputSelectByte);
  values.digitalInputMonitorDestination = block.Byte(kMonitorDestinationByte);
  values.digitalInputMonitoring = block.Byte(kMonitorActivityByte);
  if (!block.Read(h.analogOut, CTL_GET_OUTPUT_SOURCE)) return failed(kAnalogOutputSource);
  values.analogOutputSource = block.Byte(kSourceByte);
  values.analogOutputAdatLeft = block.Byte(kLeftChannelByte);
  values.analogOutputAdatRight = block.Byte(kRightChannelByte);
  if (!block.Read(h.analogOut, WODM_GETVOLUME)) return failed(kAnalogOutputVolume);
  values.analogOutputVolumeLeft = block.Word16(0);
  values.analogOutputVolumeRight = block.Word16(2);
  if (!block.Read(h.analogOut, CTL_GET_MUTE)) return failed(kAnalogOutputMute);
  // Any word other than 0 is a muted channel.
  values.analogOutputMuteLeft = block.Word16(0) != kNotMuted ? 1 : 0;
  values.analogOutputMuteRight = block.Word16(2) != kNotMuted ? 1 : 0;
  if (!block.Read(h.digitalOut, CTL_GET_OUTPUT_SOURCE)) return failed(kDigitalOutputSource);
  values.digitalOutputSource = block.Byte(kSourceByte);
  if (!block.Read(h.digitalOut, CTL_GET_CHANNEL_STATUS)) return failed(kDigitalOutputFormat);
  const std::uint32_t format = block.Word32();
  const bool professional = (format & kStatusProfessional) != 0;
  values.digitalOutputFormat = professional ? 1 : 0;
  values.digitalOutputAudio = !professional || (format & kStatusAudio) != 0 ? 1 : 0;

  for (const SnapshotValue& v : SnapshotValues()) {
    const int value = values.*v.field;
    if (value < v.minimum || value > v.maximum) {
      *problem = CardItem(card, std::string("der Treiber meldet ") + v.key + "=" +
                                    std::to_string(value) + ", das kein gültiger Wert ist.");
      return false;
    }
  }
  return true;
}

// The whole block of a write: the card's current block read first, so the
// bytes the snapshot does not hold go back as the driver has them.
std::optional<std::uint32_t> CurrentBlock(ReadBlock& block, const ControlHandle& handle,
                                          std::uint32_t readMessage) {
  if (!block.Read(handle, readMessage)) return std::nullopt;
  return block.Word32();
}

std::uint32_t WithByte(std::uint32_t word, std::uint32_t offset, int value) {
  const std::uint32_t shift = 8 * offset;
  return (word & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(value & 0xFF) << shift);
}

void ApplyCard(CardHandles& h, ReadBlock& block, int card, const CardSnapshot& values,
               std::vector<std::string>& notApplied) {
  auto sent = [&](const ControlHandle& handle, std::uint32_t message, std::uint32_t value,
                  const char* what) {
    if (handle.Send(message, value) == MMSYSERR_NOERROR) return true;
    notApplied.push_back(CardItem(card, what));
    return false;
  };
  auto current = [&](const ControlHandle& handle, std::uint32_t message, const char* what) {
    std::optional<std::uint32_t> word = CurrentBlock(block, handle, message);
    if (!word) notApplied.push_back(CardItem(card, what));
    return word;
  };

  if (auto state = current(h.analogIn, CTL_GET_INPUT_STATE, kAnalogInput)) {
    std::uint32_t word = WithByte(*state, kMonitorDestinationByte, values.analogInputMonitorDestination);
    word = WithByte(word, kMonitorActivityByte, values.analogInputMonitoring);
    sent(h.analogIn, CTL_SET_INPUT_STATE, word, kAnalogInput);
  }
  if (auto state = current(h.digitalIn, CTL_GET_INPUT_STATE, kDigitalInput)) {
    std::uint32_t word = WithByte(*state, kInputSelectByte, values.digitalInputSelect);
    word = WithByte(word, kMonitorDestinationByte, values.digitalInputMonitorDestination);
    word = WithByte(word, kMonitorActivityByte, values.digitalInputMonitoring);
    sent(h.digitalIn, CTL_SET_INPUT_STATE, word, kDigitalInput);
  }

  // The two sources depend on each other (the outputs must not play each
  // other, ADAT monitoring excludes digital monitoring): a source refused
  // while the other output still had its old source is sent once more
  // after the other one took effect.
  std::optional<std::uint32_t> analogSource, digitalSource;
  bool analogDone = false, digitalDone = false;
  if (auto block0 = current(h.analogOut, CTL_GET_OUTPUT_SOURCE, kAnalogOutputSource)) {
    std::uint32_t word = WithByte(*block0, kSourceByte, values.analogOutputSource);
    word = WithByte(word, kLeftChannelByte, values.analogOutputAdatLeft);
    analogSource = WithByte(word, kRightChannelByte, values.analogOutputAdatRight);
    analogDone = h.analogOut.Send(CTL_SET_OUTPUT_SOURCE, *analogSource) == MMSYSERR_NOERROR;
  }
  sent(h.analogOut, WODM_SETVOLUME,
       static_cast<std::uint32_t>(values.analogOutputVolumeLeft) |
           static_cast<std::uint32_t>(values.analogOutputVolumeRight) << 16,
       kAnalogOutputVolume);
  sent(h.analogOut, CTL_SET_MUTE,
       static_cast<std::uint32_t>(values.analogOutputMuteLeft ? kMuted : kNotMuted) |
           static_cast<std::uint32_t>(values.analogOutputMuteRight ? kMuted : kNotMuted) << 16,
       kAnalogOutputMute);
  if (auto block1 = current(h.digitalOut, CTL_GET_OUTPUT_SOURCE, kDigitalOutputSource)) {
    digitalSource = WithByte(*block1, kSourceByte, values.digitalOutputSource);
    digitalDone = h.digitalOut.Send(CTL_SET_OUTPUT_SOURCE, *digitalSource) == MMSYSERR_NOERROR;
  }
  const std::uint32_t format = values.digitalOutputFormat == 1
                                   ? kStatusProfessional | (values.digitalOutputAudio ? kStatusAudio : 0)
                                   : kStatusConsumer;
  sent(h.digitalOut, CTL_SET_CHANNEL_STATUS, format, kDigitalOutputFormat);

  if (analogSource && !analogDone && digitalDone)
    analogDone = h.analogOut.Send(CTL_SET_OUTPUT_SOURCE, *analogSource) == MMSYSERR_NOERROR;
  else if (digitalSource && !digitalDone && analogDone)
    digitalDone = h.digitalOut.Send(CTL_SET_OUTPUT_SOURCE, *digitalSource) == MMSYSERR_NOERROR;
  if (analogSource && !analogDone) notApplied.push_back(CardItem(card, kAnalogOutputSource));
  if (digitalSource && !digitalDone) notApplied.push_back(CardItem(card, kDigitalOutputSource));
}

}  // namespace

DriverStateRead ReadMixerState(const Platform& platform, int cards) {
  DriverStateRead result;
  ReadBlock block(*platform.wow16);
  if (!block.Usable()) {
    result.problem = "Kein Speicher für den Austausch mit dem Treiber.";
    return result;
  }
  MixerSnapshot snapshot;
  for (int card = 0; card < cards; ++card) {
    CardHandles handles;
    std::string failed;
    if (!handles.Open(*platform.wave, card, &failed)) {
      result.problem = CardItem(card, failed + " konnte nicht geöffnet werden.");
      return result;
    }
    CardSnapshot values;
    if (!ReadCard(handles, block, card, values, &result.problem)) return result;
    snapshot.cards.push_back(values);
  }
  result.snapshot = std::move(snapshot);
  return result;
}

std::vector<std::string> ApplyMixerSnapshot(const Platform& platform, const MixerSnapshot& snapshot,
                                            int cards) {
  std::vector<std::string> notApplied;
  ReadBlock block(*platform.wow16);
  if (!block.Usable()) return {"Kein Speicher für den Austausch mit dem Treiber."};
  const int count = std::min(cards, static_cast<int>(snapshot.cards.size()));
  for (int card = 0; card < count; ++card) {
    CardHandles handles;
    std::string failed;
    if (!handles.Open(*platform.wave, card, &failed)) {
      notApplied.push_back(CardItem(card, failed + " konnte nicht geöffnet werden"));
      continue;
    }
    ApplyCard(handles, block, card, snapshot.cards[card], notApplied);
  }
  return notApplied;
}

}  // namespace zentra
