#include "settings/config_record.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace zentra {
namespace {

using F = ConfigField;

constexpr std::array<ConfigFieldInfo, kConfigFieldCount> kFields = {{
    {F::BlockReserved0, "BlockReserved0", 0},
    {F::IsMaster, "IsMaster", 8},
    {F::SyncBusClockSource, "SyncBusClockSource", 12},
    {F::ShowRateConflictMessages, "ShowRateConflictMessages", 28},
    {F::ShowDeviceConflictMessages, "ShowDeviceConflictMessages", 32},
    {F::AnalogBothOnSyncBus, "AnalogBothOnSyncBus", 44},
    {F::AnalogOutSyncBusStart, "AnalogOutSyncBusStart", 48},
    {F::AnalogInSyncBusStart, "AnalogInSyncBusStart", 52},
    {F::AnalogInClockSource, "AnalogInClockSource", 56},
    {F::AnalogOutClockSource, "AnalogOutClockSource", 60},
    {F::DigitalBothOnSyncBus, "DigitalBothOnSyncBus", 76},
    {F::DigitalOutSyncBusStart, "DigitalOutSyncBusStart", 80},
    {F::DigitalInSyncBusStart, "DigitalInSyncBusStart", 84},
    {F::DigitalOutClockSource, "DigitalOutClockSource", 92},
    {F::AdatOutAllSynchronous, "AdatOutAllSynchronous", 100},
    {F::AdatInAllSynchronous, "AdatInAllSynchronous", 104},
    {F::AdatBothOnSyncBus, "AdatBothOnSyncBus", 108},
    {F::AdatOutSyncBusStart, "AdatOutSyncBusStart", 112},
    {F::AdatInSyncBusStart, "AdatInSyncBusStart", 116},
    {F::AdatOutClockSource, "AdatOutClockSource", 124},
    {F::DefaultRateClock1, "DefaultRateClock1", 136},
    {F::SyncClock2ToAdat, "SyncClock2ToAdat", 140},
    {F::DefaultRateClock2, "DefaultRateClock2", 144},
    {F::WriteIsPlayCursor, "WriteIsPlayCursor", 164},
    {F::DsLatency, "DsLatency", 168},
    {F::RestrictedRate, "RestrictedRate", 172},
    {F::RestrictedResolution, "RestrictedResolution", 176},
    {F::RestrictDevices, "RestrictDevices", 180},
    {F::RestrictedDevicePair, "RestrictedDevicePair", 184},
    {F::GsifKerning, "GsifKerning", 200},
    {F::GsifPreload, "GsifPreload", 204},
}};

// The table is indexed by the enumeration: each entry stands at its own place.
constexpr bool TableInEnumOrder() {
  for (std::size_t i = 0; i < kFields.size(); ++i)
    if (static_cast<std::size_t>(kFields[i].field) != i) return false;
  return true;
}
static_assert(TableInEnumOrder(), "ConfigFieldTable follows the order of ConfigField");

constexpr bool FieldsFitAndDoNotOverlap() {
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    if (kFields[i].offset % 4 != 0 || kFields[i].offset + 4 > kCardConfigBlockSize) return false;
    if (i > 0 && kFields[i].offset < kFields[i - 1].offset + 4) return false;
  }
  return true;
}
static_assert(FieldsFitAndDoNotOverlap(), "fields are 4-byte aligned, in order, inside the block");

const ConfigFieldInfo& InfoOf(ConfigField field) {
  return kFields[static_cast<std::size_t>(field)];
}

void CheckCard(int card) {
  if (card < 0 || card >= kConfigRecordCards)
    throw std::out_of_range("card index " + std::to_string(card) + " outside the record");
}

}  // namespace

const std::array<ConfigFieldInfo, kConfigFieldCount>& ConfigFieldTable() { return kFields; }

std::size_t OffsetOf(ConfigField field) { return InfoOf(field).offset; }

const char* NameOf(ConfigField field) { return InfoOf(field).name; }

CardConfigBlock CardConfigBlock::FromRecord(const ConfigRecordBytes& record, int card) {
  CheckCard(card);
  CardConfigBlock block;
  const auto* from = record.data() + static_cast<std::size_t>(card) * kCardConfigBlockSize;
  std::copy(from, from + kCardConfigBlockSize, block.bytes_.begin());
  return block;
}

void CardConfigBlock::StoreInto(ConfigRecordBytes& record, int card) const {
  CheckCard(card);
  std::copy(bytes_.begin(), bytes_.end(),
            record.begin() + static_cast<std::ptrdiff_t>(card) * kCardConfigBlockSize);
}

std::int32_t CardConfigBlock::Get(ConfigField field) const {
  const std::uint8_t* at = bytes_.data() + OffsetOf(field);
  const std::uint32_t v = static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
                          static_cast<std::uint32_t>(at[2]) << 16 |
                          static_cast<std::uint32_t>(at[3]) << 24;
  return static_cast<std::int32_t>(v);
}

void CardConfigBlock::Set(ConfigField field, std::int32_t value) {
  std::uint8_t* at = bytes_.data() + OffsetOf(field);
  const auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

OnTheFlyBytes MakeOnTheFlyBlock(std::int32_t kerning, std::int32_t preload) {
  CardConfigBlock shape;
  shape.Set(ConfigField::GsifKerning, kerning);
  shape.Set(ConfigField::GsifPreload, preload);
  OnTheFlyBytes block{};
  std::copy(shape.Raw().begin() + kOnTheFlyOrigin, shape.Raw().end(), block.begin());
  return block;
}

}  // namespace zentra
