// Discovery of cards and devices on the simulated cards: the name parsers,
// the tables it fills, and what it leaves behind when it ends early.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "driver/device_tables.h"
#include "driver/discovery.h"
#include "driver/driver_errors.h"
#include "platform/silent_abort.h"
#include "sim/sim_card_rig.h"

namespace zentra {
namespace {

using sim::CallRecord;
using sim::SimCardRig;

class DiscoveryTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetDeviceTables(); }
  void TearDown() override { ResetDeviceTables(); }

  // Nothing may be left open or allocated by a discovery, whichever way it ended.
  static void ExpectNothingLeft(const SimCardRig& rig) {
    EXPECT_TRUE(rig.wave.OpenHandles().empty());
    EXPECT_TRUE(rig.arena.LiveBlocks().empty());
    EXPECT_TRUE(rig.arena.Misuse().empty());
  }
};

TEST(CardIndexFromNameTest, LastWordNamesTheCard) {
  struct Case {
    const char* name;
    int card;
  };
  const Case cases[] = {
      {"Zentra Analog In", 0},      {"Zentra Analog In I", 0},   {"Zentra Analog In II", 1},
      {"Zentra Analog In III", 2},  {"Zentra Analog In IV", 3},  {"Zentra Analog In V", 0},
      {"Zentra Analog In III ", 2}, {"Zentra Analog In II   ", 1}, {"Zentra Analog In IIIx", 2},
      {"Zentra Analog In IVa", 0},  {"Zentra Analog In XIV", 0}, {"Zentra In ii", 0},
      {"IV", 3},                    {"II ", 1},                  {"", 0},
      {"    ", 0},                  {"Zentra IIII", 2},          {"Zentra II x", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CardIndexFromName(c.name), c.card) << '"' << c.name << '"';
  }
}

TEST(DevNameChannelPairToCardIdTest, ChannelPairGivesCardAndPair) {
  struct Case {
    const char* name;
    int card;
    int pair;
  };
  const Case cases[] = {
      {"Zentra ADAT In 1-2", 0, 0},   {"Zentra ADAT In 7-8", 0, 3},
      {"Zentra ADAT Out 9-10", 1, 0}, {"Zentra ADAT Out 15-16", 1, 3},
      {"Zentra ADAT In 31-32", 3, 3}, {"Zentra ADAT In 33-34", 4, 0},
      {"ADAT 9 -  10  ", 1, 0},       {"A-B 3-4", 0, 1},
      {"ADAT 1-$C", 1, 1},            {"ADAT 1-3", 0, 0},
  };
  for (const Case& c : cases) {
    int pair = -99;
    EXPECT_EQ(DevNameChannelPairToCardId(c.name, 8, pair), c.card) << c.name;
    EXPECT_EQ(pair, c.pair) << c.name;
  }
}

TEST(DevNameChannelPairToCardIdTest, PairNumbersBelowTwoNameNoCard) {
  // Truncating division would put "0" into the digital slot of card 0.
  for (const char* name : {"ADAT 0-1", "ADAT -0", "ADAT 1-+0", "ADAT 1-+1"}) {
    int pair = 0;
    EXPECT_EQ(DevNameChannelPairToCardId(name, 8, pair), -1) << name;
    EXPECT_EQ(pair, -1) << name;
  }
}

TEST(DevNameChannelPairToCardIdTest, MalformedNamesRaiseConversionErrors) {
  int pair = 0;
  try {
    DevNameChannelPairToCardId("Zentra ADAT In 12", 8, pair);
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "DevNameChannelPairToCardId: Separator not found.");
  }
  try {
    DevNameChannelPairToCardId("Zentra ADAT In 1-x2", 8, pair);
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'x2' is not a valid integer value");
  }
  for (const char* name : {"ADAT 1-", "ADAT 1-   ", "ADAT 1-2 3", "ADAT 1-99999999999",
                           "ADAT 1-2147483648", "ADAT 1-+", "ADAT 1-$"}) {
    EXPECT_THROW(DevNameChannelPairToCardId(name, 8, pair), ConversionError) << name;
  }
}

TEST_F(DiscoveryTest, TwoCardsFillTwelveSlotsEachAmongForeignDevices) {
  SimCardRig rig;
  ASSERT_TRUE(rig.scenario.foreignDevices);
  Discover(rig.platform);

  EXPECT_TRUE(DriverOpen);
  EXPECT_EQ(CardCount, 2);
  EXPECT_EQ(RecordDeviceCount, 12);
  EXPECT_EQ(PlaybackDeviceCount, 12);
  for (int slot = 0; slot < kDeviceSlots; ++slot) {
    const int card = slot / 6;
    const int pair = slot % 6;
    const int expectRecord = card < 2 ? rig.DeviceId(card, pair, true) : -1;
    const int expectPlayback = card < 2 ? rig.DeviceId(card, pair, false) : -1;
    EXPECT_EQ(RecordDeviceTable[slot], expectRecord) << slot;
    EXPECT_EQ(PlaybackDeviceTable[slot], expectPlayback) << slot;
  }
  EXPECT_EQ(CardDevnodeTable[0], 0x1001);
  EXPECT_EQ(CardDevnodeTable[1], 0x1002);
  EXPECT_EQ(CardDevnodeTable[2], -1);
  EXPECT_EQ(CardDevnodeTable[3], -1);

  // One query per card: an open on the analog playback device without a
  // callback window, 0x4011 with the block, the close.
  const auto messages = rig.Records(CallRecord::Kind::WaveOutMessage);
  ASSERT_EQ(messages.size(), 2u);
  for (int card = 0; card < 2; ++card) {
    EXPECT_EQ(messages[card].message, 0x4011u);
    EXPECT_EQ(messages[card].deviceSlot, card * 6);
    EXPECT_EQ(messages[card].dw2, 0u);
    // The one block serves every card: it still holds the previous card's number.
    const std::vector<std::uint8_t> before =
        card == 0 ? std::vector<std::uint8_t>{0, 0, 0, 0} : std::vector<std::uint8_t>{1, 0x10, 0, 0};
    EXPECT_EQ(messages[card].blockBefore, before);
    EXPECT_EQ(messages[card].blockAfter,
              (std::vector<std::uint8_t>{static_cast<std::uint8_t>(card + 1), 0x10, 0, 0}));
  }
  const auto opens = rig.Records(CallRecord::Kind::Open);
  ASSERT_EQ(opens.size(), 2u);
  for (const CallRecord& open : opens) {
    EXPECT_EQ(open.message, CALLBACK_NULL);
    EXPECT_EQ(open.dw1, 0u);
    EXPECT_EQ(open.dw2, 0u);
  }
  EXPECT_EQ(rig.Records(CallRecord::Kind::Close).size(), 2u);
  ExpectNothingLeft(rig);
}

TEST_F(DiscoveryTest, DevnodeBlockIsAZeroInitialisedFourByteBlockFreedAfterTheQuery) {
  SimCardRig rig("", 1);
  rig.arena.PinNextSelectors({0x2227});
  Discover(rig.platform);
  const auto messages = rig.Records(CallRecord::Kind::WaveOutMessage);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].dw1, 0x22270000u);
  EXPECT_EQ(CardCount, 1);
  ExpectNothingLeft(rig);
}

TEST_F(DiscoveryTest, NameEndingInIvPutsAnAnalogRecordDeviceIntoCardFour) {
  // Card 1's analog input calls itself card 4: its slot 0 stays empty, slot
  // 18 is filled, and the twelve devices counted still make one card.
  SimCardRig rig("[Card1]\nDeviceNames=AnalogIn=Zentra Analog In IV\n", 1);
  Discover(rig.platform);
  EXPECT_EQ(RecordDeviceTable[18], rig.DeviceId(0, 0, true));
  EXPECT_EQ(RecordDeviceTable[0], -1);
  EXPECT_EQ(CardCount, 1);
  EXPECT_EQ(CardDevnodeTable[0], 0x1001);
  ExpectNothingLeft(rig);
}

TEST_F(DiscoveryTest, SuffixVariantsAndAdatNumbersPlaceDevicesOnOtherCards) {
  SimCardRig rig(
      "[Card1]\n"
      "DeviceNames=DigitalIn=\"Zentra Digital In III \",DigitalOut=Zentra Digital Out IIIx,"
      "AdatOut1=Zentra ADAT Out 9-10\n",
      1);
  Discover(rig.platform);
  EXPECT_EQ(CardCount, 1);
  EXPECT_EQ(RecordDeviceTable[13], rig.DeviceId(0, 1, true));
  EXPECT_EQ(PlaybackDeviceTable[13], rig.DeviceId(0, 1, false));
  EXPECT_EQ(PlaybackDeviceTable[8], rig.DeviceId(0, 2, false));
  EXPECT_EQ(PlaybackDeviceTable[2], -1);
  ExpectNothingLeft(rig);
}

TEST_F(DiscoveryTest, ElevenOfTwelveDevicesMakeNoCard) {
  SimCardRig rig("[Card1]\nMissingDevices=AdatOut4\n", 1);
  Discover(rig.platform);
  EXPECT_EQ(CardCount, 0);
  EXPECT_FALSE(DriverOpen);
  EXPECT_EQ(RecordDeviceCount + PlaybackDeviceCount, 11);
  EXPECT_TRUE(rig.Records(CallRecord::Kind::Open).empty());
  ExpectNothingLeft(rig);
}

TEST_F(DiscoveryTest, TwelveDevicesAndSixOfASecondCardMakeOneCard) {
  SimCardRig rig("[Card2]\nMissingDevices=AnalogIn,DigitalIn,AdatIn1,AdatIn2,AdatIn3,AdatIn4\n", 2);
  Discover(rig.platform);
  EXPECT_EQ(CardCount, 1);
  EXPECT_TRUE(DriverOpen);
  EXPECT_EQ(PlaybackDeviceTable[6], rig.DeviceId(1, 0, false));
  EXPECT_EQ(CardDevnodeTable[0], 0x1001);
  EXPECT_EQ(CardDevnodeTable[1], -1);
  ExpectNothingLeft(rig);
}

TEST_F(DiscoveryTest, NoCardsCloseTheDriver) {
  SimCardRig rig("", 0);
  Discover(rig.platform);
  EXPECT_FALSE(DriverOpen);
  EXPECT_EQ(CardCount, 0);
  ExpectNothingLeft(rig);
}

TEST_F(DiscoveryTest, AdatNameWithoutSeparatorEndsDiscoveryWithItsMessage) {
  SimCardRig rig("[Card1]\nDeviceNames=AdatIn3=Zentra ADAT In\n", 1);
  try {
    Discover(rig.platform);
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "DevNameChannelPairToCardId: Separator not found.");
  }
  // What came before the bad device is kept; nothing after it is looked at.
  EXPECT_TRUE(DriverOpen);
  EXPECT_EQ(CardCount, 0);
  EXPECT_EQ(RecordDeviceTable[3], rig.DeviceId(0, 3, true));
  EXPECT_EQ(RecordDeviceTable[4], -1);
  EXPECT_EQ(PlaybackDeviceCount, 0);
  ExpectNothingLeft(rig);
}

TEST_F(DiscoveryTest, RefusedOpenDuringDevnodeQueryAbortsSilentlyWithoutLeaking) {
  SimCardRig rig("[Card2]\nRefuseOpen=AnalogOut\n", 2);
  EXPECT_THROW(Discover(rig.platform), SilentAbort);
  EXPECT_EQ(CardCount, 2);
  EXPECT_EQ(CardDevnodeTable[0], 0x1001);
  EXPECT_EQ(CardDevnodeTable[1], -1);
  ExpectNothingLeft(rig);
}

TEST_F(DiscoveryTest, UnusableDevnodeBlockSkipsTheQuery) {
  {
    SimCardRig rig;
    rig.arena.FailNextAllocations(1);
    Discover(rig.platform);
    EXPECT_EQ(CardCount, 2);
    EXPECT_EQ(CardDevnodeTable[0], -1);
    EXPECT_TRUE(rig.Records(CallRecord::Kind::Open).empty());
    ExpectNothingLeft(rig);
  }
  {
    SimCardRig rig;
    rig.arena.SetMappingFails(true);
    Discover(rig.platform);
    EXPECT_EQ(CardDevnodeTable[1], -1);
    EXPECT_TRUE(rig.Records(CallRecord::Kind::Open).empty());
    ExpectNothingLeft(rig);  // allocated, not fixed: freed without an unfix
  }
}

TEST_F(DiscoveryTest, RunningAgainStartsFromEmptyTables) {
  {
    SimCardRig rig("", 2);
    Discover(rig.platform);
    ASSERT_EQ(CardCount, 2);
  }
  SimCardRig rig("", 1);
  Discover(rig.platform);
  EXPECT_EQ(CardCount, 1);
  EXPECT_EQ(RecordDeviceTable[6], -1);
  EXPECT_EQ(CardDevnodeTable[1], -1);
}

// A wave layer that lists many card devices of one slot and nothing else.
class CrowdedWave : public WaveApi {
 public:
  std::uint32_t waveInGetNumDevs() override { return 60; }
  std::uint32_t waveOutGetNumDevs() override { return 0; }
  std::uint32_t waveInGetDevCapsA(std::uint32_t, WaveInCaps* caps, std::uint32_t) override {
    *caps = WaveInCaps{190, 14, 0x0401, {}, 0, 2, 0};
    std::strcpy(caps->szPname, "Zentra Analog In");
    return 0;
  }
  std::uint32_t waveOutGetDevCapsA(std::uint32_t, WaveOutCaps*, std::uint32_t) override { return 2; }
  std::uint32_t waveInOpen(WinHandle*, std::uint32_t, const WaveFormatEx*, std::uintptr_t,
                           std::uintptr_t, std::uint32_t) override { return 4; }
  std::uint32_t waveOutOpen(WinHandle*, std::uint32_t, const WaveFormatEx*, std::uintptr_t,
                            std::uintptr_t, std::uint32_t) override {
    ++opens;
    return 4;
  }
  std::uint32_t waveInClose(WinHandle) override { return 5; }
  std::uint32_t waveOutClose(WinHandle) override { return 5; }
  std::uint32_t waveInMessage(WinHandle, std::uint32_t, std::uintptr_t, std::uintptr_t) override { return 8; }
  std::uint32_t waveOutMessage(WinHandle, std::uint32_t, std::uintptr_t, std::uintptr_t) override { return 8; }
  int opens = 0;
};

TEST_F(DiscoveryTest, CardCountNeverExceedsTheTables) {
  // Sixty devices counted into one slot would make five "cards".
  CrowdedWave wave;
  sim::Arena16 arena;
  Platform platform;
  platform.wave = &wave;
  platform.wow16 = &arena;
  EXPECT_THROW(Discover(platform), SilentAbort);  // card 1 has no analog playback device
  EXPECT_EQ(RecordDeviceCount, 60);
  EXPECT_EQ(CardCount, 4);
  EXPECT_EQ(RecordDeviceTable[0], 59);  // the last device of the slot wins
  EXPECT_EQ(wave.opens, 0);
  EXPECT_TRUE(arena.LiveBlocks().empty());
}

TEST(DeviceKindTableTest, FirstPairOfEachKindAndTemplates) {
  EXPECT_EQ(FirstPairIndexOfKind(kKindAnalog, Direction::Record), 0);
  EXPECT_EQ(FirstPairIndexOfKind(kKindDigital, Direction::Playback), 1);
  EXPECT_EQ(FirstPairIndexOfKind(kKindAdat, Direction::Record), 2);
  EXPECT_EQ(DeviceKindTable[kKindAdat].playbackCaps.wPid, 17);
  EXPECT_EQ(DeviceKindTable[kKindDigital].recordCaps.wMid, 190);
  EXPECT_EQ(DeviceKindTable[kKindAnalog].playbackCaps.vDriverVersion, 0x0401u);
}

}  // namespace
}  // namespace zentra
