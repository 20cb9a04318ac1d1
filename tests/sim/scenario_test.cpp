#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/driver_scenario.h"
#include "sim/scenario_file.h"
#include "sim/sim_driver.h"

namespace zentra::sim {
namespace {

bool AnyProblemContains(const ScenarioFile& file, const std::string& part) {
  for (const auto& p : file.Problems())
    if (p.find(part) != std::string::npos) return true;
  return false;
}

TEST(ScenarioFile, SectionsKeysCommentsAndCaseInsensitiveNames) {
  const ScenarioFile file = ScenarioFile::FromText(
      "; a scenario\n"
      "[Driver]\r\n"
      "  State = -19  \n"
      "\n"
      "[cards]\n"
      "COUNT=3 ; three cards\n"
      "Name=Studio; with a semicolon\n");
  EXPECT_TRUE(file.Problems().empty());
  EXPECT_EQ(file.GetInt("driver", "state", 1), -19);
  EXPECT_EQ(file.GetInt("CARDS", "count", 2, 0, 4), 3);
  EXPECT_EQ(file.GetString("Cards", "Name", ""), "Studio; with a semicolon");
  EXPECT_EQ(file.LineOf("Cards", "Count"), 6);
  EXPECT_TRUE(file.HasSection("DRIVER"));
  EXPECT_FALSE(file.HasKey("Driver", "Count"));
}

TEST(ScenarioFile, MalformedValuesNameFileLineAndKeyAndGiveTheDefault) {
  const ScenarioFile file = ScenarioFile::FromText(
      "[Driver]\nState=ready\nReconfigurable=maybe\n[Cards]\nCount=7\nStates=1,x,0\n",
      "ZentraSim.ini");
  EXPECT_EQ(file.GetInt("Driver", "State", 1), 1);
  EXPECT_TRUE(file.GetBool("Driver", "Reconfigurable", true));
  EXPECT_EQ(file.GetInt("Cards", "Count", 2, 0, 4), 2);
  EXPECT_EQ(file.GetIntList("Cards", "States", {5}), std::vector<std::int32_t>{5});
  EXPECT_TRUE(AnyProblemContains(file, "ZentraSim.ini, line 2, [Driver] State: \"ready\""));
  EXPECT_TRUE(AnyProblemContains(file, "line 3, [Driver] Reconfigurable"));
  EXPECT_TRUE(AnyProblemContains(file, "line 5, [Cards] Count: 7 is outside 0..4"));
  EXPECT_TRUE(AnyProblemContains(file, "line 6, [Cards] States: item 2 \"x\""));
  // Reading a bad key again does not repeat its problem.
  file.GetInt("Driver", "State", 1);
  EXPECT_EQ(file.Problems().size(), 4u);
}

TEST(ScenarioFile, BrokenLinesAreReportedAndSkipped) {
  const ScenarioFile file = ScenarioFile::FromText(
      "Orphan=1\n[Driver\nState=3\n[Driver]\njust text\nState=4\nState=5\n");
  EXPECT_EQ(file.GetInt("Driver", "State", 1), 4) << "the first value of a repeated key";
  EXPECT_TRUE(AnyProblemContains(file, "line 1: key Orphan stands outside a section"));
  EXPECT_TRUE(AnyProblemContains(file, "line 2: malformed section header"));
  EXPECT_TRUE(AnyProblemContains(file, "line 5: expected key=value"));
  EXPECT_TRUE(AnyProblemContains(file, "line 7: key State repeats line 6"));
}

TEST(ScenarioFile, NumbersAndBooleans) {
  std::int32_t v = 0;
  EXPECT_TRUE(ParseInt32("-2147483648", &v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_FALSE(ParseInt32("2147483648", &v));
  EXPECT_TRUE(ParseInt32("0xFFFFFFFF", &v));
  EXPECT_EQ(v, -1);
  EXPECT_FALSE(ParseInt32("12abc", &v));
  EXPECT_FALSE(ParseInt32("", &v));
  EXPECT_FALSE(ParseInt32("0x", &v));

  const ScenarioFile file = ScenarioFile::FromText("[A]\nB1=yes\nB2=Off\nB3=TRUE\nL=\n");
  EXPECT_TRUE(file.GetBool("A", "B1", false));
  EXPECT_FALSE(file.GetBool("A", "B2", true));
  EXPECT_TRUE(file.GetBool("A", "B3", false));
  EXPECT_TRUE(file.GetIntList("A", "L", {1, 2}).empty()) << "an empty list is a list";
  EXPECT_TRUE(file.Problems().empty());
}

TEST(ScenarioFile, MissingFileIsTheEmptyScenario) {
  const ScenarioFile file = ScenarioFile::FromPath("/nonexistent/dir/ZentraSim.ini");
  EXPECT_FALSE(file.Present());
  EXPECT_TRUE(file.Problems().empty());
  EXPECT_EQ(file.GetInt("Cards", "Count", 2), 2);
}

TEST(ScenarioFile, ReadsAFileFromDisk) {
  const auto path = std::filesystem::temp_directory_path() / "zentra_scenario_test.ini";
  {
    std::ofstream out(path);
    out << "\xEF\xBB\xBF[Cards]\nCount=1\n";
  }
  const ScenarioFile file = ScenarioFile::FromPath(path.string());
  std::filesystem::remove(path);
  EXPECT_TRUE(file.Present());
  EXPECT_EQ(file.GetInt("Cards", "Count", 2), 1);
}

TEST(DriverScenario, DefaultsAreTwoHealthyCards) {
  const DriverScenario s = DriverScenario::Read(ScenarioFile());
  EXPECT_EQ(s.driverState, 1);
  EXPECT_TRUE(s.reconfigurable);
  EXPECT_EQ(s.commandDelayMs, 0);
  EXPECT_FALSE(s.commandNeverCompletes);
  EXPECT_FALSE(s.launchFails);
  EXPECT_EQ(s.failAllocation, 0);
  EXPECT_EQ(s.cardCount, 2);
  EXPECT_EQ(s.cardStates, (std::array<std::int32_t, 4>{1, 1, 0, 0}));
}

TEST(DriverScenario, KeysAndCardStates) {
  const ScenarioFile file = ScenarioFile::FromText(
      "[Driver]\nState=-27\nReconfigurable=0\nCommandDelayMs=250\nCommandNeverCompletes=1\n"
      "LaunchFails=1\n[Cards]\nCount=3\nStates=1,-22\n");
  const DriverScenario s = DriverScenario::Read(file);
  EXPECT_TRUE(file.Problems().empty());
  EXPECT_EQ(s.driverState, -27);
  EXPECT_FALSE(s.reconfigurable);
  EXPECT_EQ(s.commandDelayMs, 250);
  EXPECT_TRUE(s.commandNeverCompletes);
  EXPECT_TRUE(s.launchFails);
  EXPECT_EQ(s.cardCount, 3);
  // States not given follow the card count.
  EXPECT_EQ(s.cardStates, (std::array<std::int32_t, 4>{1, -22, 1, 0}));
}

TEST(DriverScenario, FailAllocationRefusesThatAllocationOfTheDriversRun) {
  auto driver = SimDriver::FromScenarioText("[Driver]\nFailAllocation=2\n");
  Arena16& arena = driver->arena();
  std::uint16_t handle = 1;
  EXPECT_NE(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, &handle), 0u);
  EXPECT_EQ(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, &handle), 0u);
  EXPECT_EQ(handle, 0);
  EXPECT_NE(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, &handle), 0u);

  const ScenarioFile bad = ScenarioFile::FromText("[Driver]\nFailAllocation=-1\n");
  EXPECT_EQ(DriverScenario::Read(bad).failAllocation, 0);
  EXPECT_EQ(bad.Problems().size(), 1u);
}

TEST(DriverScenario, TooManyStatesOrBadDelayFallBackWithAProblem) {
  const ScenarioFile file =
      ScenarioFile::FromText("[Driver]\nCommandDelayMs=-5\n[Cards]\nCount=1\nStates=1,1,1,1,1\n");
  const DriverScenario s = DriverScenario::Read(file);
  EXPECT_EQ(s.commandDelayMs, 0);
  EXPECT_EQ(s.cardStates, (std::array<std::int32_t, 4>{1, 0, 0, 0}));
  EXPECT_EQ(file.Problems().size(), 2u);
}

}  // namespace
}  // namespace zentra::sim
