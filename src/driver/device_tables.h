// The process-wide device tables: which wave device serves which device slot
// of which card, the cards' device node numbers and the card count. Discovery
// fills them once; everything else only reads them.
#pragma once

#include <array>
#include <cstdint>

#include "platform/win_defs.h"

namespace zentra {

constexpr int kMaxCards = 4;
constexpr int kPairsPerCard = 6;  // 0 analog, 1 digital, 2..5 ADAT pairs 1-2 .. 7-8
constexpr int kDeviceSlots = kMaxCards * kPairsPerCard;
constexpr int kAdatChannelsPerCard = 8;
constexpr int kNoDevice = -1;

// Identifiers every card device carries in its capabilities.
constexpr std::uint16_t kCardManufacturerId = 190;
constexpr std::uint32_t kCardDriverVersion = 0x0401;  // 4.01

enum class Direction { Record, Playback };

enum DeviceKind : int { kKindAnalog = 0, kKindDigital = 1, kKindAdat = 2 };
constexpr int kDeviceKindCount = 3;

struct DeviceKindEntry {
  int recordDevicesPerCard;
  int playbackDevicesPerCard;
  std::uint16_t recordProductId;
  std::uint16_t playbackProductId;
  // Capability templates (manufacturer, product, driver version, empty name).
  WaveInCaps recordCaps;
  WaveOutCaps playbackCaps;
};

extern const std::array<DeviceKindEntry, kDeviceKindCount> DeviceKindTable;

// The first pair index of a device kind: the per-card device counts of all
// kinds before it, in the column of the direction (0 analog, 1 digital, 2 ADAT).
int FirstPairIndexOfKind(int kind, Direction direction);

constexpr int DeviceSlot(int card, int pair) { return card * kPairsPerCard + pair; }
constexpr bool IsDeviceSlot(int slot) { return slot >= 0 && slot < kDeviceSlots; }

extern std::array<std::int32_t, kDeviceSlots> RecordDeviceTable;
extern std::array<std::int32_t, kDeviceSlots> PlaybackDeviceTable;
extern std::array<std::int32_t, kMaxCards> CardDevnodeTable;
extern std::int32_t CardCount;
extern std::int32_t RecordDeviceCount;
extern std::int32_t PlaybackDeviceCount;
extern bool DriverOpen;

// Empties every table as before discovery (all entries -1, counts 0,
// DriverOpen false). Tests use it to start from a clean process state.
void ResetDeviceTables();

// The wave device id of a slot in the table of the direction, -1 when none.
std::int32_t DeviceIdOfSlot(int slot, Direction direction);

}  // namespace zentra
