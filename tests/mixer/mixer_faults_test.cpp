// The analog input window when things go wrong: no cards, a device that
// refuses to open, shared memory that cannot be had, a damaged INI file,
// and many openings and closings with the meters running.
#include <gtest/gtest.h>

#include "driver/control_messages.h"
#include "mixer/mixer_rig.h"
#include "platform/silent_abort.h"

namespace zentra::testing {
namespace {

void ExpectNothingLeft(MixerRig& m) {
  EXPECT_EQ(m.OpenHandleCount(), 0u);
  EXPECT_EQ(m.LiveBlockCount(), 0u);
  EXPECT_EQ(m.rig.timer().LiveTimerCount(), 0u);
  EXPECT_TRUE(m.rig.driver().arena().Misuse().empty());
}

TEST(AnalogInputFaults, WithoutCardsTheWindowIsNeverBuilt) {
  MixerRig m(0);
  ASSERT_FALSE(DriverOpen);
  EXPECT_THROW(new TfrmAnalogInp(m.control, *m.control), SilentAbort);
  m.control->chkAnalogInputs->SetChecked(true);
  EXPECT_FALSE(m.control->chkAnalogInputs->Checked());
  EXPECT_EQ(m.AnalogInput(), nullptr);
  ExpectNothingLeft(m);
}

TEST(AnalogInputFaults, ARefusedDeviceEndsTheConstructionSilently) {
  MixerRig m(3, "[Card2]\nRefuseOpen=AnalogIn\n");
  const std::size_t boxes = m.rig.user().MessageBoxes().size();
  m.ClearLog();
  EXPECT_EQ(m.OpenAnalogInput(), nullptr);
  EXPECT_FALSE(m.control->chkAnalogInputs->Checked());
  EXPECT_EQ(m.rig.user().MessageBoxes().size(), boxes);
  // The first card's two handles were opened and are closed again.
  EXPECT_EQ(m.rig.Records(sim::CallRecord::Kind::Close).size(), 2u);
  ExpectNothingLeft(m);
  // Other windows of the program are unaffected: trying again behaves alike.
  EXPECT_EQ(m.OpenAnalogInput(), nullptr);
  ExpectNothingLeft(m);
}

TEST(AnalogInputFaults, NoSharedMemoryAtConstructionMeansNotReady) {
  MixerRig m(2);
  m.rig.driver().arena().FailNextAllocations(1);
  EXPECT_EQ(m.OpenAnalogInput(), nullptr);
  EXPECT_FALSE(m.control->chkAnalogInputs->Checked());
  EXPECT_TRUE(m.InMessages(CTL_IN_METER_START).empty());
  ExpectNothingLeft(m);
}

TEST(AnalogInputFaults, NoSharedMemoryAtShowingLeavesTheDesignStateAndTheStoredOptions) {
  MixerRig m(2);
  m.WriteIni("[Analog Input]\nWidth=300\nchkRouting=0\n");
  auto* w = new TfrmAnalogInp(m.control, *m.control);
  ASSERT_TRUE(w->Ready());
  m.rig.driver().arena().FailNextAllocations(1);
  w->Show();
  EXPECT_FALSE(w->Ready());
  EXPECT_FALSE(w->MetersRunning());
  EXPECT_TRUE(m.InMessages(CTL_IN_METER_START).empty());
  EXPECT_TRUE(m.InMessages(CTL_GET_INPUT_STATE).empty());
  EXPECT_TRUE(w->chkRouting->Checked());  // nothing restored
  EXPECT_EQ(w->SystemMenu(), 0u);
  // No size limits: the record stays as it came.
  MinMaxInfo info{};
  info.ptMaxTrackSize = {12345, 678};
  w->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<std::intptr_t>(&info));
  EXPECT_EQ(info.ptMaxTrackSize.x, 12345);
  // Closing keeps what was stored.
  w->Close();
  EXPECT_NE(m.ReadIni().find("Width=300"), std::string::npos);
  EXPECT_NE(m.ReadIni().find("chkRouting=0"), std::string::npos);
  Free(w);
  ExpectNothingLeft(m);
}

TEST(AnalogInputFaults, ADamagedIniFileLeavesTheDesignState) {
  MixerRig m(2);
  m.WriteIni(std::string("[Analog Input]\nchkPeakMeter=yes please\nchkRouting=\nWidth=wide\n"
                         "Height=\nTop=\x01\xff\n[Analog Input\n=1\n") +
             std::string("\0\0garbage", 9));
  TfrmAnalogInp* w = m.OpenAnalogInput();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->MetersRunning());
  EXPECT_TRUE(w->chkRouting->Checked());
  EXPECT_TRUE(w->pnChecks->Visible());
  EXPECT_EQ(w->Width(), 155);
  EXPECT_EQ(w->Height(), 444);
}

TEST(AnalogInputFaults, TwoHundredOpeningsAndClosingsLeaveNothingBehind) {
  MixerRig m(4);
  for (int i = 0; i < 200; ++i) {
    TfrmAnalogInp* w = m.OpenAnalogInput();
    ASSERT_NE(w, nullptr) << i;
    ASSERT_TRUE(w->MetersRunning());
    m.rig.timer().Advance(100);  // ticks posted, some still queued at the close
    if (i % 2 == 0) {
      Application::Instance().ProcessMessages();
      m.CloseAnalogInput();
    } else {
      w->UserCloseRequest();  // the window's own close button
      Application::Instance().ProcessMessages();
    }
    ASSERT_EQ(m.AnalogInput(), nullptr) << i;
    ASSERT_FALSE(m.control->chkAnalogInputs->Checked()) << i;
    ASSERT_EQ(m.OpenHandleCount(), 0u) << i;
    ASSERT_EQ(m.LiveBlockCount(), 0u) << i;
    ASSERT_EQ(m.rig.timer().LiveTimerCount(), 0u) << i;
  }
  Application::Instance().ProcessMessages();
  EXPECT_EQ(m.InMessages(CTL_IN_METER_START).size(), 800u);
  EXPECT_EQ(m.InMessages(CTL_IN_METER_STOP).size(), 800u);
  ExpectNothingLeft(m);
}

TEST(AnalogInputFaults, AWindowFreedWithItsOwnerStopsItsMetering) {
  MixerRig m(2);
  ASSERT_NE(m.OpenAnalogInput(), nullptr);
  m.rig.timer().Advance(200);
  Windows().MixControlWnd = nullptr;
  FreeAndNil(m.control);
  Application::Instance().ProcessMessages();  // ticks for a window that is gone
  EXPECT_EQ(m.InMessages(CTL_IN_METER_STOP).size(), 2u);
  ExpectNothingLeft(m);
}

}  // namespace
}  // namespace zentra::testing
