#include "driver/discovery.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "driver/control_channel.h"
#include "driver/control_messages.h"
#include "driver/device_tables.h"
#include "driver/driver_errors.h"
#include "driver/integer_text.h"
#include "driver/shared16_block.h"

namespace zentra {

namespace {

constexpr std::array<std::string_view, kMaxCards> kCardSuffixes = {"I", "II", "III", "IV"};
constexpr std::size_t kMaxNumberText = 255;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// szPname need not be terminated when the name fills all 32 characters.
template <std::size_t N>
std::string_view DeviceName(const char (&name)[N]) {
  std::size_t length = 0;
  while (length < N && name[length] != '\0') ++length;
  return std::string_view(name, length);
}

// The slot of a card device from its product id and name; -1 for devices of
// other kinds. ADAT names may raise ConversionError.
int SlotOfDevice(std::uint16_t productId, std::string_view name, int kindProduct[3]) {
  if (productId == kindProduct[kKindAnalog]) return DeviceSlot(CardIndexFromName(name), 0);
  if (productId == kindProduct[kKindDigital]) return DeviceSlot(CardIndexFromName(name), 1);
  if (productId == kindProduct[kKindAdat]) {
    int pair = 0;
    const int card = DevNameChannelPairToCardId(name, kAdatChannelsPerCard, pair);
    if (card < 0) return -1;
    return DeviceSlot(card, 2 + pair);
  }
  return -1;
}

void FindRecordDevices(WaveApi& wave) {
  int products[3] = {DeviceKindTable[0].recordProductId, DeviceKindTable[1].recordProductId,
                     DeviceKindTable[2].recordProductId};
  const std::uint32_t count = wave.waveInGetNumDevs();
  for (std::uint32_t id = 0; id < count; ++id) {
    WaveInCaps caps{};
    if (wave.waveInGetDevCapsA(id, &caps, sizeof caps) != MMSYSERR_NOERROR) continue;
    if (caps.wMid != kCardManufacturerId) continue;
    const int slot = SlotOfDevice(caps.wPid, DeviceName(caps.szPname), products);
    if (!IsDeviceSlot(slot)) continue;
    RecordDeviceTable[slot] = static_cast<std::int32_t>(id);
    ++RecordDeviceCount;
  }
}

void FindPlaybackDevices(WaveApi& wave) {
  int products[3] = {DeviceKindTable[0].playbackProductId, DeviceKindTable[1].playbackProductId,
                     DeviceKindTable[2].playbackProductId};
  const std::uint32_t count = wave.waveOutGetNumDevs();
  for (std::uint32_t id = 0; id < count; ++id) {
    WaveOutCaps caps{};
    if (wave.waveOutGetDevCapsA(id, &caps, sizeof caps) != MMSYSERR_NOERROR) continue;
    if (caps.wMid != kCardManufacturerId) continue;
    const int slot = SlotOfDevice(caps.wPid, DeviceName(caps.szPname), products);
    if (!IsDeviceSlot(slot)) continue;
    PlaybackDeviceTable[slot] = static_cast<std::int32_t>(id);
    ++PlaybackDeviceCount;
  }
}

void QueryDevnodes(const Platform& platform) {
  // Released on every way out, also when a control open aborts the query.
  Shared16Block block;
  if (block.AllocateFixed(*platform.wow16, kDevnodeBlockSize, kQueryBlockFlags) == nullptr) return;
  for (int card = 0; card < CardCount; ++card) {
    WinHandle handle = kNoHandle;
    OpenControlHandles(*platform.wave, 0, kKindAnalog, Direction::Playback, 0, 0, card, card,
                       &handle, 1);
    SendControlMessage(*platform.wave, Direction::Playback, handle, CTL_GET_DEVNODE,
                       block.Address());
    CardDevnodeTable[card] = static_cast<std::int32_t>(block.Word32(0));
    CloseControlHandles(*platform.wave, Direction::Playback, 1, &handle);
  }
}

}  // namespace

int CardIndexFromName(std::string_view name) {
  std::size_t end = name.size();
  while (end > 0 && name[end - 1] == ' ') --end;  // trailing blanks
  std::size_t start = end;
  while (start > 0 && name[start - 1] != ' ') --start;  // back to the blank before the last word
  const std::string_view suffix = name.substr(start, std::min<std::size_t>(3, end - start));
  for (std::size_t card = 0; card < kCardSuffixes.size(); ++card) {
    if (suffix == kCardSuffixes[card]) return static_cast<int>(card);
  }
  return 0;
}

int DevNameChannelPairToCardId(std::string_view name, int channelsPerCard, int& pairIndex) {
  const std::size_t dash = name.rfind('-');
  if (dash == std::string_view::npos) {
    throw ConversionError("DevNameChannelPairToCardId: Separator not found.");
  }
  const std::string_view text = TrimBlanks(name.substr(dash + 1, kMaxNumberText));
  const std::int64_t n = static_cast<std::int64_t>(StrToInt(text)) - 2;
  if (n < 0 || channelsPerCard <= 0) {
    pairIndex = -1;
    return -1;
  }
  pairIndex = static_cast<int>((n % channelsPerCard) / 2);
  return static_cast<int>(n / channelsPerCard);
}

void Discover(const Platform& platform) {
  ResetDeviceTables();
  DriverOpen = true;

  FindRecordDevices(*platform.wave);
  FindPlaybackDevices(*platform.wave);

  // Only complete sets of twelve devices count; never more cards than the
  // tables hold, even when devices with the same slot were counted twice.
  CardCount = std::min((RecordDeviceCount + PlaybackDeviceCount) / 12, kMaxCards);
  if (CardCount == 0) {
    DriverOpen = false;
    return;
  }
  QueryDevnodes(platform);
}

}  // namespace zentra
