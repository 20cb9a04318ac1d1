#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/host/host_kernel_api.h"
#include "platform/host/host_user_api.h"
#include "platform/host/virtual_timer_api.h"

namespace zentra {
namespace {

class PrivateProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("zentra_profile_") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    kernel_.SetWindowsDirectory(dir_.string());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Get(const char* section, const char* key, const char* def = "dflt",
                  std::uint32_t size = 64, const char* file = "Zudovodiv.ini") {
    std::vector<char> buffer(size + 1, '#');
    const std::uint32_t n = kernel_.GetPrivateProfileStringA(section, key, def, buffer.data(),
                                                             size, file);
    EXPECT_EQ(buffer[n], '\0');
    return std::string(buffer.data(), n);
  }
  std::string FileText(const std::string& name = "Zudovodiv.ini") {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::filesystem::path dir_;
  HostKernelApi kernel_;
};

TEST_F(PrivateProfileTest, MissingFileSectionOrKeyGiveTheDefault) {
  EXPECT_EQ(Get("Zentra", "Top", "12"), "12");
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("Zentra", "Top", "40", "Zudovodiv.ini"));
  EXPECT_EQ(Get("Other", "Top", "12"), "12");
  EXPECT_EQ(Get("Zentra", "Left", "7"), "7");
  EXPECT_EQ(Get("Zentra", "Left", "7  "), "7") << "trailing blanks of the default go";
  EXPECT_EQ(Get("Zentra", "Left", nullptr), "");
}

TEST_F(PrivateProfileTest, ANameWithoutDirectoryLivesInTheWindowsDirectory) {
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("Zentra", "Top", "40", "Zudovodiv.ini"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "Zudovodiv.ini"));
  const std::string elsewhere = (dir_ / "sub.ini").string();
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("S", "K", "V", elsewhere.c_str()));
  EXPECT_EQ(Get("S", "K", "", 64, elsewhere.c_str()), "V");
}

TEST_F(PrivateProfileTest, SectionsAndKeysAreCaseInsensitiveAndWritesGoToDiskAtOnce) {
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("Zentra Analog Inputs", "chkPeakMeter", "1",
                                                 "Zudovodiv.ini"));
  EXPECT_NE(FileText().find("chkPeakMeter=1"), std::string::npos) << "written at once";
  EXPECT_EQ(Get("ZENTRA analog INPUTS", "CHKPEAKMETER"), "1");
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("zentra analog inputs", "ChkPeakMeter", "0",
                                                 "Zudovodiv.ini"));
  EXPECT_EQ(Get("Zentra Analog Inputs", "chkPeakMeter"), "0");
  const std::string text = FileText();
  EXPECT_EQ(text.find("[zentra analog inputs]"), std::string::npos) << "one section only";
  EXPECT_EQ(text.find("chkPeakMeter=1"), std::string::npos) << "the key was replaced";
}

TEST_F(PrivateProfileTest, ValuesAreCutToTheBuffer) {
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("S", "K", "abcdefghij", "Zudovodiv.ini"));
  EXPECT_EQ(Get("S", "K", "", 5), "abcd");
  EXPECT_EQ(Get("S", "K", "", 11), "abcdefghij");
  EXPECT_EQ(Get("S", "Missing", "0123456789", 4), "012");
}

TEST_F(PrivateProfileTest, OtherSectionsKeysAndDeletion) {
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("A", "One", "1", "Zudovodiv.ini"));
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("B", "Two", "2", "Zudovodiv.ini"));
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("A", "Three", " spaced ", "Zudovodiv.ini"));
  EXPECT_EQ(Get("A", "One"), "1");
  EXPECT_EQ(Get("A", "Three"), "spaced");
  EXPECT_EQ(Get("B", "Two"), "2");
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("A", "One", nullptr, "Zudovodiv.ini"));
  EXPECT_EQ(Get("A", "One"), "dflt");
  EXPECT_EQ(Get("A", "Three"), "spaced");
  ASSERT_TRUE(kernel_.WritePrivateProfileStringA("B", nullptr, nullptr, "Zudovodiv.ini"));
  EXPECT_EQ(Get("B", "Two"), "dflt");
  EXPECT_EQ(Get("A", "Three"), "spaced");
}

// The same calls on files kept in memory give what they give on disk, step
// by step, and the disk is never touched.
TEST_F(PrivateProfileTest, FilesKeptInMemoryAnswerAsOnDisk) {
  HostKernelApi memory;
  const std::filesystem::path memoryDir = dir_ / "memory";
  memory.SetWindowsDirectory(memoryDir.string());
  memory.KeepFilesInMemory();
  std::vector<std::string> answers[2];
  HostKernelApi* kernels[2] = {&kernel_, &memory};
  for (int k = 0; k < 2; ++k) {
    HostKernelApi& api = *kernels[k];
    auto& out = answers[k];
    auto get = [&](const char* section, const char* key, const char* file, std::uint32_t size = 64) {
      std::vector<char> buffer(size, '#');
      const std::uint32_t n = api.GetPrivateProfileStringA(section, key, "dflt", buffer.data(), size, file);
      out.push_back(std::string(buffer.data(), n + (section == nullptr || key == nullptr ? 1 : 0)));
    };
    auto flag = [&](bool b) { out.push_back(b ? "true" : "false"); };
    get("A", "One", "z.ini");
    flag(api.WritePrivateProfileStringA("A", "One", "1", "z.ini"));
    flag(api.WritePrivateProfileStringA("b", "Two", " '2' ", "z.ini"));
    flag(api.WritePrivateProfileStringA("A", "Three", "abcdefghij", "z.ini"));
    get("a", "ONE", "z.ini");
    get("B", "two", "z.ini");
    get("A", "Three", "z.ini", 5);
    get(nullptr, nullptr, "z.ini");
    get("A", nullptr, "z.ini");
    flag(api.WritePrivateProfileStringA("A", "One", nullptr, "z.ini"));
    flag(api.WritePrivateProfileStringA("B", nullptr, nullptr, "z.ini"));
    get(nullptr, nullptr, "z.ini");
    out.push_back(std::to_string(api.GetFileAttributesA("z.ini")));
    flag(api.MoveFileA("z.ini", "y.ini"));
    flag(api.MoveFileA("z.ini", "y.ini"));
    get("A", "Three", "y.ini");
    out.push_back(std::to_string(api.GetFileAttributesA("z.ini")));
    flag(api.WritePrivateProfileStringA("C", "K", "v", "z.ini"));
    flag(api.MoveFileA("z.ini", "y.ini"));  // the target exists
    flag(api.DeleteFileA("y.ini"));
    flag(api.DeleteFileA("y.ini"));
    get("A", "Three", "y.ini");
    out.push_back(std::to_string(api.GetFileAttributesA("y.ini")));
    flag(api.PutFile("p.ini", "[P]\r\nK = put \r\n"));
    get("P", "K", "p.ini");
  }
  EXPECT_EQ(answers[1], answers[0]);
  ASSERT_EQ(answers[0].size(), 25u);
  EXPECT_EQ(answers[0][24], "put");
  EXPECT_EQ(answers[0][4], "1");
  EXPECT_EQ(answers[0][5], "2") << "matching quotes go once the value is trimmed";
  EXPECT_FALSE(std::filesystem::exists(memoryDir)) << "the memory kernel touched the disk";
}

TEST(HostKernelApi, VirtualSleepOnlyCounts) {
  HostKernelApi kernel;
  kernel.SetVirtualSleep(true);
  int hooked = 0;
  kernel.SetSleepHook([&](std::uint32_t ms) { hooked += static_cast<int>(ms); });
  const auto before = std::chrono::steady_clock::now();
  kernel.Sleep(100000);
  kernel.Sleep(1);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
  EXPECT_EQ(kernel.SleptMilliseconds(), 100001u);
  EXPECT_EQ(kernel.SleepCount(), 2u);
  EXPECT_EQ(hooked, 100001);
}

struct Fired {
  std::uint32_t id;
  std::uintptr_t user;
  std::uint64_t at;
};
std::vector<Fired>* g_fired = nullptr;
VirtualTimerApi* g_timers = nullptr;

void ZENTRA_TIMER_CALLBACK Record(std::uint32_t id, std::uint32_t, std::uintptr_t user,
                                  std::uintptr_t, std::uintptr_t) {
  g_fired->push_back({id, user, g_timers->Now()});
}

void ZENTRA_TIMER_CALLBACK KillSelf(std::uint32_t id, std::uint32_t, std::uintptr_t user,
                                    std::uintptr_t, std::uintptr_t) {
  g_fired->push_back({id, user, g_timers->Now()});
  g_timers->timeKillEvent(id);
}

class VirtualTimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_fired = &fired_;
    g_timers = &timers_;
  }
  void TearDown() override {
    g_fired = nullptr;
    g_timers = nullptr;
  }
  std::vector<Fired> fired_;
  VirtualTimerApi timers_;
};

TEST_F(VirtualTimerTest, PeriodicAndOneShotFireInTimeOrder) {
  const std::uint32_t poll = timers_.timeSetEvent(100, 0, Record, 1, TIME_PERIODIC);
  const std::uint32_t decay = timers_.timeSetEvent(40, 0, Record, 2, TIME_PERIODIC);
  const std::uint32_t once = timers_.timeSetEvent(90, 0, Record, 3, TIME_ONESHOT);
  ASSERT_NE(poll, 0u);
  ASSERT_NE(decay, 0u);
  ASSERT_NE(once, 0u);
  EXPECT_TRUE(fired_.empty());
  timers_.Advance(200);
  std::vector<std::pair<std::uintptr_t, std::uint64_t>> got;
  for (const auto& f : fired_) got.emplace_back(f.user, f.at);
  EXPECT_EQ(got, (std::vector<std::pair<std::uintptr_t, std::uint64_t>>{
                     {2, 40}, {2, 80}, {3, 90}, {1, 100}, {2, 120}, {2, 160}, {1, 200}, {2, 200}}));
  EXPECT_EQ(timers_.Now(), 200u);
  EXPECT_EQ(timers_.LiveTimerCount(), 2u) << "the one-shot timer is gone";
  EXPECT_EQ(timers_.timeKillEvent(once), MMSYSERR_INVALPARAM);
  EXPECT_EQ(timers_.timeKillEvent(poll), 0u);
  EXPECT_EQ(timers_.timeKillEvent(decay), 0u);
  EXPECT_EQ(timers_.LiveTimerCount(), 0u);
  timers_.Advance(1000);
  EXPECT_EQ(fired_.size(), 8u) << "killed timers stay silent";
}

TEST_F(VirtualTimerTest, ACallbackMayKillItsOwnTimer) {
  timers_.timeSetEvent(10, 0, KillSelf, 5, TIME_PERIODIC);
  timers_.Advance(100);
  EXPECT_EQ(fired_.size(), 1u);
  EXPECT_TRUE(timers_.LiveTimers().empty());
}

TEST_F(VirtualTimerTest, RefusesBadRequestsAndReportsCaps) {
  EXPECT_EQ(timers_.timeSetEvent(0, 0, Record, 0, TIME_PERIODIC), 0u);
  EXPECT_EQ(timers_.timeSetEvent(10, 0, nullptr, 0, TIME_PERIODIC), 0u);
  EXPECT_EQ(timers_.timeKillEvent(12345), MMSYSERR_INVALPARAM);
  TimeCaps caps{};
  EXPECT_EQ(timers_.timeGetDevCaps(&caps, sizeof caps), 0u);
  EXPECT_EQ(caps.wPeriodMin, 1u);
  EXPECT_NE(timers_.timeGetDevCaps(&caps, 2), 0u);
}

TEST(HostUserApi, MessageBoxesAreRecordedAndAnsweredFromTheScript) {
  HostUserApi user;
  user.QueueMessageBoxAnswer(7);
  EXPECT_EQ(user.MessageBoxA(5, "Text", "Caption", MB_ICONERROR), 7);
  EXPECT_EQ(user.MessageBoxA(0, "Second", "C", MB_OK), IDOK) << "IDOK when the script is empty";
  const auto boxes = user.MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].owner, 5u);
  EXPECT_EQ(boxes[0].text, "Text");
  EXPECT_EQ(boxes[0].caption, "Caption");
  EXPECT_EQ(boxes[0].style, MB_ICONERROR);
}

TEST(HostUserApi, IconsAreTrackedUntilDestroyed) {
  HostUserApi user;
  const WinHandle a = user.LoadIconA("MIXERICON");
  const WinHandle b = user.LoadIconA("MIXERICON");
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  EXPECT_TRUE(user.DestroyIcon(a));
  EXPECT_FALSE(user.DestroyIcon(a)) << "destroyed twice";
  EXPECT_EQ(user.LiveIcons(), std::set<WinHandle>{b});
  user.SetIconLoadFails(true);
  EXPECT_EQ(user.LoadIconA("MIXERICON"), 0u);
}

TEST(HostUserApi, TopmostStatePerWindow) {
  HostUserApi user;
  EXPECT_FALSE(user.IsTopmost(1));
  user.SetWindowPos(1, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  EXPECT_TRUE(user.IsTopmost(1));
  EXPECT_FALSE(user.IsTopmost(2));
  user.SetWindowPos(1, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  EXPECT_FALSE(user.IsTopmost(1));
}

TEST(HostUserApi, SystemMenusKeepItemsInOrder) {
  HostUserApi user;
  const WinHandle menu = user.GetSystemMenu(10, false);
  ASSERT_NE(menu, 0u);
  EXPECT_EQ(user.GetSystemMenu(10, false), menu) << "one menu per window";
  EXPECT_NE(user.GetSystemMenu(11, false), menu);
  EXPECT_TRUE(user.AppendMenuA(menu, MF_SEPARATOR, 0, nullptr));
  EXPECT_TRUE(user.AppendMenuA(menu, MF_STRING | MF_CHECKED, 100, " Peak &Meter"));
  EXPECT_TRUE(user.AppendMenuA(menu, MF_STRING, 101, " Info..."));
  EXPECT_TRUE(user.ModifyMenuA(menu, 100, MF_BYCOMMAND | MF_STRING | MF_UNCHECKED, 100,
                               " Peak &Meter"));
  EXPECT_FALSE(user.ModifyMenuA(menu, 555, MF_BYCOMMAND | MF_STRING, 555, "x"))
      << "no such item: nothing changes";
  auto items = user.SystemMenuItems(10);
  ASSERT_EQ(items.size(), HostUserApi::kStandardSystemMenuItems + 3);
  const std::size_t s = HostUserApi::kStandardSystemMenuItems;
  EXPECT_EQ(items[s].flags, MF_SEPARATOR);
  EXPECT_EQ(items[s + 1].id, 100u);
  EXPECT_EQ(items[s + 1].flags & MF_CHECKED, 0u);
  EXPECT_EQ(items[s + 2].text, " Info...");
  EXPECT_EQ(user.GetSystemMenu(10, true), 0u);
  EXPECT_EQ(user.SystemMenuItems(10).size(), HostUserApi::kStandardSystemMenuItems);
}

TEST(HostUserApi, RegisteredMessagesAreOneNumberPerNameFromTheRegisteredRange) {
  HostUserApi user;
  const std::uint32_t taskbar = user.RegisterWindowMessageA("TaskbarCreated");
  const std::uint32_t other = user.RegisterWindowMessageA("ZentraPaintStatistics");
  EXPECT_GE(taskbar, 0xC000u);
  EXPECT_LE(taskbar, 0xFFFFu);
  EXPECT_NE(taskbar, other);
  EXPECT_EQ(user.RegisterWindowMessageA("TaskbarCreated"), taskbar);
  EXPECT_EQ(user.RegisterWindowMessageA(""), 0u);
  EXPECT_EQ(user.RegisterWindowMessageA(nullptr), 0u);
}

}  // namespace
}  // namespace zentra
