// The driver's configuration record as the settings dialog reads and writes
// it: four 208-byte card blocks of 32-bit little-endian fields. Every field
// the program touches stands in one table of names and offsets; the bytes
// between them belong to the driver and are never read or written, so they
// go back to it exactly as "getconfig" delivered them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "winutil/program_link.h"

namespace zentra {

constexpr std::size_t kCardConfigBlockSize = 208;
constexpr int kConfigRecordCards = 4;
static_assert(kCardConfigBlockSize * kConfigRecordCards == kConfigRecordSize,
              "the configuration record holds four card blocks");

// The fields of a card block, in the order of their offsets.
enum class ConfigField {
  BlockReserved0,
  IsMaster,
  SyncBusClockSource,
  ShowRateConflictMessages,
  ShowDeviceConflictMessages,
  AnalogBothOnSyncBus,
  AnalogOutSyncBusStart,
  AnalogInSyncBusStart,
  AnalogInClockSource,
  AnalogOutClockSource,
  DigitalBothOnSyncBus,
  DigitalOutSyncBusStart,
  DigitalInSyncBusStart,
  DigitalOutClockSource,
  AdatOutAllSynchronous,
  AdatInAllSynchronous,
  AdatBothOnSyncBus,
  AdatOutSyncBusStart,
  AdatInSyncBusStart,
  AdatOutClockSource,
  DefaultRateClock1,
  SyncClock2ToAdat,
  DefaultRateClock2,
  WriteIsPlayCursor,
  DsLatency,
  RestrictedRate,
  RestrictedResolution,
  RestrictDevices,
  RestrictedDevicePair,
  GsifKerning,
  GsifPreload,
};

struct ConfigFieldInfo {
  ConfigField field;
  const char* name;
  std::size_t offset;  // from the start of the card block; each field is 4 bytes
};

constexpr std::size_t kConfigFieldCount = 31;
// Every field with its offset, in offset order.
const std::array<ConfigFieldInfo, kConfigFieldCount>& ConfigFieldTable();
std::size_t OffsetOf(ConfigField field);
const char* NameOf(ConfigField field);

// Clock source codes of the clock fields.
constexpr std::int32_t kClockSourceClock1 = 0;
constexpr std::int32_t kClockSourceClock2 = 1;
constexpr std::int32_t kClockSourceDigitalInput = 2;
constexpr std::int32_t kClockSourceSyncBus = 3;

// How the program writes true into a boolean field.
constexpr std::int32_t kConfigTrue = -1;
constexpr std::int32_t kConfigFalse = 0;

// One card's block: a copy the dialog edits, or the view of a record's block.
class CardConfigBlock {
 public:
  using Bytes = std::array<std::uint8_t, kCardConfigBlockSize>;

  CardConfigBlock() = default;
  // The block of card `card` (0..3) of the record.
  static CardConfigBlock FromRecord(const ConfigRecordBytes& record, int card);
  // Puts this block over card `card`'s block of the record.
  void StoreInto(ConfigRecordBytes& record, int card) const;

  std::int32_t Get(ConfigField field) const;
  void Set(ConfigField field, std::int32_t value);
  // Booleans: any non-zero value is true; true is written as -1.
  bool Flag(ConfigField field) const { return Get(field) != 0; }
  void SetFlag(ConfigField field, bool value) { Set(field, value ? kConfigTrue : kConfigFalse); }

  const Bytes& Raw() const { return bytes_; }

 private:
  Bytes bytes_{};
};

// The block of "setconfig_onthefly": the shape of card block bytes 160..207,
// of which only the two GSIF fields are filled; the rest is zero.
constexpr std::size_t kOnTheFlyBlockSize = 48;
constexpr std::size_t kOnTheFlyOrigin = 160;
using OnTheFlyBytes = std::array<std::uint8_t, kOnTheFlyBlockSize>;
OnTheFlyBytes MakeOnTheFlyBlock(std::int32_t kerning, std::int32_t preload);

}  // namespace zentra
