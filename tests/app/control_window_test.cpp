// The control window: discovery at creation, the switchable windows with
// their exclusion rows, the window-closed notice, persistence of the open
// windows, the tray callback, the size rule, the settings box and stay on
// top. Windows that the program does not have yet are stood in for by small
// recording windows registered under their class names.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/control_window.h"
#include "winutil/managed_form.h"
#include "app/program_windows.h"
#include "controls/bilingual.h"
#include "driver/device_tables.h"
#include "mixer/mixer_windows.h"
#include "support/program_rig.h"
#include "platform/silent_abort.h"

namespace zentra {
namespace {

using testing::ProgramRig;

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

// A switchable window that records its life and posts the window-closed
// notice on closing, as every real one does.
class TRecordingWindow : public TManagedForm {
 public:
  TRecordingWindow(Component* owner, ProgramLink& program, std::string name, bool ready)
      : TManagedForm(owner, program), name_(std::move(name)), ready_(ready) {
    SetCaption(name_);
    OnClose = [this](Component*, CloseAction&) {
      Log().push_back("close " + name_);
      PostWindowClosed();
    };
    Log().push_back("open " + name_);
  }
  ~TRecordingWindow() override { Log().push_back("free " + name_); }
  bool Ready() const override { return ready_; }

 private:
  std::string name_;
  bool ready_;
};

void RegisterRecording(const std::string& className, bool ready = true) {
  RegisterManagedWindowClass(className, [className, ready](Component* owner, ProgramLink& program) {
    return new TRecordingWindow(owner, program, className, ready);
  });
}

class ControlWindowTest : public ::testing::Test {
 protected:
  explicit ControlWindowTest(const std::string& scenario = "") : rig_(scenario) {
    Log().clear();
    ConfigurationGate() = 1;
    for (const char* name : {"TfrmAnalogInp", "TfrmAnalogOut", "TfrmDigInp", "TfrmDigOut",
                             "TfrmAdatInp", "TfrmAdatOut"})
      RegisterRecording(name);
    Windows().trayIcon = rig_.user().LoadIconA("MIXERICON");
    window_ = new TMixControlWnd(nullptr);
    Windows().MixControlWnd = window_;
  }
  ~ControlWindowTest() override {
    FreeAndNil(Windows().MixControlWnd);
    rig_.user().DestroyIcon(Windows().trayIcon);
    Windows().trayIcon = 0;
    RegisterMixerWindows();  // the real windows again for later tests
    RegisterManagedWindowClass("TdlgCfg", nullptr);
  }

  void Pump() { Application::Instance().ProcessMessages(); }
  std::string Ini() const {
    std::ifstream in(rig_.IniPath());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  ProgramRig rig_;
  TMixControlWnd* window_ = nullptr;
};

TEST_F(ControlWindowTest, CreationDiscoversTheCardsAndTakesTheTrayIcon) {
  EXPECT_EQ(CardCount, 2);
  EXPECT_TRUE(DriverOpen);
  EXPECT_EQ(window_->Caption(), "Zentra");
  EXPECT_EQ(window_->Icon(), Windows().trayIcon);
  EXPECT_FALSE(window_->Visible());
  EXPECT_TRUE(rig_.user().MessageBoxes().empty());
  EXPECT_EQ(window_->chkSettings->Caption(), " &Einstellungen");
  EXPECT_EQ(window_->chkStayOnTop->Caption(), " Immer im &Vordergrund");
  EXPECT_EQ(window_->chkAnalogInputs->Tag(), -1);
  EXPECT_EQ(window_->chkSettings->Tag(), 0);
  EXPECT_EQ(window_->Width(), 167);
  EXPECT_EQ(window_->Height(), 195);
}

TEST_F(ControlWindowTest, DigitalAndAdatWindowsExcludeEachOther) {
  window_->chkDigitalInputs->SetChecked(true);
  window_->chkDigitalOutputs->SetChecked(true);
  Log().clear();
  window_->chkAdatInputs->SetChecked(true);
  EXPECT_EQ(Log(), (std::vector<std::string>{"close TfrmDigOut", "free TfrmDigOut",
                                             "close TfrmDigInp", "free TfrmDigInp",
                                             "open TfrmAdatInp"}));
  EXPECT_FALSE(window_->chkDigitalInputs->Checked());
  EXPECT_FALSE(window_->chkDigitalOutputs->Checked());
  EXPECT_NE(window_->WindowOf("TfrmAdatInp"), nullptr);

  window_->chkAdatOutputs->SetChecked(true);
  Log().clear();
  window_->chkDigitalInputs->SetChecked(true);
  EXPECT_EQ(Log(), (std::vector<std::string>{"close TfrmAdatInp", "free TfrmAdatInp",
                                             "close TfrmAdatOut", "free TfrmAdatOut",
                                             "open TfrmDigInp"}));
}

TEST_F(ControlWindowTest, AWindowClosedByItsOwnCloseBoxClearsItsBox) {
  window_->chkAnalogOutputs->SetChecked(true);
  TManagedForm* out = window_->WindowOf("TfrmAnalogOut");
  ASSERT_NE(out, nullptr);
  out->Close();
  Pump();
  EXPECT_FALSE(window_->chkAnalogOutputs->Checked());
  EXPECT_EQ(window_->WindowOf("TfrmAnalogOut"), nullptr);
  EXPECT_EQ(Log().back(), "free TfrmAnalogOut");
  // A notice for no window, or for one that is gone, changes nothing.
  window_->chkDigitalOutputs->SetChecked(true);
  Log().clear();
  window_->Perform(WM_WINDOW_CLOSED, 0, 0);
  window_->Perform(WM_WINDOW_CLOSED, 0, 12345);
  EXPECT_TRUE(window_->chkDigitalOutputs->Checked());
  EXPECT_TRUE(Log().empty());
}

TEST_F(ControlWindowTest, WindowsThatCannotOpenLeaveTheBoxCleared) {
  RegisterRecording("TfrmDigOut", /*ready=*/false);
  window_->chkDigitalOutputs->SetChecked(true);
  EXPECT_FALSE(window_->chkDigitalOutputs->Checked());
  EXPECT_EQ(window_->WindowOf("TfrmDigOut"), nullptr);
  EXPECT_EQ(Log().back(), "free TfrmDigOut");

  RegisterManagedWindowClass("TfrmAdatOut", [](Component*, ProgramLink&) -> TManagedForm* {
    throw SilentAbort();
  });
  window_->chkAdatOutputs->SetChecked(true);
  EXPECT_FALSE(window_->chkAdatOutputs->Checked());
  EXPECT_TRUE(rig_.user().MessageBoxes().empty()) << "a silent abort shows nothing";

  // A class the program does not offer: nothing opens.
  RegisterManagedWindowClass("TfrmAdatInp", nullptr);
  window_->chkAdatInputs->SetChecked(true);
  EXPECT_FALSE(window_->chkAdatInputs->Checked());
}

TEST_F(ControlWindowTest, OtherErrorsAtCreationClearTheBoxAndReachTheErrorReport) {
  RegisterManagedWindowClass("TfrmDigInp", [](Component*, ProgramLink&) -> TManagedForm* {
    throw std::runtime_error("kaputt");
  });
  EXPECT_THROW(window_->chkDigitalInputs->SetChecked(true), std::runtime_error);
  EXPECT_FALSE(window_->chkDigitalInputs->Checked());
  EXPECT_EQ(window_->WindowOf("TfrmDigInp"), nullptr);
}

TEST_F(ControlWindowTest, OpenWindowsComeBackAtTheNextShow) {
  window_->Show();
  window_->chkAnalogInputs->SetChecked(true);
  window_->chkAnalogOutputs->SetChecked(true);
  window_->chkAdatInputs->SetChecked(true);
  window_->chkSettings->SetChecked(true);  // no settings dialog yet; never stored
  window_->Close();
  EXPECT_FALSE(window_->Visible());
  for (TExtCheckBox* box : {window_->chkAnalogInputs, window_->chkAnalogOutputs,
                            window_->chkAdatInputs, window_->chkSettings})
    EXPECT_FALSE(box->Checked());
  EXPECT_EQ(window_->WindowOf("TfrmAnalogInp"), nullptr);
  const std::string ini = Ini();
  EXPECT_NE(ini.find("[Zentra]"), std::string::npos);
  EXPECT_NE(ini.find("chkAnalogInputs=1"), std::string::npos) << ini;
  EXPECT_NE(ini.find("chkDigitalInputs=0"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("chkSettings"), std::string::npos) << ini;

  Log().clear();
  window_->Perform(WM_TRAY_CALLBACK, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(window_->Visible());
  EXPECT_TRUE(window_->chkAnalogInputs->Checked());
  EXPECT_TRUE(window_->chkAnalogOutputs->Checked());
  EXPECT_TRUE(window_->chkAdatInputs->Checked());
  EXPECT_FALSE(window_->chkSettings->Checked());
  EXPECT_EQ(Log().size(), 3u);
}

TEST_F(ControlWindowTest, TrayDoubleClickRestoresAndShowsOtherCodesDoNothing) {
  window_->Perform(WM_TRAY_CALLBACK, 0, 0x0201);  // button down
  window_->Perform(WM_TRAY_CALLBACK, 0, 0x0204);  // right button
  EXPECT_FALSE(window_->Visible());
  window_->Show();
  window_->SetWindowState(WindowState::Minimized);
  window_->Perform(WM_TRAY_CALLBACK, 0, WM_LBUTTONDBLCLK);
  EXPECT_EQ(window_->GetWindowState(), WindowState::Normal);
  EXPECT_TRUE(window_->Visible());
}

TEST_F(ControlWindowTest, EverySizingAttemptYieldsTheFixedSize) {
  MinMaxInfo info{};
  info.ptMaxTrackSize = {1000, 1000};
  EXPECT_EQ(window_->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<std::intptr_t>(&info)), 0);
  EXPECT_EQ(info.ptMaxSize.x, 167);
  EXPECT_EQ(info.ptMaxSize.y, 195);
  EXPECT_EQ(info.ptMaxPosition.x, 0);
  EXPECT_EQ(info.ptMaxPosition.y, 0);
  EXPECT_EQ(info.ptMinTrackSize.x, 167);
  EXPECT_EQ(info.ptMinTrackSize.y, 195);
  EXPECT_EQ(info.ptMaxTrackSize.x, 167);
  EXPECT_EQ(info.ptMaxTrackSize.y, 195);
}

TEST_F(ControlWindowTest, SettingsBoxReadsTheConfigurationFirst) {
  rig_.driver().callLog().Clear();
  window_->chkSettings->SetChecked(true);
  EXPECT_EQ(rig_.ConfigCommandsRun(), std::vector<std::string>{"getconfig"});
  EXPECT_TRUE(window_->chkSettings->Checked()) << "no dialog yet, the box stays";

  const auto sent = rig_.Records(sim::CallRecord::Kind::ConfigCommand);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_TRUE(std::equal(window_->ConfigRecord().begin(), window_->ConfigRecord().end(),
                         sent[0].blockAfter.begin()));

  // With a dialog class, the dialog opens with the record read.
  RegisterRecording("TdlgCfg");
  window_->chkSettings->SetChecked(false);
  window_->chkSettings->SetChecked(true);
  EXPECT_NE(window_->WindowOf("TdlgCfg"), nullptr);
  EXPECT_TRUE(window_->WindowOf("TdlgCfg")->Visible());
  window_->chkSettings->SetChecked(false);
  EXPECT_EQ(window_->WindowOf("TdlgCfg"), nullptr);

  // A failing "getconfig" opens nothing and says nothing.
  ConfigurationGate() = 0;
  window_->chkSettings->SetChecked(true);
  EXPECT_EQ(window_->WindowOf("TdlgCfg"), nullptr);
  EXPECT_TRUE(window_->chkSettings->Checked());
  EXPECT_TRUE(rig_.user().MessageBoxes().empty());
}

TEST_F(ControlWindowTest, SettingsDialogThatFailsToBuildClearsTheBox) {
  RegisterManagedWindowClass("TdlgCfg", [](Component*, ProgramLink&) -> TManagedForm* {
    throw std::runtime_error("broken description");
  });
  EXPECT_THROW(window_->chkSettings->SetChecked(true), std::runtime_error);
  EXPECT_FALSE(window_->chkSettings->Checked());
  EXPECT_EQ(window_->WindowOf("TdlgCfg"), nullptr);
}

TEST_F(ControlWindowTest, StayOnTopAppliesToEveryOwnedWindow) {
  window_->chkAnalogOutputs->SetChecked(true);
  window_->chkStayOnTop->SetChecked(true);
  EXPECT_TRUE(rig_.user().IsTopmost(window_->Handle()));
  EXPECT_TRUE(rig_.user().IsTopmost(window_->WindowOf("TfrmAnalogOut")->Handle()));
  window_->FormActiveChanged(window_);
  EXPECT_TRUE(rig_.user().IsTopmost(window_->Handle()));
  window_->chkStayOnTop->SetChecked(false);
  EXPECT_FALSE(rig_.user().IsTopmost(window_->Handle()));
  EXPECT_FALSE(rig_.user().IsTopmost(window_->WindowOf("TfrmAnalogOut")->Handle()));
}

class ControlWindowWithoutCards : public ControlWindowTest {
 protected:
  ControlWindowWithoutCards() : ControlWindowTest("[Cards]\nCount=0\n") {}
};

TEST_F(ControlWindowWithoutCards, SaysSoOnceAndCanNotBeUsed) {
  EXPECT_FALSE(DriverOpen);
  const auto boxes = rig_.user().MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Zentra Treiber konnte nicht geöffnet werden.");
  EXPECT_EQ(boxes[0].caption, "Fehler");
  EXPECT_EQ(boxes[0].style, MB_ICONERROR);
  EXPECT_EQ(boxes[0].owner, window_->Handle());
  for (TExtCheckBox* box : {window_->chkAnalogInputs, window_->chkSettings, window_->chkStayOnTop})
    EXPECT_FALSE(box->Enabled());
  window_->Show();
  window_->Close();
  EXPECT_FALSE(std::filesystem::exists(rig_.IniPath())) << "no INI reading or writing";
}

}  // namespace
}  // namespace zentra
