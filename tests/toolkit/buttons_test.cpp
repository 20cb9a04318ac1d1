#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/headless_ui.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using testing::HeadlessUi;
using testing::Owned;

class ButtonsTest : public ::testing::Test {
 protected:
  ButtonsTest() : form(new TForm(nullptr)) { form->SetBounds(0, 0, 300, 200); }
  template <class T>
  T* Add(const std::string& name, Control* parent = nullptr) {
    auto* c = new T(form.get());
    c->SetName(name);
    c->SetParent(parent != nullptr ? parent : form.get());
    c->OnClick = [this](Component* s) { clicks.push_back(s->Name()); };
    return c;
  }
  HeadlessUi ui;
  Owned<TForm> form;
  std::vector<std::string> clicks;
};

TEST_F(ButtonsTest, CheckBoxRunsItsClickOnEveryChangeOfStateByCodeOrUser) {
  auto* box = Add<TCheckBox>("chk");
  box->SetChecked(true);
  box->SetChecked(true);  // no change: nothing
  box->SetChecked(false);
  EXPECT_EQ(clicks.size(), 2u);
  form->Show();
  ui.Driver().Click(*box);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks.size(), 3u);
  box->SetEnabled(false);
  EXPECT_THROW(ui.Driver().Click(*box), std::logic_error) << "a disabled box cannot be clicked";
}

TEST_F(ButtonsTest, RadioButtonUnchecksSiblingsSilentlyAndRunsOnlyItsOwnClick) {
  auto* a = Add<TRadioButton>("a");
  auto* b = Add<TRadioButton>("b");
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  auto* other = Add<TRadioButton>("other", panel);
  other->SetChecked(true);
  clicks.clear();

  a->SetChecked(true);
  EXPECT_EQ(clicks, (std::vector<std::string>{"a"}));
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(other->Checked()) << "another parent is another group";
  EXPECT_EQ(clicks, (std::vector<std::string>{"a", "b"}));
  b->SetChecked(true);  // already checked: nothing
  b->SetChecked(false);  // clearing runs nothing
  EXPECT_EQ(clicks.size(), 2u);

  form->Show();
  ui.Driver().Click(*a);
  ui.Driver().Click(*a);  // clicking the checked one changes nothing
  EXPECT_EQ(clicks, (std::vector<std::string>{"a", "b", "a"}));
}

TEST_F(ButtonsTest, SpeedButtonGroupsKeepOneDownAndRefuseAllUpUnlessAllowed) {
  auto* a = Add<TSpeedButton>("a");
  auto* b = Add<TSpeedButton>("b");
  auto* solo = Add<TSpeedButton>("solo");
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  solo->SetDown(true);
  EXPECT_FALSE(solo->Down()) << "group index 0 cannot be down";

  a->SetDown(true);
  b->SetDown(true);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  b->SetDown(false);
  EXPECT_TRUE(b->Down()) << "the group does not allow all up";
  EXPECT_TRUE(clicks.empty()) << "setting Down runs no click";

  a->SetAllowAllUp(true);  // applies to the whole group
  EXPECT_TRUE(b->AllowAllUp());
  b->SetDown(false);
  EXPECT_FALSE(b->Down());
}

TEST_F(ButtonsTest, SpeedButtonClicksGoDownOnReleaseAndRunTheClick) {
  auto* a = Add<TSpeedButton>("a");
  auto* b = Add<TSpeedButton>("b");
  auto* plain = Add<TSpeedButton>("plain");
  a->SetGroupIndex(3);
  b->SetGroupIndex(3);
  a->SetLeft(30);
  b->SetLeft(60);
  form->Show();
  ui.Driver().Click(*a);
  EXPECT_TRUE(a->Down());
  ui.Driver().Click(*b);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  ui.Driver().Click(*b);  // already down, all-up not allowed: stays down, still a click
  EXPECT_TRUE(b->Down());
  ui.Driver().Click(*plain);
  EXPECT_FALSE(plain->Down());
  EXPECT_EQ(clicks, (std::vector<std::string>{"a", "b", "b", "plain"}));

  // Released outside the button: no click, no state change.
  ui.Driver().MouseDown(*a, 5, 5);
  EXPECT_TRUE(a->Pressed());
  ui.Driver().MouseUp(*a, 500, 5);
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(clicks.size(), 4u);
}

TEST_F(ButtonsTest, TheModelDecidesWhichReleaseIsAClick) {
  auto* label = Add<TLabel>("lb");
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 40, 13);
  auto* speed = Add<TSpeedButton>("sb");
  // The left button released on the control clicks; elsewhere, or another
  // button, does not. A speed button never clicks on the release as such:
  // it clicks in its own release handling, exactly once.
  EXPECT_TRUE(label->ReleaseIsClick(MouseButton::Left, 0, 0));
  EXPECT_TRUE(label->ReleaseIsClick(MouseButton::Left, 39, 12));
  EXPECT_FALSE(label->ReleaseIsClick(MouseButton::Left, 40, 5));
  EXPECT_FALSE(label->ReleaseIsClick(MouseButton::Left, -1, 5));
  EXPECT_FALSE(label->ReleaseIsClick(MouseButton::Right, 5, 5));
  EXPECT_FALSE(speed->ReleaseIsClick(MouseButton::Left, 5, 5));
  form->Show();
  std::vector<std::string> order;
  label->OnMouseUp = [&](Component*, MouseButton, ShiftState, int, int) { order.push_back("up"); };
  label->OnClick = [&](Component*) { order.push_back("click"); };
  ui.Driver().Click(*label);
  EXPECT_EQ(order, (std::vector<std::string>{"click", "up"})) << "the click comes before the release";
  ui.Driver().Click(*speed);
  EXPECT_EQ(clicks, std::vector<std::string>{"sb"});
}

TEST_F(ButtonsTest, EnterClicksTheDefaultButtonAndEscTheCancelButton) {
  auto* ok = Add<TButton>("ok");
  ok->SetDefault(true);
  auto* cancel = Add<TButton>("cancel");
  cancel->SetCancel(true);
  auto* other = Add<TButton>("other");
  form->Show();
  EXPECT_TRUE(ui.Driver().PressKey(*form, VK_RETURN));
  EXPECT_TRUE(ui.Driver().PressKey(*form, VK_ESCAPE));
  EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel"}));
  ui.Driver().Focus(*other);  // Enter on a focused button clicks that one
  ui.Driver().PressKey(*form, VK_RETURN);
  EXPECT_EQ(clicks.back(), "other");
  ok->SetEnabled(false);
  ui.Driver().Focus(*cancel);
  form->SetActiveControl(nullptr);
  EXPECT_FALSE(ui.Driver().PressKey(*form, VK_RETURN)) << "a disabled default button is skipped";
}

TEST_F(ButtonsTest, TabMovesTheFocusInTabOrderAndRunsEnterAndExit) {
  auto* first = Add<TButton>("first");
  auto* second = Add<TEdit>("second");
  auto* hidden = Add<TButton>("hidden");
  hidden->Hide();
  first->SetTabOrder(1);
  second->SetTabOrder(0);
  std::vector<std::string> focus;
  for (Control* c : std::vector<Control*>{first, second}) {
    c->OnEnter = [&](Component* s) { focus.push_back("enter " + s->Name()); };
    c->OnExit = [&](Component* s) { focus.push_back("exit " + s->Name()); };
  }
  form->Show();
  ui.Driver().PressKey(*form, VK_TAB);
  ui.Driver().PressKey(*form, VK_TAB);
  ui.Driver().PressKey(*form, VK_TAB);  // wraps, skipping the hidden button
  EXPECT_EQ(focus, (std::vector<std::string>{"enter second", "exit second", "enter first",
                                             "exit first", "enter second"}));
  ui.Driver().PressKey(*form, VK_TAB, ssShift);
  EXPECT_EQ(form->ActiveControl(), first);
}

TEST_F(ButtonsTest, AnExitHandlerMayKeepTheFocus) {
  auto* edit = Add<TEdit>("edit");
  auto* button = Add<TButton>("button");
  int exits = 0;
  edit->OnExit = [&](Component*) {
    ++exits;
    edit->SetFocus();  // refuses to let go, as a validating edit does
  };
  form->Show();
  ui.Driver().Focus(*edit);
  ui.Driver().Click(*button);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(form->ActiveControl(), edit);
  EXPECT_EQ(clicks, (std::vector<std::string>{"button"})) << "the click itself still happens";
}

}  // namespace
}  // namespace zentra
