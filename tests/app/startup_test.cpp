// Start-up: the state checks, the tray icon, the main loop and the hidden
// main window's messages, run through the real program on the simulated
// driver and the headless backend.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "app/about_box.h"
#include "app/control_window.h"
#include "app/main_window.h"
#include "app/program_windows.h"
#include "app/startup.h"
#include "support/program_rig.h"

namespace zentra {
namespace {

using testing::ProgramRig;

std::string Scenario(const std::string& driverState, const std::string& cardStates,
                     int count = 2) {
  return "[Driver]\nState=" + driverState + "\n[Cards]\nCount=" + std::to_string(count) +
         "\nStates=" + cardStates + "\n";
}

// Posts to the main window once the program runs.
void PostToMain(WinHandle main, std::uint32_t msg, std::uintptr_t w, std::intptr_t l) {
  ASSERT_TRUE(PostMessageToWindow(main, msg, w, l));
}

struct StateCase {
  const char* name;
  DriverStatesRecord states;
  std::vector<std::string> expectedTextStarts;  // one per message, in order
};

void PrintTo(const StateCase& c, std::ostream* os) { *os << c.name; }

class ReportDriverStatesTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(ReportDriverStatesTest, ShowsExactlyTheExpectedMessages) {
  ProgramRig rig;
  ReportDriverStates(rig.platform(), GetParam().states);
  const auto boxes = rig.user().MessageBoxes();
  ASSERT_EQ(boxes.size(), GetParam().expectedTextStarts.size());
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_EQ(boxes[i].text.rfind(GetParam().expectedTextStarts[i], 0), 0u)
        << "message " << i << ": " << boxes[i].text;
    EXPECT_EQ(boxes[i].owner, 0u);
  }
}

const char kCard2[] = "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden.";
const char kCard1[] = "Die Hardware der Zentra Karte #1 konnte nicht initialisiert werden.";
const char kCard0[] = "Die Hardware der Zentra Karte #0 konnte nicht initialisiert werden.";
const char kNotInit[] = "Der Zentra Treiber konnte nicht initialisiert werden. \r\nKernel Audio";
const char kWrongVersion[] =
    "Der Zentra Treiber konnte nicht initialisiert werden. \r\nFalsche Version";

INSTANTIATE_TEST_SUITE_P(
    States, ReportDriverStatesTest,
    ::testing::Values(
        StateCase{"NotLoadedIsSilent", {-17, {-22, -25, 1, 1}}, {}},
        StateCase{"WrongVersionOnlyItsOwnMessage", {-27, {-22, -25, 1, 1}}, {kWrongVersion}},
        StateCase{"ReadyReportsCardsUpToTheFirstAbsent", {1, {1, -22, 0, -25}}, {kCard2}},
        StateCase{"SameAsCardOneShownOnce", {-19, {-19, 0, 0, 0}}, {kNotInit}},
        StateCase{"CardComposedSameAsCardOneNamesCardOne", {-22, {-22, 0, 0, 0}}, {kCard1}},
        StateCase{"DriverErrorWithNoCards", {-19, {0, -22, 0, 0}}, {kNotInit}},
        StateCase{"DriverAndCardErrorsBoth", {-22, {1, -25, 0, 0}}, {kCard0, kCard2}},
        StateCase{"AllHealthy", {1, {1, 1, 1, 1}}, {}}),
    [](const ::testing::TestParamInfo<StateCase>& info) { return info.param.name; });

TEST(TrayIconRecord, IsFilledAsThePlatformExpects) {
  const NotifyIconRecord r = MakeTrayIconRecord(0x1234, 0x5678);
  EXPECT_EQ(r.cbSize, kNotifyIconV1Size);
  EXPECT_EQ(r.hWnd, 0x1234u);
  EXPECT_EQ(r.uID, 0u);
  EXPECT_EQ(r.uFlags, 7u);
  EXPECT_EQ(r.uCallbackMessage, 1126u);
  EXPECT_EQ(r.hIcon, 0x5678u);
  EXPECT_STREQ(r.szTip, "Einstellungen für Zentra");
  for (std::size_t i = std::strlen(r.szTip); i < sizeof r.szTip; ++i) EXPECT_EQ(r.szTip[i], 0);
}

TEST(RunProgram, DriverNotReadyEndsWithoutWindowOrIcon) {
  for (const char* state : {"-17", "-27", "-19", "0"}) {
    ProgramRig rig(Scenario(state, "1,1"));
    EXPECT_EQ(RunProgram(rig.platform()), 0);
    EXPECT_TRUE(rig.tray().Calls().empty()) << state;
    EXPECT_TRUE(rig.user().LoadedIconNames().empty()) << state;
    EXPECT_EQ(Windows().frmMain, nullptr);
    EXPECT_EQ(rig.ConfigCommandsRun(), std::vector<std::string>{"getstates"});
    EXPECT_TRUE(rig.driver().arena().LiveBlocks().empty());
  }
}

TEST(RunProgram, HealthyDriverAddsTheIconAndEndsWithTheSession) {
  ProgramRig rig;
  WinHandle controlWindow = 0;
  int loopsSeen = 0;
  const int code = RunProgram(rig.platform(), [&](WinHandle main) {
    ++loopsSeen;
    ASSERT_NE(Windows().MixControlWnd, nullptr);
    ASSERT_NE(Windows().AboutBox, nullptr);
    controlWindow = Windows().MixControlWnd->Handle();
    EXPECT_FALSE(Windows().MixControlWnd->Visible());
    EXPECT_FALSE(Windows().frmMain->Visible());
    EXPECT_EQ(rig.tray().Icons().size(), 1u);
    PostToMain(main, WM_ENDSESSION, 1, 0);
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(loopsSeen, 1);
  const auto calls = rig.tray().Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].message, NIM_ADD);
  EXPECT_EQ(calls[1].message, NIM_DELETE);
  EXPECT_EQ(calls[0].record.hWnd, controlWindow);
  EXPECT_EQ(std::memcmp(&calls[0].record, &calls[1].record, sizeof calls[0].record), 0);
  EXPECT_TRUE(rig.tray().Icons().empty());
  EXPECT_EQ(rig.user().LoadedIconNames(), std::vector<std::string>{"MIXERICON"});
  EXPECT_TRUE(rig.user().LiveIcons().empty()) << "the tray icon was not destroyed";
  EXPECT_EQ(Windows().frmMain, nullptr);
  EXPECT_EQ(Windows().MixControlWnd, nullptr);
  EXPECT_TRUE(rig.driver().arena().LiveBlocks().empty());
  EXPECT_TRUE(rig.driver().wave().OpenHandles().empty());
}

// A message of the test's own, posted behind others: its handler sees
// whether the loop is still running when the messages before it were handled.
constexpr std::uint32_t kLoopProbe = WM_USER + 777;

TEST(RunProgram, OnlyTheStopFlagEndsTheMainLoop) {
  ProgramRig rig;
  std::vector<std::string> seen;
  RunProgram(rig.platform(), [&](WinHandle main) {
    Windows().frmMain->SetMessageHandler(kLoopProbe, [&](Message& m) {
      seen.push_back(std::to_string(m.wParam) +
                     (Application::Instance().Terminated() ? " stopped" : " running") +
                     (rig.tray().Icons().size() == 1 ? " icon" : " no icon"));
    });
    // A quit message, a session end query and a session end that does not
    // end: the loop handles the probe behind each of them.
    PostToMain(main, WM_QUIT, 0, 0);
    PostToMain(main, kLoopProbe, 1, 0);
    PostToMain(main, WM_QUERYENDSESSION, 0, 0);
    PostToMain(main, WM_ENDSESSION, 0, 0);
    PostToMain(main, kLoopProbe, 2, 0);
    // The end of the session raises the stop flag: the loop ends after that
    // message, so the probe behind it is never handled.
    PostToMain(main, WM_ENDSESSION, 1, 0);
    PostToMain(main, kLoopProbe, 3, 0);
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"1 running icon", "2 running icon"}));
  EXPECT_TRUE(Application::Instance().Terminated());
  // It ended through the program's shutdown: the control window was closed
  // (its state saved) and the icon removed.
  EXPECT_EQ(Windows().MixControlWnd, nullptr);
  EXPECT_TRUE(rig.tray().Icons().empty());
  std::ifstream ini(rig.IniPath());
  const std::string text((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("[Zentra]"), std::string::npos) << text;
}

// The shell's notice that its notification area is new, sent as a
// restarted shell does: to every top-level window of the program.
void SendTaskbarCreated(ProgramRig& rig) {
  const std::uint32_t msg = rig.user().RegisterWindowMessageA("TaskbarCreated");
  ASSERT_GE(msg, 0xC000u);
  for (WinHandle w : {Windows().frmMain->Handle(), Windows().MixControlWnd->Handle(),
                      Windows().AboutBox->Handle()})
    ASSERT_TRUE(PostMessageToWindow(w, msg, 0, 0));
}

TEST(TrayAfterShellRestart, TheIconIsAddedAgainWithTheSameRecord) {
  ProgramRig rig;
  std::vector<std::size_t> iconsSeen;
  RunProgram(rig.platform(), [&](WinHandle main) {
    Windows().frmMain->SetMessageHandler(kLoopProbe, [&](Message&) {
      iconsSeen.push_back(rig.tray().Icons().size());
    });
    rig.tray().RestartShell();
    SendTaskbarCreated(rig);
    PostToMain(main, kLoopProbe, 0, 0);
    // A second restart later on: the icon comes back each time.
    rig.tray().RestartShell();
    SendTaskbarCreated(rig);
    PostToMain(main, kLoopProbe, 0, 0);
    PostToMain(main, WM_ENDSESSION, 1, 0);
  });
  EXPECT_EQ(iconsSeen, (std::vector<std::size_t>{1, 1}));
  const auto calls = rig.tray().Calls();
  ASSERT_EQ(calls.size(), 4u);
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].message, i + 1 < calls.size() ? NIM_ADD : NIM_DELETE) << i;
    EXPECT_EQ(std::memcmp(&calls[i].record, &calls[0].record, sizeof calls[0].record), 0) << i;
  }
  EXPECT_TRUE(rig.tray().Icons().empty()) << "the icon added again was not removed at the end";
  EXPECT_TRUE(rig.user().LiveIcons().empty());
}

TEST(TrayAfterShellRestart, ANoticeWhileTheIconIsThereLeavesOneIconAndTheProgramRunning) {
  ProgramRig rig;
  std::vector<std::string> seen;
  RunProgram(rig.platform(), [&](WinHandle main) {
    Windows().frmMain->SetMessageHandler(kLoopProbe, [&](Message&) {
      seen.push_back(std::to_string(rig.tray().Icons().size()) +
                     (Application::Instance().Terminated() ? " stopped" : " running"));
    });
    SendTaskbarCreated(rig);
    PostToMain(main, kLoopProbe, 0, 0);
    PostToMain(main, WM_ENDSESSION, 1, 0);
  });
  EXPECT_EQ(seen, std::vector<std::string>{"1 running"});
  EXPECT_TRUE(rig.tray().Icons().empty());
}

TEST(RunProgram, IconThatCannotBeAddedEndsTheProgramAtOnce) {
  ProgramRig rig;
  rig.tray().FailNextAdd();
  bool ran = false;
  RunProgram(rig.platform(), [&](WinHandle) { ran = true; });
  EXPECT_FALSE(ran);
  ASSERT_EQ(rig.tray().Calls().size(), 1u);
  EXPECT_TRUE(rig.user().LiveIcons().empty());
}

TEST(RunProgram, DriverThatCannotBeLaunchedIsReportedAndEndsTheProgram) {
  ProgramRig rig("[Driver]\nLaunchFails=1\n");
  RunProgram(rig.platform());
  const auto boxes = rig.user().MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("Kernel Driver Device konnte nicht geöffnet werden."),
            std::string::npos);
  EXPECT_TRUE(rig.tray().Calls().empty());
}

TEST(RunProgram, DriverThatNeverAnswersIsReportedAndLeavesNothingBehind) {
  const auto limit = ConfigCommandTimeout();
  SetConfigCommandTimeout(std::chrono::milliseconds(50));
  {
    ProgramRig rig("[Driver]\nCommandNeverCompletes=1\n");
    RunProgram(rig.platform());
    const auto boxes = rig.user().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("Kernel Driver Device"), std::string::npos);
    EXPECT_TRUE(rig.tray().Calls().empty());
    // The driver may still write into the command's blocks: they stay until
    // it is gone, then nothing is left.
    EXPECT_EQ(AbandonedConfigBlockCount(), 1);
    rig.driver().Shutdown();
    ReleaseAbandonedConfigBlocks();
    EXPECT_TRUE(rig.driver().arena().LiveBlocks().empty());
  }
  SetConfigCommandTimeout(limit);
}

TEST(RunProgram, CloseOfTheMainWindowEndsTheProgram) {
  ProgramRig rig;
  RunProgram(rig.platform(), [&](WinHandle) { Windows().frmMain->Close(); });
  EXPECT_TRUE(rig.tray().Icons().empty());
}

// The device node of card k as the simulated driver reports it.
std::uint32_t DevnodeOf(int card) { return static_cast<std::uint32_t>(CardDevnodeTable[card]); }

TEST(DeviceRemoval, QueryForACardWritesTheRecordBackAndEndsTheProgram) {
  ProgramRig rig;
  DevBroadcastDevnode record{sizeof(DevBroadcastDevnode), DBT_DEVTYP_DEVNODE, 0, 0};
  std::intptr_t result = -5;
  RunProgram(rig.platform(), [&](WinHandle) {
    ASSERT_EQ(CardCount, 2);
    record.dbcd_devnode = DevnodeOf(1);
    rig.driver().callLog().Clear();
    result = Windows().frmMain->Perform(WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE,
                                        reinterpret_cast<std::intptr_t>(&record));
  });
  EXPECT_EQ(result, 1);
  const auto commands = rig.Records(sim::CallRecord::Kind::ConfigCommand);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].command, "getconfig");
  EXPECT_EQ(commands[1].command, "setconfig");
  ASSERT_EQ(commands[1].blockBefore.size(), 832u);
  std::int32_t first = 0;
  std::memcpy(&first, commands[1].blockBefore.data(), 4);
  EXPECT_EQ(first, -1);
  // The rest of the record is what the driver gave.
  EXPECT_TRUE(std::equal(commands[0].blockAfter.begin() + 4, commands[0].blockAfter.end(),
                         commands[1].blockBefore.begin() + 4));
  EXPECT_EQ(Windows().MixControlWnd, nullptr);
  EXPECT_TRUE(rig.tray().Icons().empty());
}

TEST(DeviceRemoval, OtherNodesAndEventsChangeNothing) {
  ProgramRig rig;
  RunProgram(rig.platform(), [&](WinHandle main) {
    DevBroadcastDevnode foreign{sizeof(DevBroadcastDevnode), DBT_DEVTYP_DEVNODE, 0, 0xBEEF};
    DevBroadcastDevnode card{sizeof(DevBroadcastDevnode), DBT_DEVTYP_DEVNODE, 0, DevnodeOf(0)};
    DevBroadcastDevnode notANode{sizeof(DevBroadcastDevnode), 2, 0, DevnodeOf(0)};
    TfrmMain& frm = *Windows().frmMain;
    EXPECT_EQ(frm.Perform(WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE,
                          reinterpret_cast<std::intptr_t>(&foreign)), 1);
    EXPECT_EQ(frm.Perform(WM_DEVICECHANGE, 0x8004, reinterpret_cast<std::intptr_t>(&card)), 1);
    EXPECT_EQ(frm.Perform(WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE,
                          reinterpret_cast<std::intptr_t>(&notANode)), 1);
    EXPECT_EQ(frm.Perform(WM_DEVICECHANGE, 7, 0), 1);
    EXPECT_FALSE(Application::Instance().Terminated());
    EXPECT_NE(Windows().MixControlWnd, nullptr);
    PostToMain(main, WM_ENDSESSION, 1, 0);
  });
  for (const auto& command : rig.ConfigCommandsRun()) EXPECT_EQ(command, "getstates");
}

TEST(DeviceRemoval, FailingGetconfigStillEndsTheProgramWithoutWriting) {
  ProgramRig rig;
  RunProgram(rig.platform(), [&](WinHandle) {
    ConfigurationGate() = 0;  // every command now fails
    DevBroadcastDevnode card{sizeof(DevBroadcastDevnode), DBT_DEVTYP_DEVNODE, 0, DevnodeOf(1)};
    Windows().frmMain->Perform(WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE,
                               reinterpret_cast<std::intptr_t>(&card));
  });
  EXPECT_EQ(rig.ConfigCommandsRun(), std::vector<std::string>{"getstates"});
  EXPECT_TRUE(rig.tray().Icons().empty());
}

}  // namespace
}  // namespace zentra
