#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "support/headless_ui.h"
#include "platform/silent_abort.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using testing::HeadlessUi;
using testing::Owned;

class FormTest : public ::testing::Test {
 protected:
  FormTest() : form(new TForm(nullptr)) { form->SetName("Dialog"); }
  HeadlessUi ui;
  Owned<TForm> form;
};

TEST_F(FormTest, CloseRunsOnCloseAndMayBeRefused) {
  bool refuse = true;
  int closes = 0;
  form->OnClose = [&](Component*, CloseAction& action) {
    ++closes;
    if (refuse) action = CloseAction::None;
  };
  form->Show();
  ui.Driver().CloseBox(*form);
  EXPECT_TRUE(form->Visible());
  refuse = false;
  ui.Driver().CloseBox(*form);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(closes, 2);
}

TEST_F(FormTest, CloseActionFreeReleasesTheFormAfterPendingMessages) {
  int destroyed = 0;
  auto* loose = new TForm(nullptr);
  loose->OnDestroy = [&](Component*) { ++destroyed; };
  loose->OnClose = [](Component*, CloseAction& action) { action = CloseAction::Free; };
  loose->Show();
  loose->Close();
  EXPECT_EQ(destroyed, 0) << "not inside its own handler";
  ui.Driver().ProcessMessages();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(FormTest, AReleaseHandledWhileTheFormIsBeingShownWaitsUntilShowingIsDone) {
  // A handler that lets messages through while the form is shown (reading
  // its settings) must not see the form freed under it by a release asked
  // meanwhile; the release follows once showing is done.
  int destroyed = 0;
  std::vector<std::string> seen;
  auto* loose = new TForm(nullptr);
  loose->SetName("Loose");
  loose->OnDestroy = [&](Component*) { ++destroyed; };
  loose->OnShow = [&](Component* sender) {
    auto* self = static_cast<TForm*>(sender);
    self->Release();
    ui.Driver().ProcessMessages();
    seen.push_back(self->Name());  // still whole
    ui.Driver().ProcessMessages();
  };
  loose->Show();
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"Loose"}));
  ui.Driver().ProcessMessages();
  EXPECT_EQ(destroyed, 1) << "released once showing was done";
}

TEST_F(FormTest, AFormFreedFromInsideItsOwnShowingGoesOnceShowingIsDone) {
  int destroyed = 0;
  bool wholeAfterwards = false;
  auto* loose = new TForm(nullptr);
  loose->OnDestroy = [&](Component*) { ++destroyed; };
  loose->OnShow = [&](Component* sender) {
    auto* self = static_cast<TForm*>(sender);
    self->FreeWhenIdle();  // as another window's handler would, while messages get through
    wholeAfterwards = destroyed == 0;
  };
  loose->Show();
  EXPECT_TRUE(wholeAfterwards);
  EXPECT_EQ(destroyed, 0);
  ui.Driver().ProcessMessages();
  EXPECT_EQ(destroyed, 1);

  auto* idle = new TForm(nullptr);
  idle->OnDestroy = [&](Component*) { ++destroyed; };
  idle->FreeWhenIdle();
  EXPECT_EQ(destroyed, 2) << "a form that is not busy goes at once";
}

TEST_F(FormTest, ShowModalReturnsTheModalResultOfTheButtonClicked) {
  auto* ok = new TButton(form.get());
  ok->SetParent(form.get());
  ok->SetModalResult(mrOk);
  ok->SetDefault(true);
  int shows = 0;
  form->OnShow = [&](Component*) { ++shows; };
  ui.Backend().SetModalHandler([&](TForm& f) {
    EXPECT_TRUE(f.Visible());
    EXPECT_TRUE(f.Modal());
    ui.Driver().Click(*ok);
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->Modal());

  ui.Backend().SetModalHandler([&](TForm& f) { ui.Driver().PressKey(f, VK_RETURN); });
  EXPECT_EQ(form->ShowModal(), mrOk) << "Enter answers through the default button";
  ui.Backend().SetModalHandler([&](TForm& f) { ui.Driver().CloseBox(f); });
  EXPECT_EQ(form->ShowModal(), mrCancel) << "the close box cancels";
  EXPECT_EQ(shows, 3);
  EXPECT_EQ(ui.Backend().ModalLog(), (std::vector<std::string>{"Dialog", "Dialog", "Dialog"}));
}

TEST_F(FormTest, AModalCloseRefusedKeepsTheLoopRunning) {
  int attempts = 0;
  form->OnClose = [&](Component*, CloseAction& action) {
    if (++attempts == 1) action = CloseAction::None;
  };
  ui.Backend().SetModalHandler([&](TForm& f) {
    f.SetModalResult(mrOk);
    EXPECT_FALSE(f.ModalLoopDone()) << "the first close is refused";
    EXPECT_EQ(f.GetModalResult(), mrNone);
    f.SetModalResult(mrOk);
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(attempts, 2);
}

TEST_F(FormTest, AModalFormLeftWithoutAnAnswerFailsInsteadOfHanging) {
  EXPECT_THROW(form->ShowModal(), std::logic_error);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->Modal());
  form->Show();
  EXPECT_THROW(form->ShowModal(), std::logic_error) << "a visible window cannot go modal";
}

TEST_F(FormTest, PostedMessagesReachTheirHandlerAlsoFromAnotherThread) {
  std::vector<std::intptr_t> received;
  form->SetMessageHandler(WM_USER + 101, [&](Message& m) { received.push_back(m.lParam); });
  const WinHandle window = form->Handle();
  std::thread timerThread([window] {
    for (int i = 0; i < 100; ++i) PostMessageToWindow(window, WM_USER + 101, 0, i);
  });
  timerThread.join();
  ui.Driver().ProcessMessages();
  ASSERT_EQ(received.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(received[i], i);
  EXPECT_FALSE(PostMessageToWindow(0x7777, WM_USER, 0, 0)) << "no such window";
}

TEST_F(FormTest, MessagesForAWindowDestroyedMeanwhileAreDropped) {
  auto* doomed = new TForm(nullptr);
  int handled = 0;
  doomed->SetMessageHandler(WM_USER, [&](Message&) { ++handled; });
  PostMessageToWindow(doomed->Handle(), WM_USER, 0, 0);
  Free(doomed);
  ui.Driver().ProcessMessages();
  EXPECT_EQ(handled, 0);
}

TEST_F(FormTest, PerformReturnsTheHandlersResultAndUnhandledMessagesGetTheDefault) {
  form->SetMessageHandler(WM_GETMINMAXINFO, [](Message& m) {
    auto* info = reinterpret_cast<MinMaxInfo*>(m.lParam);
    info->ptMinTrackSize = {167, 195};
    info->ptMaxTrackSize = {167, 195};
    m.result = 0;
  });
  form->SetMessageHandler(WM_USER + 5, [](Message& m) { m.result = 42; });
  EXPECT_EQ(form->Perform(WM_USER + 5, 0, 0), 42);
  form->Perform(WM_USER + 6, 1, 2);
  form->Handle();
  form->Perform(WM_USER + 6, 1, 2);
  EXPECT_EQ(ui.Backend().LastDefaultMessage().msg, WM_USER + 6);
  form->Show();
  ui.Driver().Resize(*form, 400, 100);
  EXPECT_EQ(form->Width(), 167);
  EXPECT_EQ(form->Height(), 195);
}

TEST_F(FormTest, ClientSizeBorderStyleAndScreenCentre) {
  form->SetBorderStyle(BorderStyle::Dialog);
  form->SetClientWidth(294);
  form->SetClientHeight(296);
  EXPECT_EQ(form->ClientWidth(), 294);
  EXPECT_EQ(form->ClientHeight(), 296);
  form->SetBorderStyle(BorderStyle::None);  // the client size is kept
  EXPECT_EQ(form->Width(), 294);
  EXPECT_EQ(form->ClientHeight(), 296);
  form->SetPosition(FormPosition::ScreenCenter);
  ui.Backend().SetScreenSize({1000, 800});
  form->Show();
  EXPECT_EQ(form->Left(), (1000 - 294) / 2);
  EXPECT_EQ(form->Top(), (800 - 296) / 2);
}

TEST_F(FormTest, ErrorsEscapingHandlersAreReportedWithTheApplicationTitle) {
  auto* button = new TButton(form.get());
  button->SetParent(form.get());
  button->OnClick = [](Component*) { throw std::runtime_error("'x' ist kein gültiger Integerwert"); };
  form->Show();
  ui.Driver().Click(*button);
  ASSERT_EQ(ui.User().MessageBoxes().size(), 1u);
  EXPECT_EQ(ui.User().MessageBoxes()[0].caption, "Zentra");
  EXPECT_EQ(ui.User().MessageBoxes()[0].text, "'x' ist kein gültiger Integerwert.");
  EXPECT_EQ(ui.User().MessageBoxes()[0].style & MB_ICONERROR, MB_ICONERROR);

  button->OnClick = [](Component*) { throw SilentAbort(); };
  ui.Driver().Click(*button);
  EXPECT_EQ(ui.User().MessageBoxes().size(), 1u) << "a silent abort shows nothing";
}

TEST_F(FormTest, ActivationEventsOfFormAndApplication) {
  std::vector<std::string> log;
  form->OnActivate = [&](Component*) { log.push_back("form on"); };
  form->OnDeactivate = [&](Component*) { log.push_back("form off"); };
  Application::Instance().OnActivate = [&](Component*) { log.push_back("app on"); };
  Application::Instance().OnDeactivate = [&](Component*) { log.push_back("app off"); };
  form->Show();
  ui.Driver().Activate(*form, true);
  ui.Driver().Activate(*form, true);
  Application::Instance().UserActivateApp(true);
  Application::Instance().UserActivateApp(false);
  ui.Driver().Activate(*form, false);
  EXPECT_EQ(log, (std::vector<std::string>{"form on", "app on", "app off", "form off"}));
}

}  // namespace
}  // namespace zentra
