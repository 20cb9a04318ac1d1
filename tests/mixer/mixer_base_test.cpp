// The mixer base as every window uses it: the conversation of the analog
// input window in order, metering by route (a small output window whose
// meters may read input handles), the mended level request, and ownership
// of handles and blocks when construction fails at any step.
#include <gtest/gtest.h>

#include <stdexcept>

#include "controls/level_meter.h"
#include "driver/control_messages.h"
#include "platform/silent_abort.h"
#include "mixer/mixer_rig.h"
#include "support/call_sequence.h"

namespace zentra::testing {
namespace {

// --- the analog input window's conversation ------------------------------------

// The rig's simulated cards live on the virtual clock that drives the
// windows' timers: a second of metering is a second of test signal however
// long the host takes (a slow start under ASan once left the ADAT test's
// channels in their troughs).
TEST(MixerRig, TheCardsTimeIsTheVirtualClock) {
  MixerRig m(1);
  const std::uint64_t start = m.rig.driver().cards().NowMs();
  m.Run(1000);
  EXPECT_EQ(m.rig.driver().cards().NowMs() - start, 1000u);
}

TEST(MixerBase, AnalogInputReadsBackEachStripInOneWalkThenStartsMetering) {
  MixerRig m(2, "[Card1]\nAnalogInputState=5,2,1,9\n[Card2]\nAnalogInputState=0,1,2,0\n");
  ASSERT_NE(m.OpenAnalogInput(), nullptr);
  // Each button that becomes checked writes the state just read; the first
  // card's two groups come before the second card's.
  EXPECT_TRUE(CallsAre(MessagesWithoutPolls(m), {
                                                    In(CTL_GET_INPUT_STATE).Slot(0).Dw2(0),
                                                    In(CTL_GET_INPUT_STATE).Slot(6).Dw2(0),
                                                    In(CTL_SET_INPUT_STATE).Slot(0).Dw1(0x09010205),
                                                    In(CTL_SET_INPUT_STATE).Slot(0).Dw1(0x09010205),
                                                    In(CTL_SET_INPUT_STATE).Slot(6).Dw1(0x00020100),
                                                    In(CTL_SET_INPUT_STATE).Slot(6).Dw1(0x00020100),
                                                    In(CTL_IN_METER_START).Slot(0).Dw1(0).Dw2(0),
                                                    In(CTL_IN_METER_START).Slot(6).Dw1(0).Dw2(0),
                                                }));
}

TEST(MixerBase, AnalogInputChoicesWriteTheirCardsWholeState) {
  MixerRig m(2, "[Card2]\nAnalogInputState=7,1,0,3\n");
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  m.ClearLog();
  m.ui.Click(*StripButton(*w, *w->pnRouteParent, 1, 2));
  m.ui.Click(*StripButton(*w, *w->pnWhenToMonParent, 0, 2));
  m.ui.Click(*StripButton(*w, *w->pnWhenToMonParent, 1, 1));
  EXPECT_TRUE(CallsAre(MessagesWithoutPolls(m), {
                                                    In(CTL_SET_INPUT_STATE).Slot(6).Dw1(0x03000207),
                                                    In(CTL_SET_INPUT_STATE).Slot(0).Dw1(0x00020100),
                                                    In(CTL_SET_INPUT_STATE).Slot(6).Dw1(0x03010207),
                                                }));
}

TEST(MixerBase, AFailedLevelRequestLeavesThatDevicesMetersAlone) {
  MixerRig m(2, "[Card2]\nRefusePeaks=AnalogIn\n");
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  m.Run(1000);
  // The first card's signal reaches its meters; the second card's meters
  // never show the first card's values left in the shared block.
  EXPECT_GT(w->MeterTable()[0]->Level() + w->MeterTable()[1]->Level(), 0);
  EXPECT_EQ(w->MeterTable()[2]->Level(), 0);
  EXPECT_EQ(w->MeterTable()[3]->Level(), 0);
  const auto polls = ControlMessages(m.rig.driver().callLog().Records(), {CTL_IN_GET_PEAKS});
  ASSERT_FALSE(polls.empty());
  EXPECT_NE(polls.back().result, 0u);
}

TEST(MixerBase, AMainPanelHiddenBeforeTheOptionPanelComesBackWithItsHeight) {
  // Sections off first, then the option panel: the hidden main panel was
  // client-aligned with nothing to fill when a section brings it back.
  MixerRig m(1);
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  const int mainHeight = w->grpInput->Height();
  w->Perform(WM_SYSCOMMAND, w->chkRouting->Identity(), 0);
  w->Perform(WM_SYSCOMMAND, w->chkPeakMeter->Identity(), 0);
  ASSERT_FALSE(w->grpInput->Visible());
  w->Perform(WM_SYSCOMMAND, w->pnChecks->Identity(), 0);
  const int frameOnly = w->Height();
  w->Perform(WM_SYSCOMMAND, w->chkRouting->Identity(), 0);
  w->Perform(WM_SYSCOMMAND, w->chkPeakMeter->Identity(), 0);
  EXPECT_TRUE(w->pnMeters->Visible());
  EXPECT_EQ(w->grpInput->Height(), mainHeight);
  EXPECT_EQ(w->Height(), frameOnly + mainHeight);
  w->Perform(WM_SYSCOMMAND, w->pnChecks->Identity(), 0);
  EXPECT_EQ(w->Height(), 444 - 19);
  EXPECT_EQ(w->FixedHeight(), 444 - 19);
  EXPECT_EQ(w->grpInput->Height(), mainHeight);
}

// --- a window that meters by route ------------------------------------------------

constexpr const char* kSourceWindowText = R"(object frmSource: TTestSourceWindow
  Width = 200
  Height = 300
  Caption = 'Source Test'
  Visible = False
  OnCreate = FormCreate
  OnShow = FormShow
  OnClose = FormClose
  OnDestroy = FormDestroy
  object pnGround: TPanel
    Align = alTop
    Height = 200
    object pnLevel: TPanel
      Left = 0
      Top = 0
      Width = 100
      Height = 190
      object Meter1: TLevelMeter
        Left = 6
        Top = 6
        Height = 163
      end
      object Meter2: TLevelMeter
        Left = 28
        Top = 6
        Height = 163
      end
    end
  end
  object pnChecks: TPanel
    Align = alClient
    Tag = -1
    object chkPeakMeter: TCheckBox
      Left = 4
      Top = 4
      Width = 90
      Tag = -1
      Caption = ' Peak Meter'
      Checked = True
      OnClick = chkPeakMeterClick
    end
  end
end
)";

const MixerClassInfo kSourceWindowInfo = {
    .caption = "Source Test",
    .handleGroups = {{.deviceKind = kKindAnalog, .direction = Direction::Playback, .channelsPerCard = 2}},
    .devicesPerCard = 1,
    .mainPanel = "pnGround",
    .settingsSection = nullptr,
    .meterSection = "pnLevel",
    .headerRow = nullptr,
    .strips = {{"pnLevel", StripContainerInfo::Labels::Unchanged}},
    .stripWidth = 100,
    .designHeight = 300,
    .widestPerCard = 100,
    .widestExtra = 8,
    .narrowest = 120};

// An output window whose card may be switched to meter its analog input
// through two source metering handles, as the output windows do.
class TTestSourceWindow : public TMixerWindow {
 public:
  // The construction step that fails, to see what is given back.
  enum class FailAt { Nothing, RadioTags, Strips, Blocks };

  TTestSourceWindow(Component* owner, ProgramLink& program, FailAt failAt = FailAt::Nothing)
      : TMixerWindow(owner, program, kSourceWindowInfo), failAt_(failAt) {
    BuildFromText("source_test.wnd", kSourceWindowText);
  }
  const char* ClassName() const override { return "TTestSourceWindow"; }

  void MeterInput(int card, bool input) {
    StopCardMetering(card);
    CloseSourceHandles(card);
    input_[card] = input;
    if (input) {
      OpenSourceHandle(card, 0, DeviceSlot(card, 0), Direction::Record);
      OpenSourceHandle(card, 1, DeviceSlot(card, 0), Direction::Record);
    }
    StartCardMetering(card);
  }
  using TMixerWindow::StartMetering;
  using TMixerWindow::StopMetering;

 protected:
  void AssignRadioTags() override { FailIf(FailAt::RadioTags); }
  void StripsBuilt() override { FailIf(FailAt::Strips); }
  void AllocateSingleBlocks() override {
    AllocateBlock(4);
    AllocateMeterLevelBlock();
    FailIf(FailAt::Blocks);
  }
  MeterRoute RouteOf(std::size_t device) const override {
    const int card = static_cast<int>(device);
    if (input_[card]) return MeterRoute::OnPair(SourceHandle(card, 0), SourceHandle(card, 1));
    return TMixerWindow::RouteOf(device);
  }

 private:
  void FailIf(FailAt step) const {
    if (failAt_ == step) throw std::runtime_error("construction step failed");
  }

  FailAt failAt_;
  std::array<bool, kMaxCards> input_{};
};

class SourceWindowTest : public ::testing::Test {
 protected:
  SourceWindowTest() : m(2) {}
  std::vector<sim::CallRecord> Messages() {
    return ControlMessages(m.rig.driver().callLog().Records());
  }

  MixerRig m;
};

TEST_F(SourceWindowTest, ACardSwitchedToAnInputMetersItWithInputMessagesOnly) {
  auto* w = new TTestSourceWindow(m.control, *m.control);
  w->Show();
  ASSERT_TRUE(w->MetersRunning());
  EXPECT_TRUE(CallsAre(Messages(), {Out(CTL_OUT_METER_START).Slot(0), Out(CTL_OUT_METER_START).Slot(6)}));
  m.ClearLog();

  w->MeterInput(1, true);
  EXPECT_NE(w->PollTimerId(), 0u);  // the card's start created the poll timer again
  m.Run(100);
  w->StopMetering();
  EXPECT_TRUE(CallsAre(Messages(), {
                                       Out(CTL_OUT_METER_STOP).Slot(6),
                                       In(CTL_IN_METER_START).Slot(6),
                                       In(CTL_IN_METER_START).Slot(6),
                                       Out(CTL_OUT_GET_PEAKS).Slot(0),
                                       In(CTL_IN_GET_PEAKS).Slot(6),
                                       Out(CTL_OUT_METER_STOP).Slot(0),
                                       In(CTL_IN_METER_STOP).Slot(6),
                                       In(CTL_IN_METER_STOP).Slot(6),
                                   }));
  EXPECT_EQ(w->PollTimerId(), 0u);
  EXPECT_EQ(w->DecayTimerId(), 0u);

  // Switching while metering is off opens and closes but sends nothing.
  m.ClearLog();
  w->MeterInput(1, false);
  w->MeterInput(0, true);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(m.OpenHandleCount(), 6u);
  Free(w);
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
}

TEST_F(SourceWindowTest, HandlesAndBlocksAreGivenBackWhicheverConstructionStepFails) {
  using FailAt = TTestSourceWindow::FailAt;
  for (FailAt step : {FailAt::RadioTags, FailAt::Strips, FailAt::Blocks}) {
    EXPECT_THROW(new TTestSourceWindow(m.control, *m.control, step), std::runtime_error);
    EXPECT_EQ(m.OpenHandleCount(), 0u) << static_cast<int>(step);
    EXPECT_EQ(m.LiveBlockCount(), 0u) << static_cast<int>(step);
  }
}

TEST(SourceWindow, ADeviceThatWillNotOpenEndsConstructionSilentlyAndClosesTheOthers) {
  MixerRig m(3, "[Card3]\nRefuseOpen=AnalogOut\n");
  EXPECT_THROW(new TTestSourceWindow(m.control, *m.control), SilentAbort);
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
  const auto opens = m.rig.Records(sim::CallRecord::Kind::Open);
  EXPECT_EQ(opens.size(), 5u);  // two on each of the first two cards, then the refused one
}

}  // namespace
}  // namespace zentra::testing
