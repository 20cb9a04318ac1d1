// Card scenario keys and the device-removal source of the simulated driver.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "sim/card_scenario.h"
#include "sim/sim_card_rig.h"
#include "sim/sim_driver.h"
#include "sim/sim_removal.h"

namespace zentra::sim {
namespace {

TEST(CardScenarioTest, DefaultsWithoutKeys) {
  const CardScenario s = CardScenario::Read(ScenarioFile());
  EXPECT_EQ(s.cards[0].inputRate, 44100u);
  EXPECT_EQ(s.cards[3].devnode, 0x1004u);
  EXPECT_FALSE(s.cards[1].missing.Has(true, 0));
  EXPECT_TRUE(s.foreignDevices);
  EXPECT_EQ(s.removeCard, 0);
}

TEST(CardScenarioTest, KeysOfEachCard) {
  const ScenarioFile file = ScenarioFile::FromText(
      "[Driver]\nRemoveCard=2\nRemoveCardAfterMs=1500\n"
      "[Wave]\nForeignDevices=0\n"
      "[Card2]\n"
      "InputRate=0\n"
      "InputRateSteps=5000:48000, 1000:96000\n"
      "OtherAppPlaying=2\n"
      "MissingDevices=1, AdatOut3\n"
      "RefuseOpen=adatin4\n"
      "DeviceNames=AnalogIn=\"Zentra Analog In III \",AdatIn1=Zentra ADAT In,AdatOut2=\"ADAT, 3-4\"\n"
      "Devnode=0x4711\n"
      "AnalogOutputSource=4,2,3\n"
      "Volume=0xFFFF0000\n"
      "Mute=0,65535\n");
  const CardScenario s = CardScenario::Read(file);
  EXPECT_TRUE(file.Problems().empty()) << file.Problems().front();
  const CardSetup& c = s.cards[1];
  EXPECT_EQ(c.inputRate, 0u);
  ASSERT_EQ(c.inputRateSteps.size(), 2u);
  EXPECT_EQ(c.inputRateSteps[0], (std::pair<std::uint32_t, std::uint32_t>{1000, 96000}));
  EXPECT_EQ(c.otherAppPlaying, 2);
  EXPECT_TRUE(c.missing.Has(true, 1));
  EXPECT_TRUE(c.missing.Has(false, 1));
  EXPECT_TRUE(c.missing.Has(false, 4));
  EXPECT_FALSE(c.missing.Has(true, 4));
  EXPECT_TRUE(c.refuseOpen.Has(true, 5));
  EXPECT_EQ(c.recordNames[0].value_or(""), "Zentra Analog In III ");
  EXPECT_EQ(c.recordNames[2].value_or(""), "Zentra ADAT In");
  EXPECT_EQ(c.playbackNames[3].value_or(""), "ADAT, 3-4");  // quotes keep the comma
  EXPECT_FALSE(c.recordNames[3].has_value());
  EXPECT_EQ(c.devnode, 0x4711u);
  EXPECT_EQ(c.analogOutputSource, (std::array<std::uint8_t, 3>{4, 2, 3}));
  EXPECT_EQ(c.volume, 0xFFFF0000u);
  EXPECT_EQ(c.mute, (std::array<std::uint16_t, 2>{0, 65535}));
  EXPECT_FALSE(s.foreignDevices);
  EXPECT_EQ(s.removeCard, 2);
  EXPECT_EQ(s.removeCardAfterMs, 1500u);
}

TEST(CardScenarioTest, MalformedValuesAreReportedWithFileAndKey) {
  const ScenarioFile file = ScenarioFile::FromText(
      "[Card1]\nMissingDevices=AnalogSideways\nDeviceNames=Nowhere=x\n"
      "InputRateSteps=soon\nAnalogInputState=1,2\nVolume=loud\n",
      "cards.ini");
  const CardScenario s = CardScenario::Read(file);
  const auto problems = file.Problems();
  ASSERT_EQ(problems.size(), 5u);
  for (const std::string& p : problems) EXPECT_NE(p.find("cards.ini"), std::string::npos) << p;
  EXPECT_EQ(s.cards[0].analogInputState, (std::array<std::uint8_t, 4>{0, 1, 0, 0}));
  EXPECT_EQ(s.cards[0].volume, 0xC000C000u);
}

TEST(CardScenarioTest, OutputSourceStepsAreReadLikeRateStepsWithTheSourceCodesOfEachOutput) {
  const ScenarioFile file = ScenarioFile::FromText(
      "[Card2]\nAnalogOutputSourceSteps=3000:4, 1000:1,,2000:0\n"
      "DigitalOutputSourceSteps=500:4,700:3,soon:1,800:-1\n",
      "steps.ini");
  const CardScenario s = CardScenario::Read(file);
  EXPECT_EQ(s.cards[1].outputSourceSteps[0], (TimedSteps{{1000, 1}, {2000, 0}, {3000, 4}}));
  EXPECT_EQ(s.cards[1].outputSourceSteps[1], (TimedSteps{{700, 3}})) << "4 is no digital source";
  const auto problems = file.Problems();
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_NE(problems[0].find("steps.ini, line 3, [Card2] DigitalOutputSourceSteps: \"500:4\" is "
                             "not milliseconds:source (source 0 to 3)"),
            std::string::npos)
      << problems[0];
  EXPECT_TRUE(s.cards[0].outputSourceSteps[0].empty());
}

TEST(CardScenarioTest, TimedStepsGiveTheValueInForceAndForgetDueOnes) {
  TimedSteps steps{{10, 1}, {20, 2}, {20, 3}, {30, 4}};
  EXPECT_EQ(ValueAt(steps, 9, 7), 7u);
  EXPECT_EQ(ValueAt(steps, 10, 7), 1u);
  EXPECT_EQ(ValueAt(steps, 25, 7), 3u) << "of two steps at one time the later given";
  DropDueSteps(steps, 20);
  EXPECT_EQ(steps, (TimedSteps{{30, 4}}));
  EXPECT_EQ(ValueAt(steps, 25, 7), 7u);
  DropDueSteps(steps, 1000);
  EXPECT_TRUE(steps.empty());
}

TEST(CardScenarioTest, RateStepsChangeTheMeasuredRateOverTime) {
  SimCardRig rig("[Card1]\nInputRateSteps=1000:48000,2000:0\n", 1);
  rig.now = 999;
  EXPECT_EQ(rig.cards.MeasuredInputRate(0), 44100u);
  rig.now = 1000;
  EXPECT_EQ(rig.cards.MeasuredInputRate(0), 48000u);
  rig.now = 2500;
  EXPECT_EQ(rig.cards.MeasuredInputRate(0), 0u);
}

TEST(CardScenarioTest, ForeignDevicesCanBeLeftOut) {
  SimCardRig rig("[Wave]\nForeignDevices=0\n", 1);
  EXPECT_EQ(rig.wave.waveInGetNumDevs(), 6u);
  EXPECT_EQ(rig.wave.waveOutGetNumDevs(), 6u);
}

TEST(DeviceRemovalSourceTest, RaisesTheQueryWithTheCardsDevnodeRecord) {
  SimCardRig rig("[Card2]\nDevnode=0x2222\n", 2);
  DeviceRemovalSource source(rig.cards);
  EXPECT_FALSE(source.RaiseRemovalQuery(1));  // no callback yet
  std::uint32_t event = 0;
  const DevBroadcastDevnode* record = nullptr;
  source.SetCallback([&](std::uint32_t e, const DevBroadcastDevnode* r) {
    event = e;
    record = r;
  });
  EXPECT_FALSE(source.RaiseRemovalQuery(2));  // card 3 is not present
  ASSERT_TRUE(source.RaiseRemovalQuery(1));
  EXPECT_EQ(event, DBT_DEVICEQUERYREMOVE);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record, &source.RecordOf(1));  // stays valid while the source lives
  EXPECT_EQ(record->dbcd_size, 16u);
  EXPECT_EQ(record->dbcd_devicetype, DBT_DEVTYP_DEVNODE);
  EXPECT_EQ(record->dbcd_devnode, 0x2222u);
}

TEST(DeviceRemovalSourceTest, ScheduledQueryArrivesOnceAndCanBeCancelled) {
  SimCardRig rig("[Driver]\nRemoveCard=1\nRemoveCardAfterMs=0\n", 2);
  {
    DeviceRemovalSource source(rig.cards);
    std::promise<std::uint32_t> raised;
    source.SetCallback([&](std::uint32_t, const DevBroadcastDevnode* r) {
      raised.set_value(r->dbcd_devnode);
    });
    source.ScheduleFromScenario();
    auto future = raised.get_future();
    ASSERT_EQ(future.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(future.get(), 0x1001u);
  }
  {
    DeviceRemovalSource source(rig.cards);
    int calls = 0;
    source.SetCallback([&](std::uint32_t, const DevBroadcastDevnode*) { ++calls; });
    source.ScheduleRemoval(0, 60000);
    source.Cancel();  // returns at once, the thread is gone
    EXPECT_EQ(calls, 0);
  }
}

}  // namespace
}  // namespace zentra::sim

namespace zentra::sim {
namespace {

TEST(SimDriverCardsTest, TheDriverPresentsTheCardsOfItsScenario) {
  auto driver = SimDriver::FromScenarioText(
      "[Cards]\nCount=3\n[Card3]\nDevnode=0x3333\nMissingDevices=AdatIn4\n");
  EXPECT_EQ(driver->cards().CardCount(), 3);
  EXPECT_EQ(driver->wave().waveInGetNumDevs(), 3u * 6 - 1 + 2);
  EXPECT_EQ(driver->wave().waveOutGetNumDevs(), 3u * 6 + 2);
  EXPECT_EQ(driver->removal().RecordOf(2).dbcd_devnode, 0x3333u);
  EXPECT_TRUE(driver->Problems().empty());
}

}  // namespace
}  // namespace zentra::sim

namespace zentra::sim {
namespace {

TEST(CardScenarioTest, RefusedMessagesAndClosesArePerDeviceAndMalformedEntriesReported) {
  const ScenarioFile file = ScenarioFile::FromText(
      "[Card2]\nRefuseMessages=DigitalIn:0x4034, DigitalOut:400d,AnalogIn:0x4034,nowhere:0x1,"
      "AnalogOut:,AnalogOut:0xzz,AdatIn1\n"
      "RefuseClose=AnalogOut, 1\n",
      "refusals.ini");
  const CardScenario s = CardScenario::Read(file);
  const CardSetup& c = s.cards[1];
  ASSERT_EQ(c.refuseMessages.size(), 3u);
  EXPECT_TRUE(c.RefusesMessage(true, 1, 0x4034));    // DigitalIn
  EXPECT_FALSE(c.RefusesMessage(false, 1, 0x4034));  // not DigitalOut
  EXPECT_TRUE(c.RefusesMessage(false, 1, 0x400D));   // hexadecimal without 0x
  EXPECT_FALSE(c.RefusesMessage(false, 1, 0x400E));
  EXPECT_TRUE(c.RefusesMessage(true, 0, 0x4034));
  EXPECT_FALSE(s.cards[0].RefusesMessage(true, 1, 0x4034)) << "only card 2";
  EXPECT_TRUE(c.refuseClose.Has(false, 0));
  EXPECT_FALSE(c.refuseClose.Has(true, 0));
  EXPECT_TRUE(c.refuseClose.Has(true, 1));
  EXPECT_TRUE(c.refuseClose.Has(false, 1));
  const auto problems = file.Problems();
  ASSERT_EQ(problems.size(), 4u);  // nowhere, AnalogOut:, AnalogOut:0xzz, AdatIn1
  for (const std::string& p : problems) EXPECT_NE(p.find("RefuseMessages"), std::string::npos) << p;
}

TEST(SimDriverCardsTest, KeysNoReaderKnowsAreReportedWithTheirLines) {
  auto driver = SimDriver::FromScenarioText(
      "[Cards]\nCount=2\nCuont=3\n[Card1]\nRefuseMessage=DigitalIn:0x4034\n[Card5]\nInputRate=1\n"
      "[Driver]\nState=1\n");
  const std::vector<std::string> problems = driver->Problems();
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_NE(problems[0].find("line 3, [Cards] Cuont: unknown key"), std::string::npos) << problems[0];
  EXPECT_NE(problems[1].find("line 5, [Card1] RefuseMessage: unknown key"), std::string::npos) << problems[1];
  EXPECT_NE(problems[2].find("[Card5] InputRate: unknown key"), std::string::npos) << problems[2];
  // Every documented key is known.
  auto known = SimDriver::FromScenarioText(
      "[Driver]\nState=1\nReconfigurable=1\nCommandDelayMs=0\nCommandNeverCompletes=0\n"
      "CommandsNeverComplete=getconfig\nLaunchFails=0\nFailAllocation=0\nRemoveCard=0\n"
      "RemoveCardAfterMs=0\n[Cards]\nCount=2\nStates=1,1\n[Wave]\nForeignDevices=1\n"
      "[Card1]\nInputRate=44100\nInputRateSteps=1:0\nOtherAppPlaying=0\nAdatInUse=0\n"
      "DigitalInUse=0\nRefuseSourceChange=0\nRefuseInputRate=0\nMissingDevices=\nRefuseOpen=\n"
      "RefuseMeterStart=\nRefusePeaks=\nRefuseClose=\nRefuseMessages=\nDeviceNames=\nDevnode=0\n"
      "AnalogInputState=0,1,0,0\nDigitalInputState=1,1,0,0\nAnalogOutputSource=0,0,1\n"
      "DigitalOutputSource=0,0,0\nAnalogOutputSourceSteps=1:0\nDigitalOutputSourceSteps=1:0\n"
      "ChannelStatus=0x20\nVolume=0xC000C000\nMute=0,0\n");
  for (const std::string& p : known->Problems()) ADD_FAILURE() << p;
}

}  // namespace
}  // namespace zentra::sim
