#include "driver/device_tables.h"

namespace zentra {

namespace {

constexpr WaveInCaps RecordCapsTemplate(std::uint16_t product) {
  return WaveInCaps{kCardManufacturerId, product, kCardDriverVersion, {}, 0, 2, 0};
}
constexpr WaveOutCaps PlaybackCapsTemplate(std::uint16_t product) {
  return WaveOutCaps{kCardManufacturerId, product, kCardDriverVersion, {}, 0, 2, 0, 0};
}

}  // namespace

const std::array<DeviceKindEntry, kDeviceKindCount> DeviceKindTable = {{
    {1, 1, 14, 13, RecordCapsTemplate(14), PlaybackCapsTemplate(13)},  // analog
    {1, 1, 16, 15, RecordCapsTemplate(16), PlaybackCapsTemplate(15)},  // digital
    {4, 4, 18, 17, RecordCapsTemplate(18), PlaybackCapsTemplate(17)},  // ADAT
}};

namespace {
template <std::size_t N>
constexpr std::array<std::int32_t, N> EmptyTable() {
  std::array<std::int32_t, N> table{};
  for (auto& entry : table) entry = kNoDevice;
  return table;
}
}  // namespace

// Tables start empty, as before discovery.
std::array<std::int32_t, kDeviceSlots> RecordDeviceTable = EmptyTable<kDeviceSlots>();
std::array<std::int32_t, kDeviceSlots> PlaybackDeviceTable = EmptyTable<kDeviceSlots>();
std::array<std::int32_t, kMaxCards> CardDevnodeTable = EmptyTable<kMaxCards>();
std::int32_t CardCount = 0;
std::int32_t RecordDeviceCount = 0;
std::int32_t PlaybackDeviceCount = 0;
bool DriverOpen = false;

int FirstPairIndexOfKind(int kind, Direction direction) {
  int base = 0;
  for (int k = 0; k < kind && k < kDeviceKindCount; ++k) {
    base += direction == Direction::Record ? DeviceKindTable[k].recordDevicesPerCard
                                           : DeviceKindTable[k].playbackDevicesPerCard;
  }
  return base;
}

void ResetDeviceTables() {
  RecordDeviceTable.fill(kNoDevice);
  PlaybackDeviceTable.fill(kNoDevice);
  CardDevnodeTable.fill(kNoDevice);
  CardCount = 0;
  RecordDeviceCount = 0;
  PlaybackDeviceCount = 0;
  DriverOpen = false;
}

std::int32_t DeviceIdOfSlot(int slot, Direction direction) {
  if (!IsDeviceSlot(slot)) return kNoDevice;
  return direction == Direction::Record ? RecordDeviceTable[slot] : PlaybackDeviceTable[slot];
}

}  // namespace zentra
