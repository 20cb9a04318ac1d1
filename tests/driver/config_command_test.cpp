#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <memory>
#include <string>
#include <vector>

#include "driver/config_command.h"
#include "platform/host/host_kernel_api.h"
#include "sim/sim_driver.h"
#include "support/le_bytes.h"

namespace zentra {
namespace {

using testing::LeInt32;

// The launcher as the program's shell service, recording what it was given.
class RecordingShell : public ShellApi {
 public:
  struct Call {
    WinHandle owner;
    bool verbIsNull;
    std::string file, parameters;
    bool directoryIsNull;
    std::string directory;
    int show;
  };
  explicit RecordingShell(sim::SimLauncher& launcher) : launcher_(launcher) {}
  std::intptr_t ShellExecuteA(WinHandle owner, const char* verb, const char* file,
                              const char* parameters, const char* directory,
                              int show) override {
    calls.push_back({owner, verb == nullptr, file ? file : "", parameters ? parameters : "",
                     directory == nullptr, directory ? directory : "", show});
    return launcher_.ShellExecuteA(owner, verb, file, parameters, directory, show);
  }
  bool Shell_NotifyIconA(std::uint32_t, const NotifyIconRecord&) override { return true; }
  // Answers the launch with this process handle (0: none, as a shell
  // without processes).
  bool ShellExecuteExA(ShellExecuteRecord& record) override {
    masks.push_back(record.mask);
    const bool launched = ShellApi::ShellExecuteExA(record);
    record.process = launched ? processToHandBack : 0;
    return launched;
  }
  std::vector<Call> calls;
  std::vector<std::uint32_t> masks;
  WinHandle processToHandBack = 0;

 private:
  sim::SimLauncher& launcher_;
};

// The arena as the program's memory service, recording the order of frees.
class RecordingWow : public Wow16Api {
 public:
  explicit RecordingWow(sim::Arena16& arena) : arena_(arena) {}
  std::uint32_t WOWGlobalAllocLock16(std::uint16_t flags, std::uint32_t size,
                                     std::uint16_t* handle) override {
    allocFlags.push_back(flags);
    return arena_.WOWGlobalAllocLock16(flags, size, handle);
  }
  void* WOWGetVDMPointer(std::uint32_t a, std::uint32_t size, bool pm) override {
    protectedMode.push_back(pm);
    return arena_.WOWGetVDMPointer(a, size, pm);
  }
  void* WOWGetVDMPointerFix(std::uint32_t a, std::uint32_t s, bool pm) override {
    return arena_.WOWGetVDMPointerFix(a, s, pm);
  }
  void WOWGetVDMPointerUnfix(std::uint32_t a) override { arena_.WOWGetVDMPointerUnfix(a); }
  std::uint16_t WOWGlobalUnlockFree16(std::uint32_t a) override {
    frees.push_back(a);
    return arena_.WOWGlobalUnlockFree16(a);
  }
  std::vector<std::uint16_t> allocFlags;
  std::vector<bool> protectedMode;
  std::vector<std::uint32_t> frees;

 private:
  sim::Arena16& arena_;
};

// The kernel with the launcher's processes: each ends when the test says so;
// waits and closes are counted.
class ProcessKernel : public HostKernelApi {
 public:
  std::uint32_t WaitForSingleObject(WinHandle handle, std::uint32_t) override {
    ++waits;
    return handle == endedProcess ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
  }
  bool CloseHandle(WinHandle handle) override {
    closed.push_back(handle);
    return true;
  }
  WinHandle endedProcess = 0;
  int waits = 0;
  std::vector<WinHandle> closed;
};

class ConfigCommandTest : public ::testing::Test {
 protected:
  void Start(const std::string& scenario = "") {
    driver_ = sim::SimDriver::FromScenarioText(scenario);
    shell_ = std::make_unique<RecordingShell>(driver_->launcher());
    wow_ = std::make_unique<RecordingWow>(driver_->arena());
    platform_.shell = shell_.get();
    platform_.wow16 = wow_.get();
    platform_.kernel = &kernel_;
  }
  void TearDown() override {
    if (driver_) driver_->Shutdown();
    ReleaseAbandonedConfigBlocks();
    SetConfigCommandTimeout(std::chrono::seconds(30));
    if (driver_) {
      EXPECT_TRUE(driver_->arena().LiveBlocks().empty()) << "blocks left in the arena";
      EXPECT_TRUE(driver_->arena().Misuse().empty()) << driver_->arena().Misuse()[0];
    }
  }
  std::int32_t Run(std::uint32_t code, void* record, std::int32_t size, std::int32_t gate = 1) {
    return ConfigCommand(platform_, gate, code, record, size);
  }

  std::unique_ptr<sim::SimDriver> driver_;
  std::unique_ptr<RecordingShell> shell_;
  std::unique_ptr<RecordingWow> wow_;
  ProcessKernel kernel_;
  Platform platform_;
};

TEST(ConfigCommandNames, TableOfTheFiveCommands) {
  EXPECT_STREQ(ConfigCommandName(kCmdGetStates), "getstates");
  EXPECT_STREQ(ConfigCommandName(kCmdReconfigurable), "reconfigurable");
  EXPECT_STREQ(ConfigCommandName(kCmdGetConfig), "getconfig");
  EXPECT_STREQ(ConfigCommandName(kCmdSetConfig), "setconfig");
  EXPECT_STREQ(ConfigCommandName(kCmdSetConfigOnTheFly), "setconfig_onthefly");
  EXPECT_EQ(ConfigCommandName(16384), nullptr);
  EXPECT_EQ(ConfigCommandName(16390), nullptr);
}

TEST_F(ConfigCommandTest, GetStatesLaunchesTheExactCommandLine) {
  Start("[Driver]\nState=-19\n[Cards]\nStates=-19,0\n");
  // The completion word is allocated first, then the command block.
  driver_->arena().PinNextSelectors({0x1A37, 0x1A2F});
  std::int32_t states[5] = {7, 7, 7, 7, 7};
  EXPECT_EQ(Run(kCmdGetStates, states, sizeof states), -1);
  EXPECT_EQ(states[0], -19);
  EXPECT_EQ(states[1], -19);
  EXPECT_EQ(states[2], 0);

  ASSERT_EQ(shell_->calls.size(), 1u);
  const auto& call = shell_->calls[0];
  EXPECT_EQ(call.parameters, "Zentra.DRV,DriverConfig getstates $1A2F0000 #1A370000");
  EXPECT_EQ(call.owner, 0u);
  EXPECT_TRUE(call.verbIsNull);
  EXPECT_EQ(call.file, "rundll.exe");
  EXPECT_FALSE(call.directoryIsNull);
  EXPECT_EQ(call.directory, "");
  EXPECT_EQ(call.show, 10);

  EXPECT_EQ(wow_->allocFlags, (std::vector<std::uint16_t>{0x40, 0x40}));
  EXPECT_EQ(wow_->protectedMode, (std::vector<bool>{true, true}));
  EXPECT_EQ(wow_->frees, (std::vector<std::uint32_t>{0x1A2F0000, 0x1A370000}))
      << "command block first, then the completion word";

  const auto log = driver_->callLog().Records();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].parameters, "getstates $1A2F0000 #1A370000");
  EXPECT_EQ(LeInt32(log[0].blockBefore.data()), 7) << "the driver saw the caller's record";
}

TEST_F(ConfigCommandTest, ConfigurationRoundTripThroughTheDriver) {
  Start("[Driver]\nReconfigurable=1\n");
  std::int32_t answer = 0;
  EXPECT_EQ(Run(kCmdReconfigurable, &answer, 4), -1);
  EXPECT_NE(answer, 0);

  std::vector<std::uint8_t> record(832);
  ASSERT_EQ(Run(kCmdGetConfig, record.data(), 832), -1);
  EXPECT_EQ(LeInt32(&record[136]), 44100) << "the driver's defaults";
  record[0] = 0xFF;
  record[1] = 0xFF;
  record[2] = 0xFF;
  record[3] = 0xFF;
  record[500] = 0x5A;  // a byte the program does not know: goes through as it is
  ASSERT_EQ(Run(kCmdSetConfig, record.data(), 832), -1);
  std::vector<std::uint8_t> again(832);
  ASSERT_EQ(Run(kCmdGetConfig, again.data(), 832), -1);
  EXPECT_EQ(again, record);

  std::uint8_t onTheFly[48] = {};
  onTheFly[40] = 2;
  onTheFly[44] = 9;
  ASSERT_EQ(Run(kCmdSetConfigOnTheFly, onTheFly, 48), -1);
  EXPECT_EQ(driver_->configStore().OnTheFly()[44], 9);
}

TEST_F(ConfigCommandTest, GateZeroTouchesNothing) {
  Start();
  std::uint8_t record[20];
  std::memset(record, 0xAB, sizeof record);
  EXPECT_EQ(Run(kCmdGetStates, record, 20, /*gate=*/0), 0);
  for (std::uint8_t b : record) EXPECT_EQ(b, 0xAB);
  EXPECT_TRUE(wow_->allocFlags.empty()) << "nothing allocated";
  EXPECT_TRUE(shell_->calls.empty());
}

TEST_F(ConfigCommandTest, UnknownCodeLaunchesNothingAndReturnsTheRecord) {
  Start();
  std::uint8_t record[20];
  std::memset(record, 0x3C, sizeof record);
  EXPECT_EQ(Run(16390, record, 20), 0);
  for (std::uint8_t b : record) EXPECT_EQ(b, 0x3C);
  EXPECT_TRUE(shell_->calls.empty());
  EXPECT_EQ(wow_->frees.size(), 2u) << "both blocks freed";
}

TEST_F(ConfigCommandTest, LaunchFailureDoesNotWait) {
  Start("[Driver]\nLaunchFails=1\n");
  SetConfigCommandTimeout(std::chrono::seconds(60));
  std::int32_t states[5] = {3, 3, 3, 3, 3};
  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(Run(kCmdGetStates, states, sizeof states), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
  EXPECT_EQ(states[0], 3);
  EXPECT_EQ(shell_->calls.size(), 1u);
  EXPECT_EQ(kernel_.SleepCount(), 0u);
}

TEST_F(ConfigCommandTest, AllocationOrMappingFailureReleasesWhatWasAllocated) {
  Start();
  std::int32_t states[5] = {};
  driver_->arena().FailNextAllocations(1);
  EXPECT_EQ(Run(kCmdGetStates, states, sizeof states), 0);
  driver_->arena().SetMappingFails(true);
  EXPECT_EQ(Run(kCmdGetStates, states, sizeof states), 0);
  driver_->arena().SetMappingFails(false);
  EXPECT_TRUE(shell_->calls.empty());
  EXPECT_TRUE(driver_->arena().LiveBlocks().empty());
}

TEST_F(ConfigCommandTest, ARecordIsReadOnlyAfterTheDriverCompleted) {
  Start("[Driver]\nCommandDelayMs=30\n");
  std::int32_t states[5] = {0, 0, 0, 0, 0};
  EXPECT_EQ(Run(kCmdGetStates, states, sizeof states), -1);
  EXPECT_EQ(states[0], 1);
  EXPECT_EQ(states[1], 1);
  EXPECT_GT(kernel_.SleepCount(), 0u);
  EXPECT_EQ(kernel_.SleptMilliseconds(), kernel_.SleepCount()) << "polls every 1 ms";
}

TEST_F(ConfigCommandTest, TimeoutKeepsTheBlocksUntilTheLateWriteLands) {
  Start("[Driver]\nState=-27\nCommandDelayMs=150\n");
  SetConfigCommandTimeout(std::chrono::milliseconds(20));
  std::int32_t first[5] = {9, 9, 9, 9, 9};
  EXPECT_EQ(Run(kCmdGetStates, first, sizeof first), 0);
  for (std::int32_t v : first) EXPECT_EQ(v, 9) << "an unfinished record is not trusted";
  EXPECT_EQ(AbandonedConfigBlockCount(), 1);
  EXPECT_EQ(driver_->arena().LiveBlocks().size(), 2u);
  const std::string firstLine = shell_->calls[0].parameters;

  // The next command waits its turn behind the late one on the driver thread.
  driver_->launcher().SetCommandDelayMs(0);
  SetConfigCommandTimeout(std::chrono::seconds(10));
  std::vector<std::uint8_t> config(832, 0);
  EXPECT_EQ(Run(kCmdGetConfig, config.data(), 832), -1);
  EXPECT_EQ(LeInt32(&config[136]), 44100);
  ASSERT_TRUE(driver_->launcher().WaitUntilIdle());

  // The late write went into the first command's own blocks, which are
  // still allocated; the second command used other addresses.
  const auto log = driver_->callLog().Records();
  ASSERT_EQ(log.size(), 2u);
  sim::ParsedConfigCommand late, later;
  ASSERT_TRUE(sim::ParseConfigCommandText(log[0].parameters, &late));
  ASSERT_TRUE(sim::ParseConfigCommandText(log[1].parameters, &later));
  EXPECT_EQ("Zentra.DRV,DriverConfig " + log[0].parameters, firstLine);
  EXPECT_NE(late.recordAddress, later.recordAddress);
  EXPECT_NE(late.recordAddress, later.completionAddress);
  EXPECT_NE(late.completionAddress, later.recordAddress);
  const void* lateRecord = driver_->arena().Resolve(late.recordAddress, 20);
  ASSERT_NE(lateRecord, nullptr) << "the abandoned block is still live";
  EXPECT_EQ(LeInt32(lateRecord), -27);
  EXPECT_NE(LeInt32(driver_->arena().Resolve(late.completionAddress, 4)), 0);
  EXPECT_EQ(driver_->arena().Resolve(later.recordAddress, 4), nullptr) << "freed normally";

  // The next command frees the abandoned blocks once their word is set.
  std::int32_t answer = 0;
  EXPECT_EQ(Run(kCmdReconfigurable, &answer, 4), -1);
  EXPECT_EQ(AbandonedConfigBlockCount(), 0);
  EXPECT_TRUE(driver_->arena().LiveBlocks().empty());
}

TEST_F(ConfigCommandTest, ADriverThatNeverCompletesLeavesBlocksUntilExit) {
  Start("[Driver]\nCommandNeverCompletes=1\n");
  SetConfigCommandTimeout(std::chrono::milliseconds(20));
  std::int32_t states[5] = {4, 4, 4, 4, 4};
  EXPECT_EQ(Run(kCmdGetStates, states, sizeof states), 0);
  ASSERT_TRUE(driver_->launcher().WaitUntilIdle());
  EXPECT_EQ(states[0], 4) << "written by the driver, but never declared complete";
  std::int32_t answer = 0;
  EXPECT_EQ(Run(kCmdReconfigurable, &answer, 4), 0);
  ASSERT_TRUE(driver_->launcher().WaitUntilIdle());
  EXPECT_EQ(AbandonedConfigBlockCount(), 2) << "words still zero: kept";
  driver_->Shutdown();
  EXPECT_EQ(ReleaseAbandonedConfigBlocks(), 2);
  EXPECT_TRUE(driver_->arena().LiveBlocks().empty());
}

// The wait is bounded by the kernel's tick count. Under virtual sleeping the
// slept milliseconds count as passed time, so the bound is reached after the
// limit's worth of sleeps, without waiting for real time.
TEST_F(ConfigCommandTest, TheWaitEndsAfterTheLimitOfTickCountTime) {
  Start("[Driver]\nCommandNeverCompletes=1\n");
  kernel_.SetVirtualSleep(true);
  SetConfigCommandTimeout(std::chrono::milliseconds(50));
  std::int32_t states[5] = {};
  const auto sleptBefore = kernel_.SleptMilliseconds();
  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(Run(kCmdGetStates, states, sizeof states), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
  const auto slept = kernel_.SleptMilliseconds() - sleptBefore;
  EXPECT_LE(slept, 50u) << "no sleeping past the limit";
  EXPECT_GE(slept, 1u);
  EXPECT_EQ(AbandonedConfigBlockCount(), 1);
}

// The tick count wraps after 49.7 days; a wait across the wrap still ends at
// its limit and not at once (nor after another 49.7 days).
TEST_F(ConfigCommandTest, AWaitAcrossTheTickCountWrapEndsAtItsLimit) {
  Start("[Driver]\nCommandNeverCompletes=1\n");
  kernel_.SetVirtualSleep(true);
  kernel_.AdvanceTickCount(0xFFFFFFFFu - kernel_.TickCount() - 10);
  SetConfigCommandTimeout(std::chrono::milliseconds(40));
  std::int32_t states[5] = {};
  const auto sleptBefore = kernel_.SleptMilliseconds();
  EXPECT_EQ(Run(kCmdGetStates, states, sizeof states), 0);
  const auto slept = kernel_.SleptMilliseconds() - sleptBefore;
  EXPECT_GE(slept, 20u) << "ended before the limit";
  EXPECT_LE(slept, 40u);
}

// The launcher's process is watched: once it has ended without the driver
// having written the completion word, a short grace later the command has
// failed, instead of waiting out the limit; a driver that writes the word
// just before its launcher ends still completes. Each process handle is
// closed once.
TEST_F(ConfigCommandTest, TheWaitEndsSoonAfterTheLauncherEndedWithoutCompleting) {
  struct Case {
    const char* scenario;
    WinHandle process, ended;
    std::int32_t result;
    int abandoned;
  };
  const Case cases[] = {
      {"[Driver]\nCommandNeverCompletes=1\n", 0x68, 0x68, 0, 1},  // ended, never wrote
      {"[Driver]\nCommandDelayMs=60\n", 0x68, 0x68, -1, 0},       // wrote within the grace
      {"[Driver]\nCommandNeverCompletes=1\n", 0x68, 0, 0, 1},     // still running: the limit
      {"[Driver]\nCommandNeverCompletes=1\n", 0, 0, 0, 1},        // nothing to watch: the limit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.scenario) + " process " + std::to_string(c.process) + " ended " +
                 std::to_string(c.ended));
    Start(c.scenario);
    shell_->processToHandBack = c.process;
    kernel_.endedProcess = c.ended;
    kernel_.closed.clear();
    SetConfigCommandTimeout(std::chrono::milliseconds(800));
    std::int32_t states[5] = {};
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(kCmdGetStates, states, sizeof states), c.result);
    const auto took = std::chrono::steady_clock::now() - before;
    if (c.ended != 0) EXPECT_LT(took, std::chrono::milliseconds(700)) << "ended within the grace";
    else EXPECT_GE(took, std::chrono::milliseconds(750)) << "waited out the limit";
    EXPECT_EQ(shell_->masks, std::vector<std::uint32_t>{SEE_MASK_NOCLOSEPROCESS});
    EXPECT_EQ(kernel_.closed, c.process != 0 ? std::vector<WinHandle>{c.process}
                                             : std::vector<WinHandle>{});
    EXPECT_EQ(AbandonedConfigBlockCount(), c.abandoned);
    driver_->Shutdown();
    ReleaseAbandonedConfigBlocks();
  }
}

// A program entry's 16-bit memory service lives in the entry's scope. The
// blocks of a command the driver never finished are freed by the release
// declared after the services, while those still exist, and never again
// when the process's static objects are destroyed.
TEST_F(ConfigCommandTest, AbandonedBlocksAreFreedAtTheEndOfTheReleaseScope) {
  Start("[Driver]\nCommandNeverCompletes=1\n");
  SetConfigCommandTimeout(std::chrono::milliseconds(20));
  {
    const AbandonedConfigBlocksRelease release;
    std::int32_t states[5] = {};
    EXPECT_EQ(Run(kCmdGetStates, states, sizeof states), 0);
    driver_->Shutdown();
    EXPECT_EQ(AbandonedConfigBlockCount(), 1);
    EXPECT_TRUE(wow_->frees.empty());
  }
  EXPECT_EQ(AbandonedConfigBlockCount(), 0);
  EXPECT_EQ(wow_->frees.size(), 2u) << "both blocks freed through the live service";
  EXPECT_TRUE(driver_->arena().LiveBlocks().empty());
}

// The memory service of an entry whose scope has ended: any call through it
// is a crash, as it is for the product's service after its entry returned.
bool g_serviceGone = false;
class EntryScopedWow : public Wow16Api {
 public:
  explicit EntryScopedWow(sim::Arena16& arena) : arena_(arena) {}
  ~EntryScopedWow() override { g_serviceGone = true; }
  std::uint32_t WOWGlobalAllocLock16(std::uint16_t f, std::uint32_t s, std::uint16_t* h) override {
    return Live().WOWGlobalAllocLock16(f, s, h);
  }
  void* WOWGetVDMPointer(std::uint32_t a, std::uint32_t s, bool pm) override {
    return Live().WOWGetVDMPointer(a, s, pm);
  }
  void* WOWGetVDMPointerFix(std::uint32_t a, std::uint32_t s, bool pm) override {
    return Live().WOWGetVDMPointerFix(a, s, pm);
  }
  void WOWGetVDMPointerUnfix(std::uint32_t a) override { Live().WOWGetVDMPointerUnfix(a); }
  std::uint16_t WOWGlobalUnlockFree16(std::uint32_t a) override {
    return Live().WOWGlobalUnlockFree16(a);
  }

 private:
  sim::Arena16& Live() {
    if (g_serviceGone) std::abort();
    return arena_;
  }
  sim::Arena16& arena_;
};

TEST(AbandonedConfigBlocks, TheProcessEndsCleanlyAfterItsServicesAreGone) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        auto driver = sim::SimDriver::FromScenarioText("[Driver]\nCommandNeverCompletes=1\n");
        HostKernelApi kernel;
        sim::SimLauncher& launcher = driver->launcher();
        RecordingShell shell(launcher);
        alignas(EntryScopedWow) static unsigned char storage[sizeof(EntryScopedWow)];
        auto* wow = new (storage) EntryScopedWow(driver->arena());
        Platform platform;
        platform.shell = &shell;
        platform.wow16 = wow;
        platform.kernel = &kernel;
        SetConfigCommandTimeout(std::chrono::milliseconds(20));
        std::int32_t states[5] = {};
        const bool abandoned = ConfigCommand(platform, 1, kCmdGetStates, states, sizeof states) == 0 &&
                               AbandonedConfigBlockCount() == 1;
        driver->Shutdown();
        wow->~EntryScopedWow();  // the entry's scope ends without a release
        std::exit(abandoned ? 0 : 3);  // static objects are destroyed now
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace zentra
