// The ADAT input and ADAT output windows through the control window: eight
// handles and meters per card on the four ADAT pairs, channel numbers
// counting on across the cards, metering on the even handles only, the
// peak meter box that shows and hides the whole main panel, the system
// menu, persistence, the size rule, failures and the exclusion with the
// digital windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/level_meter.h"
#include "driver/control_messages.h"
#include "mixer/adat_window.h"
#include "mixer/mixer_rig.h"
#include "support/call_sequence.h"
#include "support/le_bytes.h"

namespace zentra::testing {
namespace {

constexpr int kFrameHeight = 27;  // headless sizeable frame: caption and borders
constexpr int kDesignHeight = 289;
constexpr int kMainPanelHeight = 230;
constexpr int kChecksHeight = 32;

// One of the two windows as the tests drive it.
struct Side {
  const char* name;
  const char* className;
  const char* caption;
  const char* mainPanel;
  bool input;
  int meterPanelWidth;
  TExtCheckBox* TMixControlWnd::*box;
  MeterMessages messages;
};

const Side kInput{"input", "TfrmAdatInp", "ADAT Inputs", "grpInput", true, 314, &TMixControlWnd::chkAdatInputs,
                  MeterMessagesOf(Direction::Record)};
const Side kOutput{"output", "TfrmAdatOut", "ADAT Outputs", "grpGround", false, 310,
                   &TMixControlWnd::chkAdatOutputs, MeterMessagesOf(Direction::Playback)};

TCheckBox& BoxOf(MixerRig& m, const Side& side) {
  return *(m.control->*side.box);
}

TfrmAdat* WindowOf(MixerRig& m, const Side& side) {
  return dynamic_cast<TfrmAdat*>(m.control->WindowOf(side.className));
}

TfrmAdat* Open(MixerRig& m, const Side& side) {
  m.Tick(BoxOf(m, side), true);
  return WindowOf(m, side);
}

Call Msg(const Side& side, std::uint32_t message) { return side.input ? In(message) : Out(message); }

std::vector<std::string> NumberCaptions(TfrmAdat& w) {
  std::vector<std::string> out;
  for (Component* c : w.Components()) {
    auto* label = dynamic_cast<TLabel*>(c);
    if (label != nullptr && label->Parent() == w.pnNumbers) out.push_back(label->Caption());
  }
  return out;
}

void ExpectNothingLeft(MixerRig& m) {
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
  EXPECT_TRUE(m.rig.driver().arena().Misuse().empty());
}

// --- construction -------------------------------------------------------------

TEST(AdatWindows, HandlesMetersNumbersAndSizesForOneTwoAndFourCards) {
  for (const Side* side : {&kInput, &kOutput}) {
    for (int cards : {1, 2, 4}) {
      SCOPED_TRACE(std::string(side->name) + ", cards " + std::to_string(cards));
      MixerRig m(cards);
      TfrmAdat* w = Open(m, *side);
      ASSERT_NE(w, nullptr);
      EXPECT_TRUE(w->Ready());
      EXPECT_TRUE(w->Visible());
      EXPECT_STREQ(w->ClassName(), side->className);
      EXPECT_EQ(w->Name(), std::string(side->className).substr(1));
      EXPECT_EQ(w->Caption(), side->caption);
      EXPECT_EQ(w->MainPanel()->Name(), side->mainPanel);
      EXPECT_EQ(w->FindComponent(side->input ? "grpGround" : "grpInput"), nullptr);

      // Eight handles per card: 2j and 2j + 1 on ADAT pair j, card-major.
      ASSERT_EQ(w->ControlHandleCount(), static_cast<std::size_t>(8 * cards));
      for (int i = 0; i < 8 * cards; ++i) {
        auto handle = m.rig.driver().wave().FindHandle(w->ControlHandles()[i]);
        ASSERT_TRUE(handle.has_value()) << i;
        EXPECT_EQ(handle->slot, (i / 8) * 6 + 2 + (i % 8) / 2) << i;
        EXPECT_EQ(handle->record, side->input) << i;
        EXPECT_EQ(handle->callback, w->Handle());
      }
      // Meters in channel order, card-major; numbers 1 .. 8n under them.
      ASSERT_EQ(w->MeterTable().size(), static_cast<std::size_t>(8 * cards));
      std::vector<std::string> numbers;
      for (int i = 0; i < 8 * cards; ++i) {
        EXPECT_EQ(w->MeterTable()[i]->Tag(), i);
        numbers.push_back(std::to_string(i + 1));
      }
      EXPECT_EQ(NumberCaptions(*w), numbers);
      // A number stands centred under its meter.
      int n = 0;
      for (Component* c : w->Components()) {
        auto* label = dynamic_cast<TLabel*>(c);
        if (label == nullptr || label->Parent() != w->pnNumbers) continue;
        const TLevelMeter* meter = w->MeterTable()[n++];
        const int meterCentre = meter->Parent()->Left() + meter->Left() + meter->Width() / 2;
        EXPECT_EQ(label->Left() + label->Width() / 2, meterCentre) << label->Caption();
        EXPECT_EQ(label->GetAlignment(), Alignment::Center);
      }
      EXPECT_EQ(w->pnMeters->Width(), side->meterPanelWidth + 312 * (cards - 1));
      EXPECT_EQ(w->pnNumbers->Width(), 285 + 312 * (cards - 1));
      EXPECT_EQ(w->MainPanel()->Height(), kMainPanelHeight);
      EXPECT_EQ(w->pnChecks->Height(), kChecksHeight);
      EXPECT_EQ(w->Height(), kDesignHeight);
      EXPECT_EQ(w->FixedHeight(), kDesignHeight);

      const MinMaxInfo limits = SizeLimits(*w);
      EXPECT_EQ(limits.ptMinTrackSize.x, 174);
      EXPECT_EQ(limits.ptMaxTrackSize.x, 314 * cards + 16);
      EXPECT_EQ(limits.ptMaxSize.x, 314 * cards + 16);
      EXPECT_EQ(limits.ptMinTrackSize.y, kDesignHeight);
      EXPECT_EQ(limits.ptMaxTrackSize.y, kDesignHeight);
      w->UserResized(5000, 900);
      EXPECT_EQ(w->Width(), 314 * cards + 16);
      EXPECT_EQ(w->Height(), kDesignHeight);
      w->UserResized(10, 10);
      EXPECT_EQ(w->Width(), 174);
    }
  }
}

TEST(AdatWindows, EachFurtherCardsMeterPanelsStand312PixelsOn) {
  MixerRig m(3);
  TfrmAdat* w = Open(m, kInput);
  ASSERT_NE(w, nullptr);
  std::vector<int> lefts;
  for (Component* c : w->Components()) {
    auto* panel = dynamic_cast<TPanel*>(c);
    if (panel != nullptr && panel->Parent() == w->pnMeters) {
      lefts.push_back(panel->Left());
      EXPECT_EQ(panel->Width(), 53);
      EXPECT_EQ(panel->Height(), 185);
      EXPECT_EQ(panel->GetColor(), clSilver) << "every card's meter panels look alike";
      EXPECT_EQ(panel->Tag(), static_cast<int>(lefts.size() - 1) / 4) << panel->Name();
    }
  }
  EXPECT_EQ(lefts, (std::vector<int>{4, 82, 160, 238, 316, 394, 472, 550, 628, 706, 784, 862}));
  // Every pair has its own dB scale, cloned with it.
  int scales = 0;
  for (Component* c : w->Components())
    if (auto* label = dynamic_cast<TLabel*>(c); label != nullptr && label->Parent() == w->pnMeters &&
                                               label->Caption() == "dB")
      ++scales;
  EXPECT_EQ(scales, 12);
  EXPECT_EQ(NumberCaptions(*w).back(), "24");
}

// --- the conversation -----------------------------------------------------------

// The full life of the window, as the driver sees it.
TEST(AdatWindows, OpenMeterPollAndCloseTalkOnTheEvenHandlesOnly) {
  for (const Side* side : {&kInput, &kOutput}) {
    for (int cards : {1, 2, 4}) {
      SCOPED_TRACE(std::string(side->name) + ", cards " + std::to_string(cards));
      const int devices = 4 * cards;
      MixerRig m(cards);
      TfrmAdat* w = Open(m, *side);
      ASSERT_NE(w, nullptr);
      const std::vector<WinHandle> h = w->ControlHandles();
      std::vector<Call> expected;
      for (int card = 0; card < cards; ++card)
        for (int i = 0; i < 8; ++i) expected.push_back(Call::Open(card * 6 + 2 + i / 2));
      for (int d = 0; d < devices; ++d)
        expected.push_back(
            Msg(*side, side->messages.start).Handle(h[2 * d]).Slot((d / 4) * 6 + 2 + d % 4).Dw1(0).Dw2(0));
      EXPECT_TRUE(CallsAre(m.rig.driver().callLog().Records(), expected));

      m.ClearLog();
      m.Run(100);
      expected.clear();
      for (int d = 0; d < devices; ++d)
        expected.push_back(Msg(*side, side->messages.peaks)
                               .Handle(h[2 * d])
                               .Slot((d / 4) * 6 + 2 + d % 4)
                               .Dw1(w->MeterLevelBlock().Address())
                               .Dw2(0));
      const auto polls = m.rig.driver().callLog().Records();
      EXPECT_TRUE(CallsAre(polls, expected));
      // Meters 2d and 2d + 1 show the two values of request d.
      ASSERT_EQ(polls.size(), static_cast<std::size_t>(devices));
      for (int d = 0; d < devices; ++d) {
        ASSERT_EQ(polls[d].blockAfter.size(), 8u);
        EXPECT_EQ(w->MeterTable()[2 * d]->Level(), static_cast<int>(Le32(polls[d].blockAfter, 0))) << d;
        EXPECT_EQ(w->MeterTable()[2 * d + 1]->Level(), static_cast<int>(Le32(polls[d].blockAfter, 4))) << d;
      }

      m.ClearLog();
      m.Tick(BoxOf(m, *side), false);
      expected.clear();
      for (int d = 0; d < devices; ++d)
        expected.push_back(Msg(*side, side->messages.stop).Handle(h[2 * d]).Dw1(0).Dw2(0));
      for (int card = 0; card < cards; ++card)
        for (int i = 0; i < 8; ++i) expected.push_back(Call::Close(card * 6 + 2 + i / 2));
      EXPECT_TRUE(CallsAre(m.rig.driver().callLog().Records(), expected));
      EXPECT_EQ(WindowOf(m, *side), nullptr);
      ExpectNothingLeft(m);
    }
  }
}

TEST(AdatWindows, FourCardsMakeSixteenRequestsAPollAndTickAllThirtyTwoMeters) {
  MixerRig m(4);
  TfrmAdat* w = Open(m, kInput);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(m.InMessages(CTL_IN_METER_START).size(), 16u);
  EXPECT_EQ(m.OpenHandleCount(), 32u);
  m.ClearLog();
  m.Run(1000);
  EXPECT_EQ(m.InMessages(CTL_IN_GET_PEAKS).size(), 160u);
  ASSERT_EQ(w->MeterTable().size(), 32u);
  // The simulated signals move every channel: each meter got a level.
  for (TLevelMeter* meter : w->MeterTable()) EXPECT_GT(meter->PeakIndex(), 0) << meter->Name();
  // A decay tick reaches every meter: with the polls stopped, all fall dark.
  m.ui.Click(*w->chkPeakMeter);
  for (int tick = 0; tick < 200; ++tick) w->Perform(WM_METER_DECAY, 0, 0);
  for (TLevelMeter* meter : w->MeterTable()) EXPECT_EQ(meter->PeakIndex(), 0) << meter->Name();
}

// --- the peak meter box and the option panel ------------------------------------

TEST(AdatWindows, PeakMeterBoxHidesTheWholeMainPanelAndStopsMetering) {
  for (const Side* side : {&kInput, &kOutput}) {
    SCOPED_TRACE(side->name);
    MixerRig m(2);
    TfrmAdat* w = Open(m, *side);
    ASSERT_NE(w, nullptr);
    const std::vector<WinHandle> h = w->ControlHandles();
    m.ClearLog();
    m.ui.Click(*w->chkPeakMeter);
    std::vector<Call> stops;
    for (int d = 0; d < 8; ++d) stops.push_back(Msg(*side, side->messages.stop).Handle(h[2 * d]));
    EXPECT_TRUE(CallsAre(m.rig.driver().callLog().Records(), stops));
    EXPECT_FALSE(w->MetersRunning());
    EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
    EXPECT_FALSE(w->MainPanel()->Visible());
    EXPECT_TRUE(w->pnChecks->Visible());
    EXPECT_EQ(w->Height(), kDesignHeight - kMainPanelHeight);
    EXPECT_EQ(w->FixedHeight(), kDesignHeight - kMainPanelHeight);

    m.ClearLog();
    m.ui.Click(*w->chkPeakMeter);
    std::vector<Call> starts;
    for (int d = 0; d < 8; ++d) starts.push_back(Msg(*side, side->messages.start).Handle(h[2 * d]));
    EXPECT_TRUE(CallsAre(m.rig.driver().callLog().Records(), starts));
    EXPECT_TRUE(w->MetersRunning());
    EXPECT_EQ(m.rig.timer().LiveTimerCount(), 2u);
    EXPECT_TRUE(w->MainPanel()->Visible());
    EXPECT_EQ(w->MainPanel()->Height(), kMainPanelHeight);
    EXPECT_EQ(w->Height(), kDesignHeight);
  }
}

TEST(AdatWindows, SystemMenuTogglesThePeakMeterAndTheOptionPanel) {
  MixerRig m(1);
  TfrmAdat* w = Open(m, kOutput);
  ASSERT_NE(w, nullptr);
  std::vector<MenuItem> menu = m.rig.user().SystemMenuItems(w->Handle());
  const std::size_t first = HostUserApi::kStandardSystemMenuItems;
  ASSERT_EQ(menu.size(), first + 6);
  EXPECT_EQ(menu[first + 1].text, " &Peak Meter");
  EXPECT_EQ(menu[first + 1].id, w->chkPeakMeter->Identity());
  EXPECT_NE(menu[first + 1].flags & MF_CHECKED, 0u);
  EXPECT_EQ(menu[first + 3].text, " Fenstersteuerung anzeigen");
  EXPECT_EQ(menu[first + 5].text, " Info...");

  // The peak meter item acts like the box, the driver's metering included.
  m.ClearLog();
  w->Perform(WM_SYSCOMMAND, w->chkPeakMeter->Identity(), 0);
  EXPECT_FALSE(w->chkPeakMeter->Checked());
  EXPECT_EQ(ControlMessages(m.rig.driver().callLog().Records(), {CTL_OUT_METER_STOP}).size(), 4u);
  EXPECT_EQ(m.rig.user().SystemMenuItems(w->Handle())[first + 1].flags & MF_CHECKED, 0u);
  EXPECT_EQ(w->Height(), kDesignHeight - kMainPanelHeight);

  // Without pnChecks too, only the frame remains.
  w->Perform(WM_SYSCOMMAND, w->pnChecks->Identity(), 0);
  EXPECT_FALSE(w->pnChecks->Visible());
  EXPECT_EQ(w->Height(), kFrameHeight);
  EXPECT_EQ(w->FixedHeight(), kFrameHeight);

  // The meters come back alone, filling the window, metering again.
  m.ClearLog();
  w->Perform(WM_SYSCOMMAND, w->chkPeakMeter->Identity(), 0);
  EXPECT_TRUE(w->MainPanel()->Visible());
  EXPECT_EQ(w->MainPanel()->Height(), kMainPanelHeight);
  EXPECT_EQ(w->Height(), kFrameHeight + kMainPanelHeight);
  EXPECT_EQ(ControlMessages(m.rig.driver().callLog().Records(), {CTL_OUT_METER_START}).size(), 4u);
  EXPECT_TRUE(w->MetersRunning());

  // Off and on again without pnChecks: the height comes and goes whole.
  w->Perform(WM_SYSCOMMAND, w->chkPeakMeter->Identity(), 0);
  EXPECT_EQ(w->Height(), kFrameHeight);
  w->Perform(WM_SYSCOMMAND, w->chkPeakMeter->Identity(), 0);
  EXPECT_EQ(w->Height(), kFrameHeight + kMainPanelHeight);

  w->Perform(WM_SYSCOMMAND, w->pnChecks->Identity(), 0);
  EXPECT_TRUE(w->pnChecks->Visible());
  EXPECT_EQ(w->Height(), kDesignHeight);
  EXPECT_EQ(w->FixedHeight(), kDesignHeight);
  EXPECT_EQ(w->MainPanel()->Height(), kMainPanelHeight);
  EXPECT_EQ(w->pnChecks->Height(), kChecksHeight);
}

// --- persistence ----------------------------------------------------------------------

TEST(AdatWindows, ClosingSavesTheOptionsUnderTheCaptionAndTheNextOpeningRestoresThem) {
  for (const Side* side : {&kInput, &kOutput}) {
    SCOPED_TRACE(side->name);
    MixerRig m(3);
    TfrmAdat* w = Open(m, *side);
    ASSERT_NE(w, nullptr);
    m.ui.Click(*w->chkPeakMeter);
    w->UserResized(700, 999);
    w->UserCloseRequest();
    Application::Instance().ProcessMessages();  // the window-closed notice
    EXPECT_FALSE(BoxOf(m, *side).Checked());
    ExpectNothingLeft(m);
    const std::string ini = m.ReadIni();
    const std::size_t at = ini.find(std::string("[") + side->caption + "]");
    ASSERT_NE(at, std::string::npos) << ini;
    const std::string section = ini.substr(at, ini.find("\n[", at + 1) - at);
    for (const char* key : {"pnChecks=1", "chkPeakMeter=0", "Width=700", "Height=59"})
      EXPECT_NE(section.find(key), std::string::npos) << key << " in " << section;

    m.ClearLog();
    TfrmAdat* again = Open(m, *side);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->chkPeakMeter->Checked());
    EXPECT_FALSE(again->MainPanel()->Visible());
    EXPECT_EQ(again->Width(), 700);
    EXPECT_EQ(again->Height(), kDesignHeight - kMainPanelHeight);
    EXPECT_FALSE(again->MetersRunning());
    EXPECT_TRUE(ControlMessages(m.rig.driver().callLog().Records()).empty());
  }
}

TEST(AdatWindows, StoredHiddenOptionPanelAndClampedWidth) {
  MixerRig m(2);
  m.WriteIni("[ADAT Inputs]\npnChecks=0\nWidth=5000\nHeight=12\n");
  TfrmAdat* w = Open(m, kInput);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->pnChecks->Visible());
  EXPECT_TRUE(w->MetersRunning());
  EXPECT_EQ(w->Width(), 314 * 2 + 16);
  EXPECT_EQ(w->Height(), kDesignHeight - kChecksHeight);
  EXPECT_EQ(w->FixedHeight(), kDesignHeight - kChecksHeight);
  EXPECT_EQ(w->MainPanel()->Height(), kMainPanelHeight);
}

// --- failures -----------------------------------------------------------------------------

TEST(AdatWindows, AMissingOrRefusedPairEndsTheConstructionSilently) {
  struct Case {
    const Side* side;
    const char* scenario;
    int opensBefore;  // handles opened before the failing one
  };
  // (Of three cards with one device missing, two count as complete, and
  // the second of them lacks its last ADAT playback pair.)
  const Case cases[] = {
      {&kInput, "[Card2]\nRefuseOpen=AdatIn3\n", 8 + 4},
      {&kOutput, "[Card1]\nRefuseOpen=AdatOut1\n", 0},
      {&kOutput, "[Card2]\nMissingDevices=AdatOut4\n", 8 + 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scenario);
    MixerRig m(3, c.scenario);
    const std::size_t boxes = m.rig.user().MessageBoxes().size();
    m.ClearLog();
    EXPECT_EQ(Open(m, *c.side), nullptr);
    EXPECT_FALSE(BoxOf(m, *c.side).Checked());
    EXPECT_EQ(m.rig.user().MessageBoxes().size(), boxes);
    EXPECT_EQ(m.rig.Records(sim::CallRecord::Kind::Close).size(), static_cast<std::size_t>(c.opensBefore));
    EXPECT_TRUE(ControlMessages(m.rig.driver().callLog().Records()).empty());
    ExpectNothingLeft(m);
  }
}

TEST(AdatWindows, NoSharedMemoryMeansTheWindowIsNotShown) {
  MixerRig m(2);
  m.rig.driver().arena().FailNextAllocations(1);
  EXPECT_EQ(Open(m, kOutput), nullptr);
  EXPECT_FALSE(m.control->chkAdatOutputs->Checked());
  EXPECT_TRUE(ControlMessages(m.rig.driver().callLog().Records()).empty());
  ExpectNothingLeft(m);
}

TEST(AdatWindows, ARefusedLevelRequestLeavesOnlyThatPairsMetersAlone) {
  MixerRig m(1, "[Card1]\nRefusePeaks=AdatIn2\n");
  TfrmAdat* w = Open(m, kInput);
  ASSERT_NE(w, nullptr);
  m.Run(1000);
  const auto& meters = w->MeterTable();
  EXPECT_EQ(meters[2]->Level(), 0);
  EXPECT_EQ(meters[3]->Level(), 0);
  EXPECT_EQ(meters[2]->PeakIndex(), 0);
  for (int i : {0, 1, 4, 5, 6, 7}) EXPECT_GT(meters[i]->PeakIndex(), 0) << i;
  // The request was made all the same, every poll, on the pair's even handle.
  const auto refused = m.InMessages(CTL_IN_GET_PEAKS);
  std::size_t onPair = 0;
  for (const auto& r : refused)
    if (r.handle == w->ControlHandles()[2]) ++onPair;
  EXPECT_EQ(onPair, 10u);
}

// --- the control window --------------------------------------------------------------------

TEST(AdatWindows, NeverOpenTogetherWithADigitalWindow) {
  MixerRig m(2);
  TfrmAdat* in = Open(m, kInput);
  TfrmAdat* out = Open(m, kOutput);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  // Both ADAT windows may be open together; a digital window closes both.
  m.Tick(*m.control->chkDigitalOutputs, true);
  EXPECT_FALSE(m.control->chkAdatInputs->Checked());
  EXPECT_FALSE(m.control->chkAdatOutputs->Checked());
  EXPECT_EQ(WindowOf(m, kInput), nullptr);
  EXPECT_EQ(WindowOf(m, kOutput), nullptr);
  EXPECT_EQ(ControlMessages(m.rig.driver().callLog().Records(), {CTL_IN_METER_STOP, CTL_OUT_METER_STOP}).size(),
            16u);

  // And an ADAT window closes the digital ones (whether they could open or not).
  m.Tick(*m.control->chkDigitalInputs, true);
  ASSERT_NE(Open(m, kOutput), nullptr);
  EXPECT_FALSE(m.control->chkDigitalInputs->Checked());
  EXPECT_FALSE(m.control->chkDigitalOutputs->Checked());
  EXPECT_EQ(m.control->WindowOf("TfrmDigInp"), nullptr);
  EXPECT_EQ(m.control->WindowOf("TfrmDigOut"), nullptr);
  m.Tick(*m.control->chkAdatOutputs, false);
  ExpectNothingLeft(m);
}

}  // namespace
}  // namespace zentra::testing
