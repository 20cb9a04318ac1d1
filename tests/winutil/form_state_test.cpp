// Saving and restoring a window's persistent components and placement in
// "Zudovodiv.ini", including values that are missing, broken or out of range
// and a file that cannot be written.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "controls/audio_rig.h"
#include "controls/level_meter.h"
#include "controls/slider.h"
#include "platform/silent_abort.h"
#include "winutil/form_state.h"
#include "winutil/page_index.h"
#include "winutil/profile_section.h"

namespace zentra {
namespace {

using testing::AudioRig;

constexpr const char* kIni = "Zudovodiv.ini";

class FormStateTest : public ::testing::Test {
 protected:
  FormStateTest() {
    pnChecks = rig.Make<TPanel>("pnChecks");
    pnChecks->SetTag(-1);
    chkPeakMeter = rig.Make<TCheckBox>("chkPeakMeter", pnChecks);
    chkPeakMeter->SetTag(-1);
    chkPeakMeter->SetChecked(true);
    chkPeakMeter->OnClick = [this](Component*) { ++peakClicks; };
    chkPlain = rig.Make<TCheckBox>("chkPlain", pnChecks);  // Tag 0: not persistent
    chkPlain->SetChecked(true);
  }

  std::string Value(const std::string& key, const std::string& section = "Analog Input") {
    ProfileSection profile(&rig.Kernel(), kIni, section);
    return profile.ReadString(key, "<missing>");
  }
  void Store(const std::string& key, const std::string& value,
             const std::string& section = "Analog Input") {
    ProfileSection profile(&rig.Kernel(), kIni, section);
    ASSERT_TRUE(profile.WriteString(key, value));
  }
  void Restore() { RestoreFormState(rig.Form(), kIni, "", -1, true); }
  bool Save() { return SaveFormState(rig.Form(), kIni, "", -1, true); }

  AudioRig rig;
  TPanel* pnChecks = nullptr;
  TCheckBox* chkPeakMeter = nullptr;
  TCheckBox* chkPlain = nullptr;
  int peakClicks = 0;
};

TEST_F(FormStateTest, SaveWritesPersistentComponentsAndPlacement) {
  rig.Form().SetShowHint(true);
  EXPECT_TRUE(Save());
  EXPECT_EQ(Value("pnChecks"), "1");
  EXPECT_EQ(Value("chkPeakMeter"), "1");
  EXPECT_EQ(Value("chkPlain"), "<missing>");
  EXPECT_EQ(Value("Top"), "20");
  EXPECT_EQ(Value("Left"), "10");
  EXPECT_EQ(Value("Width"), "400");
  EXPECT_EQ(Value("Height"), "300");
  EXPECT_EQ(Value("Hints"), "1");
}

TEST_F(FormStateTest, RoundTripBringsBackEveryPersistedClass) {
  auto* edit = rig.Make<TEdit>("edName", pnChecks);
  edit->SetTag(-1);
  edit->SetText("Studio A");
  auto* combo = rig.Make<TComboBox>("boxDevices", pnChecks);
  combo->SetTag(-1);
  combo->SetItems({"a", "b", "c"});
  combo->SetItemIndex(2);
  auto* speed = rig.Make<TSpeedButton>("btnMute", pnChecks);
  speed->SetTag(-1);
  speed->SetGroupIndex(5);
  speed->SetAllowAllUp(true);
  speed->SetDown(true);
  int speedClicks = 0;
  speed->OnClick = [&](Component*) { ++speedClicks; };
  auto* fader = rig.Make<TSlider>("Slider0", pnChecks);
  fader->SetTag(-1);
  fader->SetMax(255);
  fader->SetPosition(77);
  auto* pages = rig.Make<TPageControl>("tabCards");
  pages->SetTag(-1);
  auto* page0 = rig.Make<TTabSheet>("tab0", pages);
  auto* page1 = rig.Make<TTabSheet>("tab1", pages);
  pages->SetActivePage(page1);
  auto* meter = rig.Make<TLevelMeter>("Meter1", pnChecks);
  meter->SetTag(-1);  // a panel: stored as its visibility

  ASSERT_TRUE(Save());
  EXPECT_EQ(Value("Slider0"), "77");
  EXPECT_EQ(Value("tabCards"), "1");
  EXPECT_EQ(Value("Meter1"), "1");

  edit->SetText("");
  combo->SetItemIndex(0);
  speed->SetDown(false);
  fader->SetPosition(0);
  pages->SetActivePage(page0);
  meter->Hide();
  chkPeakMeter->SetChecked(false);
  rig.Form().SetBounds(0, 0, 200, 100);
  peakClicks = 0;

  Restore();
  EXPECT_EQ(edit->Text(), "Studio A");
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_TRUE(speed->Down());
  EXPECT_EQ(speedClicks, 1);
  EXPECT_EQ(fader->Position(), 77);
  EXPECT_EQ(pages->ActivePage(), page1);
  EXPECT_TRUE(meter->Visible());
  EXPECT_TRUE(chkPeakMeter->Checked());
  EXPECT_EQ(peakClicks, 1) << "a restored change of state runs the click handler";
  EXPECT_EQ(rig.Form().BoundsRect(), (Rect{10, 20, 410, 320}));
}

TEST_F(FormStateTest, MissingSectionKeepsTheDesign) {
  chkPeakMeter->SetChecked(false);
  peakClicks = 0;
  Restore();
  EXPECT_FALSE(chkPeakMeter->Checked());
  EXPECT_TRUE(pnChecks->Visible());
  EXPECT_EQ(peakClicks, 0);
  EXPECT_EQ(rig.Form().BoundsRect(), (Rect{10, 20, 410, 320}));
}

TEST_F(FormStateTest, OnlyComponentsWithTheMaskBitsArePersisted) {
  Store("chkPlain", "0");
  Store("pnChecks", "0");
  Restore();
  EXPECT_TRUE(chkPlain->Checked());
  EXPECT_FALSE(pnChecks->Visible());
  // A mask of 0 takes every named component.
  RestoreFormState(rig.Form(), kIni, "", 0, false);
  EXPECT_FALSE(chkPlain->Checked());
}

TEST_F(FormStateTest, RestoringASpeedButtonRunsItsClickEvenWithoutAChange) {
  auto* ext = rig.Make<TExtSpeedButton>("btnAdat1", pnChecks);
  ext->SetTag(-1);
  ext->SetGroupIndex(1);
  int clicks = 0, downs = 0;
  ext->OnClick = [&](Component*) { ++clicks; };
  ext->OnDown = [&](Component*) { ++downs; };
  Store("btnAdat1", "0");
  Restore();
  EXPECT_EQ(clicks, 1);
  Store("btnAdat1", "1");
  Restore();
  EXPECT_TRUE(ext->Down());
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(downs, 0) << "the down state is set directly";
}

TEST_F(FormStateTest, ACaptionChangeMovesTheStateToAnotherSection) {
  ASSERT_TRUE(Save());
  rig.Form().SetCaption("Digital Input");
  chkPeakMeter->SetChecked(false);
  ASSERT_TRUE(Save());
  EXPECT_EQ(Value("chkPeakMeter", "Analog Input"), "1");
  EXPECT_EQ(Value("chkPeakMeter", "Digital Input"), "0");
  // The suffix is part of the section.
  ASSERT_TRUE(SaveFormState(rig.Form(), kIni, " 2", -1, false));
  EXPECT_EQ(Value("chkPeakMeter", "Digital Input 2"), "0");
}

TEST_F(FormStateTest, BrokenValuesKeepTheCurrentState) {
  Store("chkPeakMeter", "ja");
  Store("pnChecks", "");
  Store("Top", "99999999999");
  Store("Left", "12abc");
  Store("Width", "  $1F4 ");  // hexadecimal 500, blanks around it
  Store("Height", "");
  Store("Hints", "-7");
  Restore();
  EXPECT_TRUE(chkPeakMeter->Checked());
  EXPECT_TRUE(pnChecks->Visible());
  EXPECT_EQ(rig.Form().Top(), 20);
  EXPECT_EQ(rig.Form().Left(), 10);
  EXPECT_EQ(rig.Form().Width(), 500);
  EXPECT_EQ(rig.Form().Height(), 300);
  EXPECT_TRUE(rig.Form().ShowHint());
  EXPECT_EQ(peakClicks, 0);
}

TEST_F(FormStateTest, PlacementOutsideTheWindowLimitsIsClamped) {
  // The window's own size rule: width 155..564, height fixed at 444.
  rig.Form().SetMessageHandler(WM_GETMINMAXINFO, [](Message& m) {
    auto* info = reinterpret_cast<MinMaxInfo*>(m.lParam);
    info->ptMinTrackSize = {155, 444};
    info->ptMaxTrackSize = {564, 444};
    m.result = 0;
  });
  Store("Width", "2000000000");
  Store("Height", "-50");
  Store("Top", "-30");  // off screen is allowed
  Restore();
  EXPECT_EQ(rig.Form().Width(), 564);
  EXPECT_EQ(rig.Form().Height(), 444);
  EXPECT_EQ(rig.Form().Top(), -30);
  Store("Width", "3");
  Restore();
  EXPECT_EQ(rig.Form().Width(), 155);
}

TEST_F(FormStateTest, WithoutALimitHandlerTheScreenBoundsTheSize) {
  Store("Width", "1000000");
  Store("Height", "-1");
  Restore();
  EXPECT_LE(rig.Form().Width(), 1024 + 16);
  EXPECT_GE(rig.Form().Width(), 1024);
  EXPECT_EQ(rig.Form().Height(), 0);
}

TEST_F(FormStateTest, AStoredFaderPositionOutOfRangeIsTheFadersRangeError) {
  auto* fader = rig.Make<TSlider>("Slider0", pnChecks);
  fader->SetTag(-1);
  fader->SetPosition(40);
  Store("Slider0", "101");
  Store("Top", "5");
  EXPECT_THROW(Restore(), ERangeError);
  EXPECT_EQ(fader->Position(), 40);
  EXPECT_EQ(rig.Form().Top(), 20) << "the restore ended at the fader";
}

TEST_F(FormStateTest, AFileThatCannotBeWrittenIsReportedAndNothingCrashes) {
  // A directory where the file should be: every write fails.
  std::filesystem::create_directories(rig.IniDir() / kIni);
  EXPECT_FALSE(Save());
  Restore();  // reading it gives the defaults
  EXPECT_TRUE(chkPeakMeter->Checked());
  EXPECT_EQ(rig.Form().Width(), 400);
}

TEST_F(FormStateTest, APageControlWithoutAnActivePageEndsTheSaveQuietly) {
  auto* pages = rig.Make<TPageControl>("tabEmpty");
  pages->SetTag(-1);
  auto* late = rig.Make<TCheckBox>("chkLate", pnChecks);
  late->SetTag(-1);
  EXPECT_FALSE(Save());
  EXPECT_EQ(Value("chkPeakMeter"), "1");
  EXPECT_EQ(Value("tabEmpty"), "<missing>");
  EXPECT_EQ(Value("chkLate"), "<missing>");
  EXPECT_EQ(Value("Top"), "<missing>");
}

TEST(ProfileInteger, AcceptsDecimalAndHexadecimalWithin32Bits) {
  EXPECT_EQ(ParseProfileInteger("42"), 42);
  EXPECT_EQ(ParseProfileInteger(" -17 "), -17);
  EXPECT_EQ(ParseProfileInteger("+8"), 8);
  EXPECT_EQ(ParseProfileInteger("$FF"), 255);
  EXPECT_EQ(ParseProfileInteger("0x10"), 16);
  EXPECT_EQ(ParseProfileInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseProfileInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseProfileInteger("-2147483648"), INT32_MIN);
  EXPECT_FALSE(ParseProfileInteger("2147483648"));
  EXPECT_FALSE(ParseProfileInteger("$100000000"));
  EXPECT_FALSE(ParseProfileInteger(""));
  EXPECT_FALSE(ParseProfileInteger("-"));
  EXPECT_FALSE(ParseProfileInteger("1 2"));
  EXPECT_FALSE(ParseProfileInteger("1.5"));
  EXPECT_FALSE(ParseProfileInteger(std::string(5000, '9')));
}

TEST(PageIndex, PagesByIndexAndAnUnknownPageIsASilentAbort) {
  AudioRig rig;
  auto* pages = rig.Make<TPageControl>("tabs");
  auto* a = rig.Make<TTabSheet>("a", pages);
  auto* b = rig.Make<TTabSheet>("b", pages);
  auto* stranger = rig.Make<TTabSheet>("c");
  EXPECT_EQ(PageByIndex(*pages, 1), b);
  EXPECT_EQ(PageByIndex(*pages, 2), nullptr);
  EXPECT_EQ(PageByIndex(*pages, -1), nullptr);
  EXPECT_EQ(IndexOfPage(*pages, a), 0);
  EXPECT_THROW(IndexOfPage(*pages, stranger), SilentAbort);
  EXPECT_THROW(IndexOfPage(*pages, nullptr), SilentAbort);
}

}  // namespace
}  // namespace zentra
