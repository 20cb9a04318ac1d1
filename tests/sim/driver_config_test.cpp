#include <gtest/gtest.h>

#include <cstring>

#include "sim/driver_config.h"
#include "sim/sim_driver.h"
#include "support/le_bytes.h"

namespace zentra::sim {
namespace {

using zentra::testing::LeInt32;

TEST(ParseConfigCommandText, AcceptsOnlyTheExactForm) {
  ParsedConfigCommand p;
  ASSERT_TRUE(ParseConfigCommandText("getstates $1A2F0000 #1A370000", &p));
  EXPECT_EQ(p.name, "getstates");
  EXPECT_EQ(p.recordAddress, 0x1A2F0000u);
  EXPECT_EQ(p.completionAddress, 0x1A370000u);
  EXPECT_FALSE(ParseConfigCommandText("getstates $1a2f0000 #1A370000", &p)) << "lower case";
  EXPECT_FALSE(ParseConfigCommandText("getstates $1A2F000 #1A370000", &p)) << "7 digits";
  EXPECT_FALSE(ParseConfigCommandText("getstates  $1A2F0000 #1A370000", &p)) << "two blanks";
  EXPECT_FALSE(ParseConfigCommandText("getstates #1A2F0000 $1A370000", &p)) << "swapped";
  EXPECT_FALSE(ParseConfigCommandText("getstates $1A2F0000 #1A370000 ", &p)) << "trailing";
  EXPECT_FALSE(ParseConfigCommandText("getstates", &p));
}

// The driver side alone: blocks set up in the arena as the program would.
class DriverConfigEntryTest : public ::testing::Test {
 protected:
  std::string Command(const std::string& name, std::uint32_t size) {
    word_ = arena_.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
    block_ = arena_.WOWGlobalAllocLock16(GMEM_ZEROINIT, size, nullptr);
    return name + " $" + FormatAddress16(block_) + " #" + FormatAddress16(word_);
  }
  std::uint32_t Word() {
    std::uint32_t w = 0;
    arena_.Read(word_, &w, 4);
    return w;
  }
  Arena16 arena_;
  CallLog log_;
  DriverScenario scenario_;
  ConfigStore store_;
  DriverConfigEntry entry_{arena_, log_, scenario_, store_};
  std::uint32_t word_ = 0, block_ = 0;
};

TEST_F(DriverConfigEntryTest, GetStatesFillsTheRecordThenCompletes) {
  scenario_.driverState = -19;
  scenario_.cardStates = {-19, 1, 0, 0};
  const std::string text = Command("getstates", 20);
  ASSERT_TRUE(entry_.Run(text));
  const auto* r = static_cast<std::uint8_t*>(arena_.Resolve(block_, 20));
  EXPECT_EQ(LeInt32(r), -19);
  EXPECT_EQ(LeInt32(r + 4), -19);
  EXPECT_EQ(LeInt32(r + 8), 1);
  EXPECT_NE(Word(), 0u);
  const auto records = log_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].kind, CallRecord::Kind::ConfigCommand);
  EXPECT_EQ(records[0].command, "getstates");
  EXPECT_EQ(records[0].parameters, text);
  EXPECT_EQ(records[0].blockBefore, std::vector<std::uint8_t>(20, 0));
  EXPECT_EQ(LeInt32(records[0].blockAfter.data()), -19);
}

TEST_F(DriverConfigEntryTest, ReconfigurableAnswersFromTheScenario) {
  scenario_.reconfigurable = false;
  const std::uint32_t one = 1;
  const std::string text = Command("reconfigurable", 4);
  arena_.Write(block_, &one, 4);
  ASSERT_TRUE(entry_.Run(text));
  EXPECT_EQ(LeInt32(static_cast<std::uint8_t*>(arena_.Resolve(block_, 4))), 0);
}

TEST_F(DriverConfigEntryTest, SetConfigIsTakenOverAndGetConfigGivesItBack) {
  std::vector<std::uint8_t> record(832);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 7);
  std::string text = Command("setconfig", 832);
  arena_.Write(block_, record.data(), 832);
  ASSERT_TRUE(entry_.Run(text));
  EXPECT_TRUE(std::equal(record.begin(), record.end(), store_.Record().begin()));

  text = Command("getconfig", 832);
  ASSERT_TRUE(entry_.Run(text));
  EXPECT_EQ(std::memcmp(arena_.Resolve(block_, 832), record.data(), 832), 0);

  std::vector<std::uint8_t> onTheFly(48, 0x11);
  text = Command("setconfig_onthefly", 48);
  arena_.Write(block_, onTheFly.data(), 48);
  ASSERT_TRUE(entry_.Run(text));
  EXPECT_TRUE(std::equal(onTheFly.begin(), onTheFly.end(), store_.OnTheFly().begin()));
}

TEST_F(DriverConfigEntryTest, UnknownCommandsAndBadAddressesCompleteNothingButAreLogged) {
  EXPECT_FALSE(entry_.Run(Command("selfdestruct", 20)));
  EXPECT_EQ(Word(), 0u);
  // A block too small for the record.
  EXPECT_FALSE(entry_.Run(Command("getconfig", 100)));
  EXPECT_EQ(Word(), 0u);
  EXPECT_FALSE(entry_.Run("getstates $0BAD0000 #0BAD0000"));
  EXPECT_FALSE(entry_.Run("garbage"));
  const auto records = log_.Records();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].command, "selfdestruct");
  EXPECT_EQ(records[3].parameters, "garbage");
  for (const auto& r : records) EXPECT_TRUE(r.blockAfter.empty());
}

TEST_F(DriverConfigEntryTest, ANeverCompletingDriverStillWritesTheRecord) {
  const std::string text = Command("getstates", 20);
  ASSERT_TRUE(entry_.Run(text, /*writeCompletion=*/false));
  EXPECT_EQ(Word(), 0u);
  EXPECT_EQ(LeInt32(static_cast<std::uint8_t*>(arena_.Resolve(block_, 20))), 1);
}

TEST(SimLauncher, AcceptsOnlyTheDriverEntryAndRunsOnItsThread) {
  auto driver = SimDriver::FromScenarioText("");
  SimLauncher& launcher = driver->launcher();
  EXPECT_EQ(launcher.ShellExecuteA(0, nullptr, "notepad.exe",
                                   "Zentra.DRV,DriverConfig getstates $10070000 #100F0000", "", 10),
            2);
  EXPECT_EQ(launcher.ShellExecuteA(0, nullptr, "rundll.exe", "Other.DRV,DriverConfig x", "", 10),
            2);
  EXPECT_EQ(launcher.ShellExecuteA(0, nullptr, "rundll.exe", nullptr, "", 10), 2);
  EXPECT_EQ(launcher.LaunchCount(), 0);

  Arena16& arena = driver->arena();
  const std::uint32_t word = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
  const std::uint32_t block = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 20, nullptr);
  const std::string params = "Zentra.DRV,DriverConfig getstates $" + FormatAddress16(block) +
                             " #" + FormatAddress16(word);
  EXPECT_GT(launcher.ShellExecuteA(0, nullptr, "rundll.exe", params.c_str(), "", 10), 32);
  ASSERT_TRUE(launcher.WaitUntilIdle());
  ASSERT_EQ(driver->callLog().Records().size(), 1u);
  EXPECT_EQ(driver->callLog().Records()[0].parameters, params.substr(24));
}

TEST(SimLauncher, LaunchFailsScenarioReturnsFileNotFound) {
  auto driver = SimDriver::FromScenarioText("[Driver]\nLaunchFails=1\n");
  EXPECT_EQ(driver->launcher().ShellExecuteA(0, nullptr, "rundll.exe",
                                             "Zentra.DRV,DriverConfig getstates $10070000 #100F0000",
                                             "", 10),
            2);
  EXPECT_TRUE(driver->Problems().empty());
}

TEST(SimLauncher, NamedCommandsNeverCompleteAndOthersDo) {
  auto driver = SimDriver::FromScenarioText(
      "[Driver]\nCommandsNeverComplete=SetConfig, reconfigurable ,frobnicate\n");
  EXPECT_EQ(driver->scenario().commandsNeverComplete,
            (std::vector<std::string>{"setconfig", "reconfigurable"}));
  const std::vector<std::string> problems = driver->Problems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("frobnicate"), std::string::npos) << problems[0];

  Arena16& arena = driver->arena();
  const auto run = [&](const std::string& name, std::uint32_t size) {
    const std::uint32_t word = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
    const std::uint32_t block = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, size, nullptr);
    const std::string params = "Zentra.DRV,DriverConfig " + name + " $" + FormatAddress16(block) +
                               " #" + FormatAddress16(word);
    EXPECT_GT(driver->launcher().ShellExecuteA(0, nullptr, "rundll.exe", params.c_str(), "", 10), 32);
    EXPECT_TRUE(driver->launcher().WaitUntilIdle());
    std::uint32_t done = 0;
    arena.Read(word, &done, 4);
    return done;
  };
  EXPECT_EQ(run("setconfig", 832), 0u);
  EXPECT_EQ(run("reconfigurable", 4), 0u);
  EXPECT_NE(run("getconfig", 832), 0u);
  driver->launcher().SetCommandsNeverComplete({"getconfig"});
  EXPECT_EQ(run("getconfig", 832), 0u);
  EXPECT_NE(run("setconfig", 832), 0u);
}

TEST(SimLauncher, StoppingDuringADelayDoesNotHang) {
  auto driver = SimDriver::FromScenarioText("[Driver]\nCommandDelayMs=600000\n");
  EXPECT_GT(driver->launcher().ShellExecuteA(0, nullptr, "rundll.exe",
                                             "Zentra.DRV,DriverConfig getstates $10070000 #100F0000",
                                             "", 10),
            32);
  driver->Shutdown();  // must return at once, not after ten minutes
  EXPECT_EQ(driver->launcher().ShellExecuteA(0, nullptr, "rundll.exe",
                                             "Zentra.DRV,DriverConfig getstates $10070000 #100F0000",
                                             "", 10),
            2);
  EXPECT_TRUE(driver->callLog().Records().empty());
}

}  // namespace
}  // namespace zentra::sim
