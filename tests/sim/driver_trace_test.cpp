// The driver trace: one line per call, written as the call is logged, with
// the call log as the oracle; a trace file that cannot be written is
// reported once and never stops the driver.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/driver_trace.h"
#include "sim/sim_driver.h"
#include "support/call_sequence.h"

namespace zentra::sim {
namespace {

#pragma pack(push, 1)
struct ControlFormat {
  WaveFormatEx format{1, 2, 44100, 176400, 4, 16, 4};
  char extra[4] = {'C', 'T', 'R', 'L'};
};
#pragma pack(pop)

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string f; in >> f;) fields.push_back(f);
  return fields;
}

std::vector<std::string> Lines(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

unsigned long long ParseHex(const std::string& field, std::size_t digits) {
  EXPECT_EQ(field.size(), digits + 2) << field;
  EXPECT_EQ(field.compare(0, 2, "0x"), 0) << field;
  EXPECT_EQ(field.find_first_of("abcdef"), std::string::npos) << "upper-case digits: " << field;
  return std::stoull(field.substr(2), nullptr, 16);
}

// The fields a trace line must carry for its call record.
void ExpectLineOf(const std::string& line, const CallRecord& r) {
  SCOPED_TRACE(line);
  const std::vector<std::string> f = Fields(line);
  ASSERT_GE(f.size(), 3u);
  EXPECT_EQ(line, [&] {  // one blank between fields, nothing around them
    std::string joined;
    for (const auto& field : f) joined += (joined.empty() ? "" : " ") + field;
    return joined;
  }());
  std::string bytes;
  switch (r.kind) {
    case CallRecord::Kind::Open:
      ASSERT_EQ(f.size(), 6u);
      EXPECT_EQ(f[1], "open");
      EXPECT_EQ(f[2], r.waveIn ? "in" : "out");
      EXPECT_EQ(std::stoi(f[3]), r.deviceSlot);
      EXPECT_EQ(ParseHex(f[4], 8), r.handle);
      EXPECT_EQ(std::stoul(f[5]), r.result);
      return;
    case CallRecord::Kind::Close:
      ASSERT_EQ(f.size(), 5u);
      EXPECT_EQ(f[1], "close");
      EXPECT_EQ(f[2], r.waveIn ? "in" : "out");
      EXPECT_EQ(ParseHex(f[3], 8), r.handle);
      EXPECT_EQ(std::stoul(f[4]), r.result);
      return;
    case CallRecord::Kind::WaveInMessage:
    case CallRecord::Kind::WaveOutMessage:
      ASSERT_GE(f.size(), 9u);
      EXPECT_EQ(f[1], "msg");
      EXPECT_EQ(f[2], r.kind == CallRecord::Kind::WaveInMessage ? "in" : "out");
      EXPECT_EQ(ParseHex(f[3], 8), r.handle);
      EXPECT_EQ(std::stoi(f[4]), r.deviceSlot);
      EXPECT_EQ(ParseHex(f[5], 4), r.message);
      EXPECT_EQ(ParseHex(f[6], 8), r.dw1);
      EXPECT_EQ(ParseHex(f[7], 8), r.dw2);
      EXPECT_EQ(std::stoul(f[8]), r.result);
      bytes = f.size() > 9 ? f[9] : "";
      EXPECT_LE(f.size(), 10u);
      break;
    case CallRecord::Kind::ConfigCommand:
      ASSERT_GE(f.size(), 5u);
      EXPECT_EQ(f[1], "cmd");
      EXPECT_EQ(f[2], r.command);
      EXPECT_EQ(std::stoul(f[3]), r.blockBefore.size());
      EXPECT_EQ(f[4], r.blockAfter.empty() ? "refused" : r.result != 0 ? "completed" : "never");
      bytes = f.size() > 5 ? f[5] : "";
      EXPECT_LE(f.size(), 6u);
      break;
  }
  EXPECT_EQ(bytes, testing::HexBytes(r.blockAfter));
}

class DriverTraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("zentra-trace-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::unique_ptr<SimDriver> Driver(const std::string& traceFile) {
    auto driver = SimDriver::FromScenarioText("[Driver]\nTraceFile=" + traceFile + "\n");
    driver->cards().SetTimeSource([this] { return now_; });
    return driver;
  }
  // A configuration command as the program runs it, up to its completion.
  void Command(SimDriver& driver, const std::string& name, std::uint32_t size) {
    Arena16& arena = driver.arena();
    const std::uint32_t word = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
    const std::uint32_t block = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, size, nullptr);
    const std::string text = "Zentra.DRV,DriverConfig " + name + " $" + FormatAddress16(block) +
                             " #" + FormatAddress16(word);
    ASSERT_GT(driver.launcher().ShellExecuteA(0, nullptr, "rundll.exe", text.c_str(), "", 10), 32);
    ASSERT_TRUE(driver.launcher().WaitUntilIdle());
    arena.WOWGlobalUnlockFree16(block);
    arena.WOWGlobalUnlockFree16(word);
  }

  std::filesystem::path dir_;
  std::uint64_t now_ = 0;
};

TEST_F(DriverTraceTest, EveryCallIsOneLineThatAgreesWithTheCallLog) {
  const auto path = dir_ / "trace.log";
  auto driver = Driver(path.string());
  ASSERT_TRUE(driver->trace().Active());
  SimWave& wave = driver->wave();
  Arena16& arena = driver->arena();
  const std::uint32_t levels = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT | GMEM_MOVEABLE, 8, nullptr);
  const std::uint32_t state = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT | GMEM_MOVEABLE, 4, nullptr);
  const ControlFormat format;

  // The analog input of card 2 (slot 6): the messages of an input window.
  std::uint32_t device = 0;
  while (wave.RecordDevices()[device].card != 1 || wave.RecordDevices()[device].pair != 0) ++device;
  WinHandle in = 0;
  ASSERT_EQ(wave.waveInOpen(&in, device, &format.format, 0, 0, 0), 0u);
  now_ = 12;
  wave.waveInMessage(in, 0x4034, state, 0);
  wave.waveInMessage(in, 0x4038, 0, 0);
  now_ = 1500;
  wave.waveInMessage(in, 0x403A, levels, 0);
  wave.waveInMessage(in, 0x4035, 0x00020101, 0);
  wave.waveInMessage(0xBAD, 0x4034, state, 0);  // no such handle
  WinHandle refused = 0;
  wave.waveOutOpen(&refused, 0, &format.format, 0, 0, 0);  // another maker's device
  Command(*driver, "getstates", 20);
  Command(*driver, "reconfigurable", 4);
  now_ = 2001;
  wave.waveInMessage(in, 0x4039, 0, 0);
  ASSERT_EQ(wave.waveInClose(in), 0u);
  wave.waveOutClose(in);  // wrong direction: refused

  const std::vector<CallRecord> records = driver->callLog().Records();
  const std::vector<std::string> lines = Lines(path);
  ASSERT_EQ(lines.size(), records.size());
  ASSERT_EQ(records.size(), 12u);
  for (std::size_t i = 0; i < lines.size(); ++i) ExpectLineOf(lines[i], records[i]);

  // Exactly as written, with the times of the driver's clock.
  const std::string handle = FormatAddress16(static_cast<std::uint32_t>(in));
  EXPECT_EQ(lines[0], "0 open in 6 0x" + handle + " 0");
  EXPECT_EQ(lines[1], "12 msg in 0x" + handle + " 6 0x4034 0x" + FormatAddress16(state) +
                          " 0x00000000 0 00010000");
  EXPECT_EQ(lines[2], "12 msg in 0x" + handle + " 6 0x4038 0x00000000 0x00000000 0");
  EXPECT_EQ(Fields(lines[3])[9].size(), 16u) << "two 32-bit peaks";
  EXPECT_NE(Fields(lines[3])[9], "0000000000000000") << "metering shows the signal";
  EXPECT_EQ(lines[5], "1500 msg in 0x00000BAD -1 0x4034 0x" + FormatAddress16(state) +
                          " 0x00000000 5");
  EXPECT_EQ(lines[6], "1500 open out -1 0x00000000 32");
  EXPECT_EQ(lines[7], "1500 cmd getstates 20 completed 0100000001000000010000000000000000000000");
  EXPECT_EQ(lines[8], "1500 cmd reconfigurable 4 completed 01000000");
  EXPECT_EQ(lines[10], "2001 close in 0x" + handle + " 0");
  EXPECT_EQ(lines[11], "2001 close out 0x" + handle + " 5");
}

// The program on the simulated driver polls every metered device ten times
// a second for as long as it runs: a driver that forgets its records keeps
// none of them (nor the opens) in memory, and the trace still gets every
// call.
TEST_F(DriverTraceTest, ADriverThatForgetsItsRecordsStillTracesEveryCall) {
  const auto path = dir_ / "trace.log";
  auto driver = Driver(path.string());
  SimWave& wave = driver->wave();
  const ControlFormat format;
  std::uint32_t device = 0;  // the analog input of card 1
  while (wave.RecordDevices()[device].card != 0 || wave.RecordDevices()[device].pair != 0) ++device;
  WinHandle kept = 0;
  ASSERT_EQ(wave.waveInOpen(&kept, device, &format.format, 0, 0, 0), 0u);
  ASSERT_EQ(driver->callLog().Records().size(), 1u);
  ASSERT_EQ(wave.OpenHistory().size(), 1u);

  driver->SetKeepRecords(false);
  EXPECT_TRUE(driver->callLog().Records().empty()) << "what was kept is let go";
  EXPECT_TRUE(wave.OpenHistory().empty());
  const std::uint32_t levels =
      driver->arena().WOWGlobalAllocLock16(GMEM_ZEROINIT | GMEM_MOVEABLE, 8, nullptr);
  for (int cycle = 0; cycle < 50; ++cycle) {
    WinHandle in = 0;
    ASSERT_EQ(wave.waveInOpen(&in, device, &format.format, 0, 0, 0), 0u);
    for (int poll = 0; poll < 10; ++poll) wave.waveInMessage(in, 0x403A, levels, 0);
    ASSERT_EQ(wave.waveInClose(in), 0u);
  }
  EXPECT_TRUE(driver->callLog().Records().empty());
  EXPECT_TRUE(wave.OpenHistory().empty());
  EXPECT_EQ(wave.OpenHandles().size(), 1u) << "open handles are still known";
  EXPECT_EQ(Lines(path).size(), 1u + 50u * 12u);

  // Keeping again (the tests' default) records from then on.
  driver->SetKeepRecords(true);
  ASSERT_EQ(wave.waveInClose(kept), 0u);
  EXPECT_EQ(driver->callLog().Records().size(), 1u);
  EXPECT_EQ(Lines(path).size(), 2u + 50u * 12u);
}

TEST_F(DriverTraceTest, CommandsThatNeverCompleteOrAreRefusedSayHowTheyEnded) {
  const auto path = dir_ / "trace.log";
  auto driver = Driver(path.string());
  driver->launcher().SetNeverCompletes(true);
  Command(*driver, "getconfig", 832);
  driver->launcher().SetNeverCompletes(false);
  Command(*driver, "formatdisk", 4);
  const std::vector<std::string> lines = Lines(path);
  ASSERT_EQ(lines.size(), 2u);
  const std::vector<std::string> never = Fields(lines[0]);
  ASSERT_EQ(never.size(), 6u);
  EXPECT_EQ(never[1] + " " + never[2] + " " + never[3] + " " + never[4], "cmd getconfig 832 never");
  EXPECT_EQ(never[5].size(), 832u * 2) << "the record as the driver left it";
  EXPECT_EQ(lines[1], "0 cmd formatdisk 0 refused");
}

TEST_F(DriverTraceTest, ARelativeTraceFileLiesBesideTheScenarioFile) {
  {
    std::ofstream(dir_ / "ZentraSim.ini") << "[Driver]\nTraceFile=trace.log\n";
  }
  auto driver = SimDriver::FromScenarioPath((dir_ / "ZentraSim.ini").string(), "");
  WinHandle h = 0;
  const ControlFormat format;
  driver->wave().waveInOpen(&h, 1, &format.format, 0, 0, 0);
  const std::vector<std::string> lines = Lines(dir_ / "trace.log");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(Fields(lines[0])[1], "open");
  driver->wave().waveInClose(h);
  EXPECT_TRUE(driver->Problems().empty());
}

TEST_F(DriverTraceTest, AnUnwritableTraceIsReportedOnceAndTheDriverGoesOn) {
  const ControlFormat format;
  for (const std::string& path : {(dir_ / "no-such-dir" / "trace.log").string(),
                                  std::string("/dev/full")}) {
    SCOPED_TRACE(path);
    auto driver = Driver(path);
    for (int i = 0; i < 3; ++i) {
      WinHandle h = 0;
      ASSERT_EQ(driver->wave().waveInOpen(&h, 1, &format.format, 0, 0, 0), 0u);
      ASSERT_EQ(driver->wave().waveInClose(h), 0u);
    }
    Command(*driver, "getstates", 20);
    EXPECT_FALSE(driver->trace().Active());
    EXPECT_EQ(driver->callLog().Records().size(), 7u) << "the call log goes on";
    const std::vector<std::string> problems = driver->Problems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("TraceFile " + path), std::string::npos) << problems[0];
  }
}

TEST_F(DriverTraceTest, ARefusedMessageAndARefusedCloseShowTheirErrorOnTheirLines) {
  const auto path = dir_ / "trace.log";
  auto driver = SimDriver::FromScenarioText("[Driver]\nTraceFile=" + path.string() +
                                            "\n[Card1]\nRefuseMessages=AnalogIn:0x4034\n"
                                            "RefuseClose=AnalogIn\n");
  driver->cards().SetTimeSource([this] { return now_; });
  EXPECT_TRUE(driver->Problems().empty());
  SimWave& wave = driver->wave();
  const std::uint32_t state =
      driver->arena().WOWGlobalAllocLock16(GMEM_ZEROINIT | GMEM_MOVEABLE, 4, nullptr);
  const ControlFormat format;
  std::uint32_t device = 0;  // the analog input of card 1
  while (wave.RecordDevices()[device].card != 0 || wave.RecordDevices()[device].pair != 0) ++device;
  WinHandle in = 0;
  ASSERT_EQ(wave.waveInOpen(&in, device, &format.format, 0, 0, 0), 0u);
  wave.waveInMessage(in, 0x4034, state, 0);
  wave.waveInMessage(in, 0x4035, 0x00010200, 0);
  wave.waveInClose(in);
  const std::vector<std::string> lines = Lines(path);
  const std::vector<CallRecord> records = driver->callLog().Records();
  ASSERT_EQ(lines.size(), 4u);
  for (std::size_t i = 0; i < lines.size(); ++i) ExpectLineOf(lines[i], records[i]);
  const std::string handle = FormatAddress16(static_cast<std::uint32_t>(in));
  // The refused request names its error and carries no block: the driver
  // wrote nothing.
  EXPECT_EQ(lines[1], "0 msg in 0x" + handle + " 0 0x4034 0x" + FormatAddress16(state) + " 0x00000000 1");
  EXPECT_EQ(lines[2], "0 msg in 0x" + handle + " 0 0x4035 0x00010200 0x00000000 0");
  EXPECT_EQ(lines[3], "0 close in 0x" + handle + " 1");
}

TEST_F(DriverTraceTest, NoTraceFileNoTrace) {
  auto driver = SimDriver::FromScenarioText("");
  EXPECT_FALSE(driver->trace().Active());
  EXPECT_TRUE(driver->Problems().empty());
}

}  // namespace
}  // namespace zentra::sim
