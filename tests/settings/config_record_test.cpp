// The configuration record's layout: every field at the offset the driver
// uses and nowhere else, the unused bytes left alone, the on-the-fly block,
// and the default-rate rules of the two clocks.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "settings/config_record.h"
#include "settings/default_rates.h"

namespace zentra {
namespace {

using F = ConfigField;

// The driver's card block, field by field.
struct Expected {
  const char* name;
  std::size_t offset;
};
const std::vector<Expected> kDriverLayout = {
    {"BlockReserved0", 0},           {"IsMaster", 8},
    {"SyncBusClockSource", 12},      {"ShowRateConflictMessages", 28},
    {"ShowDeviceConflictMessages", 32}, {"AnalogBothOnSyncBus", 44},
    {"AnalogOutSyncBusStart", 48},   {"AnalogInSyncBusStart", 52},
    {"AnalogInClockSource", 56},     {"AnalogOutClockSource", 60},
    {"DigitalBothOnSyncBus", 76},    {"DigitalOutSyncBusStart", 80},
    {"DigitalInSyncBusStart", 84},   {"DigitalOutClockSource", 92},
    {"AdatOutAllSynchronous", 100},  {"AdatInAllSynchronous", 104},
    {"AdatBothOnSyncBus", 108},      {"AdatOutSyncBusStart", 112},
    {"AdatInSyncBusStart", 116},     {"AdatOutClockSource", 124},
    {"DefaultRateClock1", 136},      {"SyncClock2ToAdat", 140},
    {"DefaultRateClock2", 144},      {"WriteIsPlayCursor", 164},
    {"DsLatency", 168},              {"RestrictedRate", 172},
    {"RestrictedResolution", 176},   {"RestrictDevices", 180},
    {"RestrictedDevicePair", 184},   {"GsifKerning", 200},
    {"GsifPreload", 204},
};
// Bytes of a card block that belong to the driver alone.
const std::vector<std::pair<std::size_t, std::size_t>> kNotUsed = {
    {4, 7},     {16, 27},   {36, 43},   {64, 75},   {88, 91},
    {96, 99},   {120, 123}, {128, 135}, {148, 163}, {188, 199}};

TEST(ConfigRecord, EveryFieldStandsAtTheDriversOffset) {
  const auto& table = ConfigFieldTable();
  ASSERT_EQ(table.size(), kDriverLayout.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_STREQ(table[i].name, kDriverLayout[i].name);
    EXPECT_EQ(table[i].offset, kDriverLayout[i].offset) << kDriverLayout[i].name;
    EXPECT_EQ(OffsetOf(table[i].field), kDriverLayout[i].offset);
  }
}

TEST(ConfigRecord, WritingAFieldChangesItsFourBytesAndNothingElse) {
  for (const ConfigFieldInfo& info : ConfigFieldTable()) {
    CardConfigBlock block;
    block.Set(info.field, 0x11223344);
    const auto& raw = block.Raw();
    for (std::size_t at = 0; at < raw.size(); ++at) {
      const bool inside = at >= info.offset && at < info.offset + 4;
      if (!inside) {
        EXPECT_EQ(raw[at], 0) << info.name << " wrote byte " << at;
      }
    }
    // Little-endian.
    EXPECT_EQ(raw[info.offset], 0x44) << info.name;
    EXPECT_EQ(raw[info.offset + 3], 0x11) << info.name;
    EXPECT_EQ(block.Get(info.field), 0x11223344) << info.name;
  }
}

TEST(ConfigRecord, FieldsAndUnusedBytesCoverTheBlockExactly) {
  std::vector<int> owner(kCardConfigBlockSize, 0);
  for (const ConfigFieldInfo& info : ConfigFieldTable())
    for (std::size_t at = info.offset; at < info.offset + 4; ++at) ++owner[at];
  for (const auto& [first, last] : kNotUsed)
    for (std::size_t at = first; at <= last; ++at) owner[at] += 10;
  for (std::size_t at = 0; at < owner.size(); ++at)
    EXPECT_TRUE(owner[at] == 1 || owner[at] == 10) << "byte " << at << " claimed " << owner[at];
}

TEST(ConfigRecord, NegativeValuesAndBooleansRoundTrip) {
  CardConfigBlock block;
  block.Set(F::RestrictedDevicePair, -1);
  EXPECT_EQ(block.Get(F::RestrictedDevicePair), -1);
  block.SetFlag(F::IsMaster, true);
  EXPECT_EQ(block.Get(F::IsMaster), -1);
  block.Set(F::IsMaster, 7);
  EXPECT_TRUE(block.Flag(F::IsMaster));
  block.SetFlag(F::IsMaster, false);
  EXPECT_EQ(block.Get(F::IsMaster), 0);
}

TEST(ConfigRecord, ACardBlockComesFromAndGoesBackToItsOwnPlace) {
  ConfigRecordBytes record{};
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 7 + 3);
  const ConfigRecordBytes before = record;
  for (int card = 0; card < kConfigRecordCards; ++card) {
    CardConfigBlock block = CardConfigBlock::FromRecord(record, card);
    EXPECT_EQ(block.Raw()[0], before[card * kCardConfigBlockSize]) << card;
    block.Set(F::DefaultRateClock1, 48000);
    ConfigRecordBytes changed = record;
    block.StoreInto(changed, card);
    for (std::size_t i = 0; i < record.size(); ++i) {
      const std::size_t field = card * kCardConfigBlockSize + OffsetOf(F::DefaultRateClock1);
      if (i < field || i >= field + 4) {
        ASSERT_EQ(changed[i], before[i]) << "card " << card << " byte " << i;
      }
    }
    EXPECT_EQ(CardConfigBlock::FromRecord(changed, card).Get(F::DefaultRateClock1), 48000);
  }
  EXPECT_THROW(CardConfigBlock::FromRecord(record, 4), std::out_of_range);
  EXPECT_THROW(CardConfigBlock::FromRecord(record, -1), std::out_of_range);
}

TEST(ConfigRecord, OnTheFlyBlockHoldsOnlyTheTwoGsifValues) {
  const OnTheFlyBytes block = MakeOnTheFlyBlock(3, 5);
  ASSERT_EQ(block.size(), 48u);
  for (std::size_t i = 0; i < 40; ++i) EXPECT_EQ(block[i], 0) << i;
  EXPECT_EQ(block[40], 3);
  EXPECT_EQ(block[44], 5);
  for (std::size_t i : {41, 42, 43, 45, 46, 47}) EXPECT_EQ(block[i], 0) << i;
  // The block has the shape of the card block's bytes 160..207.
  EXPECT_EQ(kOnTheFlyOrigin + 40, OffsetOf(F::GsifKerning));
  EXPECT_EQ(kOnTheFlyOrigin + 44, OffsetOf(F::GsifPreload));
}

TEST(DefaultRates, TextsThatAreNoWholeNumberAreRejected) {
  for (const char* text : {"", " ", "abc", "44100Hz", " 44100", "44100 ", "44 100", "4.41e4",
                           "--44100", "4294967296", "99999999999", "+", "-"})
    EXPECT_FALSE(RateFromText(text).has_value()) << "'" << text << "'";
  EXPECT_EQ(RateFromText("48000"), 48000);
  EXPECT_EQ(RateFromText("+48000"), 48000);
  EXPECT_EQ(RateFromText("-5"), -5);
  EXPECT_EQ(RateFromText("2147483647"), 2147483647);
  EXPECT_FALSE(RateFromText("2147483648").has_value());
}

TEST(DefaultRates, Clock1TakesSixRatesClock2ARange) {
  std::set<std::int32_t> clock1;
  for (std::int32_t rate = 0; rate <= 200000; ++rate)
    if (IsClock1Rate(rate)) clock1.insert(rate);
  EXPECT_EQ(clock1, (std::set<std::int32_t>{11025, 22050, 32000, 44100, 48000, 96000}));
  EXPECT_FALSE(IsClock1Rate(44000));
  EXPECT_FALSE(IsClock1Rate(8000));
  EXPECT_TRUE(IsClock2Rate(29000));
  EXPECT_TRUE(IsClock2Rate(105000));
  EXPECT_FALSE(IsClock2Rate(28999));
  EXPECT_FALSE(IsClock2Rate(105001));
  EXPECT_FALSE(IsClock2Rate(-29000));
}

}  // namespace
}  // namespace zentra
