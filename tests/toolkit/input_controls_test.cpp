#include <gtest/gtest.h>

#include "support/headless_ui.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using testing::HeadlessUi;
using testing::Owned;

class InputControlsTest : public ::testing::Test {
 protected:
  InputControlsTest() : form(new TForm(nullptr)) { form->SetBounds(0, 0, 400, 300); }
  template <class T>
  T* Add() {
    auto* c = new T(form.get());
    c->SetParent(form.get());
    return c;
  }
  HeadlessUi ui;
  Owned<TForm> form;
  int changes = 0;
};

TEST_F(InputControlsTest, TrackBarClampsAndReportsOnlyRealChanges) {
  auto* bar = Add<TTrackBar>();
  bar->OnChange = [this](Component*) { ++changes; };
  bar->SetMax(3);
  bar->SetPosition(2);
  bar->SetPosition(2);
  EXPECT_EQ(changes, 1);
  bar->SetPosition(99);
  EXPECT_EQ(bar->Position(), 3);
  bar->SetPosition(50);  // clamped to 3 again: no change
  EXPECT_EQ(changes, 2);
  bar->SetMax(1);  // the position follows the range
  EXPECT_EQ(bar->Position(), 1);
  EXPECT_EQ(changes, 3);
  bar->SetMin(5);  // a minimum above the maximum raises it
  EXPECT_EQ(bar->Max(), 5);
  EXPECT_EQ(bar->Position(), 5);
  form->Show();
  ui.Driver().MoveTrackBar(*bar, -7);
  EXPECT_EQ(bar->Position(), 5);
  EXPECT_EQ(changes, 4);
}

TEST_F(InputControlsTest, ComboBoxReportsOnlyTheUsersChoice) {
  auto* combo = Add<TComboBox>();
  combo->OnChange = [this](Component*) { ++changes; };
  combo->SetItems({"a", "b", "c"});
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), "b");
  EXPECT_EQ(changes, 0) << "code changes run no event";
  combo->SetItemIndex(7);
  EXPECT_EQ(combo->ItemIndex(), -1);
  form->Show();
  ui.Driver().Choose(*combo, "c");
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(changes, 1);
  ui.Driver().Choose(*combo, 2);  // the same item again
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(ui.Driver().Choose(*combo, "zzz"), std::logic_error);
  combo->SetItems({"x"});
  EXPECT_EQ(combo->ItemIndex(), -1) << "new items clear the selection";
}

TEST_F(InputControlsTest, EditReportsTextChangesAndCutsAtMaxLength) {
  auto* edit = Add<TEdit>();
  edit->OnChange = [this](Component*) { ++changes; };
  edit->SetText("44100");
  EXPECT_EQ(changes, 1);
  edit->SetMaxLength(3);
  form->Show();
  ui.Driver().Type(*edit, "12345");
  EXPECT_EQ(edit->Text(), "123");
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(changes, 2);
  edit->SetReadOnly(true);
  ui.Driver().Type(*edit, "9");
  EXPECT_EQ(edit->Text(), "123");
}

TEST_F(InputControlsTest, PageControlShowsOneSheetAndReportsTheUsersTabChoice) {
  auto* pages = Add<TPageControl>();
  pages->OnChange = [this](Component*) { ++changes; };
  auto* first = new TTabSheet(form.get());
  first->SetParent(pages);
  auto* second = new TTabSheet(form.get());
  second->SetParent(pages);
  EXPECT_EQ(pages->ActivePage(), first) << "the first sheet becomes active";
  EXPECT_TRUE(first->Visible());
  EXPECT_FALSE(second->Visible());
  EXPECT_EQ(second->PageIndex(), 1);
  EXPECT_EQ(first->BoundsRect(), pages->DisplayRect());
  pages->SetActivePage(second);
  EXPECT_FALSE(first->Visible());
  EXPECT_EQ(changes, 0);
  form->Show();
  ui.Driver().SelectPage(*pages, 0);
  EXPECT_EQ(pages->ActivePageIndex(), 0);
  EXPECT_EQ(changes, 1);
  Free(first);  // the remaining sheet takes over
  EXPECT_EQ(pages->ActivePage(), second);
  EXPECT_TRUE(second->Visible());
}

TEST_F(InputControlsTest, TimerTicksOnTheVirtualClockUntilDisabled) {
  auto* timer = new TTimer(form.get());
  int ticks = 0;
  timer->OnTimer = [&](Component*) { ++ticks; };
  timer->SetInterval(40);
  ui.Driver().Tick(119);
  EXPECT_EQ(ticks, 2);
  ui.Driver().Tick(1);
  EXPECT_EQ(ticks, 3);
  timer->SetEnabled(false);
  ui.Driver().Tick(1000);
  EXPECT_EQ(ticks, 3);
  timer->SetEnabled(true);
  Free(timer);  // destroyed timers stop
  ui.Driver().Tick(1000);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(ui.Backend().ActiveTimerCount(), 0);
}

TEST_F(InputControlsTest, AnExceptionInATimerHandlerIsReportedAndTheTimerGoesOn) {
  auto* timer = new TTimer(form.get());
  int ticks = 0;
  timer->OnTimer = [&](Component*) {
    ++ticks;
    throw std::runtime_error("Zeitgeber kaputt");
  };
  timer->SetInterval(10);
  ui.Driver().Tick(20);
  EXPECT_EQ(ticks, 2);
  ASSERT_EQ(ui.User().MessageBoxes().size(), 2u);
  EXPECT_EQ(ui.User().MessageBoxes()[0].text, "Zeitgeber kaputt.");
}

}  // namespace
}  // namespace zentra
