// Mirroring the option check boxes in the system menu, rewriting one item,
// and the window helpers (stay on top, close and free).
#include <gtest/gtest.h>

#include "controls/audio_rig.h"
#include "winutil/options_menu.h"
#include "winutil/window_control.h"

namespace zentra {
namespace {

using testing::AudioRig;

constexpr std::uintptr_t kInfoId = 0x7770;

class OptionsMenuTest : public ::testing::Test {
 protected:
  OptionsMenuTest() { pnChecks = rig.Make<TPanel>("pnChecks"); }

  TCheckBox* Box(const std::string& name, int left, int top, const std::string& caption,
                 bool checked = true) {
    auto* box = rig.Make<TCheckBox>(name, pnChecks);
    box->SetBounds(left, top, 120, 17);
    box->SetCaption(caption);
    box->SetChecked(checked);
    return box;
  }
  // The items added after the standard system menu.
  std::vector<MenuItem> Added() {
    std::vector<MenuItem> all = rig.User().SystemMenuItems(rig.Form().Handle());
    return {all.begin() + HostUserApi::kStandardSystemMenuItems, all.end()};
  }

  AudioRig rig;
  TPanel* pnChecks = nullptr;
};

TEST_F(OptionsMenuTest, TheAnalogOutputWindowsMenu) {
  TCheckBox* sel = Box("chkPlaybackSel", 8, 8, " &Wiedergabeauswahl");
  TCheckBox* peak = Box("chkPeakMeter", 8, 28, " Peak &Meter/Fader", false);
  const WinHandle menu = BuildOptionsMenu(*pnChecks, kInfoId, false);
  EXPECT_NE(menu, 0u);
  const std::vector<MenuItem> items = Added();
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[0].flags, MF_SEPARATOR);
  EXPECT_EQ(items[1].text, " &Wiedergabeauswahl");
  EXPECT_EQ(items[1].id, sel->Identity());
  EXPECT_EQ(items[1].flags, MF_STRING | MF_CHECKED);
  EXPECT_EQ(items[2].text, " Peak &Meter/Fader");
  EXPECT_EQ(items[2].id, peak->Identity());
  EXPECT_EQ(items[2].flags, MF_STRING | MF_UNCHECKED);
  EXPECT_EQ(items[3].flags, MF_SEPARATOR);
  EXPECT_EQ(items[4].text, " Fenstersteuerung anzeigen");
  EXPECT_EQ(items[4].id, pnChecks->Identity());
  EXPECT_EQ(items[4].flags, MF_STRING | MF_CHECKED);
  EXPECT_EQ(items[5].flags, MF_SEPARATOR);
  EXPECT_EQ(items[6].text, " Info...");
  EXPECT_EQ(items[6].id, kInfoId);
  EXPECT_EQ(items[6].flags, MF_STRING | MF_UNCHECKED);
}

TEST_F(OptionsMenuTest, ItemsRunColumnByColumnAndTopToBottom) {
  Box("c", 8, 28, "second");
  Box("b", 100, 8, "third");
  Box("a", 8, 8, "first");
  Box("dup", 8, 8, "same place");  // same key as "a": no item
  Box("corner", 0, 0, "corner");   // key 0: no item
  rig.Make<TLabel>("lbNotABox", pnChecks)->SetBounds(8, 50, 10, 10);
  BuildOptionsMenu(*pnChecks, kInfoId, true);
  const std::vector<MenuItem> items = Added();
  ASSERT_EQ(items.size(), 9u);
  EXPECT_EQ(items[1].text, "first");
  EXPECT_EQ(items[2].text, "second");
  EXPECT_EQ(items[3].text, "third");
  EXPECT_EQ(items[4].flags, MF_SEPARATOR);  // the extra one
  EXPECT_EQ(items[5].flags, MF_SEPARATOR);
}

TEST_F(OptionsMenuTest, LongCaptionsAreCutTo255Characters) {
  Box("long", 8, 8, std::string(300, 'x'));
  std::string umlauts;
  for (int i = 0; i < 300; ++i) umlauts += "ä";
  Box("umlauts", 8, 28, umlauts);
  BuildOptionsMenu(*pnChecks, kInfoId, false);
  const std::vector<MenuItem> items = Added();
  EXPECT_EQ(items[1].text, std::string(255, 'x'));
  EXPECT_EQ(items[2].text.size(), 510u) << "255 two-byte characters, none split";
  EXPECT_EQ(MenuItemText("kurz"), "kurz");
}

TEST_F(OptionsMenuTest, UpdateRewritesOnlyTheControlsOwnItem) {
  TCheckBox* peak = Box("chkPeakMeter", 8, 8, " Peak Meter");
  BuildOptionsMenu(*pnChecks, kInfoId, false);
  peak->SetChecked(false);
  peak->SetCaption(std::string(260, 'p'));
  UpdateOptionsMenuItem(peak);
  pnChecks->Hide();
  UpdateOptionsMenuItem(pnChecks);
  std::vector<MenuItem> items = Added();
  EXPECT_EQ(items[1].flags, MF_STRING | MF_UNCHECKED);
  EXPECT_EQ(items[1].text, std::string(255, 'p'));
  EXPECT_EQ(items[3].text, " Fenstersteuerung anzeigen");
  EXPECT_EQ(items[3].flags, MF_STRING | MF_UNCHECKED);
  // No item for the window's hints, and nothing for no control.
  const auto before = rig.User().SystemMenuItems(rig.Form().Handle());
  UpdateOptionsMenuItem(&rig.Form());
  UpdateOptionsMenuItem(nullptr);
  const auto after = rig.User().SystemMenuItems(rig.Form().Handle());
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i].text, before[i].text);
}

TEST_F(OptionsMenuTest, AHintsItemFollowsTheWindowsHintDisplay) {
  const WinHandle menu = rig.User().GetSystemMenu(rig.Form().Handle(), false);
  rig.User().AppendMenuA(menu, MF_STRING, rig.Form().Identity(), "x");
  rig.Form().SetShowHint(true);
  UpdateOptionsMenuItem(&rig.Form());
  const MenuItem last = rig.User().SystemMenuItems(rig.Form().Handle()).back();
  EXPECT_EQ(last.text, " Tips anzeigen");
  EXPECT_EQ(last.flags, MF_STRING | MF_CHECKED);
}

TEST(WindowControl, StayOnTopUsesTopmostPlacement) {
  AudioRig rig;
  SetStayOnTop(rig.Form(), true);
  EXPECT_TRUE(rig.User().IsTopmost(rig.Form().Handle()));
  SetStayOnTop(rig.Form(), false);
  EXPECT_FALSE(rig.User().IsTopmost(rig.Form().Handle()));
  EXPECT_EQ(rig.User().SetWindowPosCount(), 2);
}

TEST(WindowControl, CloseAndFreeFormClosesDestroysAndClears) {
  AudioRig rig;
  std::vector<std::string> log;
  auto* window = new TForm(nullptr);
  window->OnClose = [&](Component*, CloseAction&) { log.push_back("close"); };
  window->OnDestroy = [&](Component*) { log.push_back("destroy"); };
  window->Show();
  CloseAndFreeForm(window);
  EXPECT_EQ(window, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"close", "destroy"}));
  CloseAndFreeForm(window);  // an empty reference: nothing
  EXPECT_EQ(log.size(), 2u);
}

}  // namespace
}  // namespace zentra
