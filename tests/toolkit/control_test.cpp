#include <gtest/gtest.h>

#include "support/headless_ui.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using testing::HeadlessUi;
using testing::Owned;

class ControlTest : public ::testing::Test {
 protected:
  ControlTest() : form(new TForm(nullptr)) {
    form->SetBorderStyle(BorderStyle::None);
    form->SetBounds(0, 0, 200, 300);
  }
  template <class T>
  T* Add(Control* parent = nullptr) {
    auto* c = new T(form.get());
    c->SetParent(parent != nullptr ? parent : form.get());
    return c;
  }
  HeadlessUi ui;
  Owned<TForm> form;
};

TEST_F(ControlTest, AlignmentStacksTopBottomAndClientAndFollowsVisibilityAndSize) {
  auto* top1 = Add<TPanel>();
  top1->SetHeight(40);
  top1->SetAlign(Align::Top);
  auto* bottom = Add<TPanel>();
  bottom->SetHeight(30);
  bottom->SetAlign(Align::Bottom);
  auto* client = Add<TPanel>();
  client->SetAlign(Align::Client);
  auto* top2 = Add<TPanel>();
  top2->SetBounds(0, 100, 10, 20);  // below top1: stacks after it
  top2->SetAlign(Align::Top);

  EXPECT_EQ(top1->BoundsRect(), (Rect{0, 0, 200, 40}));
  EXPECT_EQ(top2->BoundsRect(), (Rect{0, 40, 200, 60}));
  EXPECT_EQ(bottom->BoundsRect(), (Rect{0, 270, 200, 300}));
  EXPECT_EQ(client->BoundsRect(), (Rect{0, 60, 200, 270}));

  top1->Hide();
  EXPECT_EQ(top2->Top(), 0);
  EXPECT_EQ(client->BoundsRect(), (Rect{0, 20, 200, 270}));
  top1->Show();
  EXPECT_EQ(top1->Top(), 0);
  EXPECT_EQ(client->Top(), 60);

  top2->SetHeight(50);  // an aligned control that grows pushes the client area
  EXPECT_EQ(client->BoundsRect(), (Rect{0, 90, 200, 270}));

  form->SetBounds(0, 0, 300, 400);  // the parent grows: widths and client follow
  EXPECT_EQ(top1->Width(), 300);
  EXPECT_EQ(bottom->Top(), 370);
  EXPECT_EQ(client->BoundsRect(), (Rect{0, 90, 300, 370}));
}

TEST_F(ControlTest, LeftRightAlignmentAndPanelBevelsInsetTheArea) {
  auto* box = Add<TPanel>();
  box->SetBounds(0, 0, 100, 50);
  box->SetBevelOuter(BevelCut::Raised);
  box->SetBevelInner(BevelCut::Lowered);  // 2 pixels of bevel on each side
  auto* left = Add<TPanel>(box);
  left->SetWidth(10);
  left->SetAlign(Align::Left);
  auto* right = Add<TPanel>(box);
  right->SetWidth(20);
  right->SetAlign(Align::Right);
  EXPECT_EQ(left->BoundsRect(), (Rect{2, 2, 12, 48}));
  EXPECT_EQ(right->BoundsRect(), (Rect{78, 2, 98, 48}));
}

TEST_F(ControlTest, ChildrenInheritFontAndColourUntilTheyGetTheirOwn) {
  Font big;
  big.name = "Arial";
  big.height = 13;
  form->SetFont(big);
  auto* panel = Add<TPanel>();
  auto* label = Add<TLabel>(panel);
  EXPECT_EQ(label->GetFont().name, "Arial");
  Font own = label->GetFont();
  own.bold = true;
  label->SetFont(own);
  EXPECT_FALSE(label->ParentFont());
  big.height = 20;
  form->SetFont(big);
  EXPECT_EQ(panel->GetFont().height, 20);
  EXPECT_EQ(label->GetFont().height, 13) << "an own font is kept";

  panel->SetColor(0x123456);
  label->SetParentColor(true);
  EXPECT_EQ(label->GetColor(), 0x123456u);
  panel->SetColor(0x654321);
  EXPECT_EQ(label->GetColor(), 0x654321u);
}

TEST_F(ControlTest, ShowHintFollowsTheParentWhileParentShowHint) {
  auto* panel = Add<TPanel>();
  auto* button = Add<TButton>(panel);
  form->SetShowHint(true);
  EXPECT_TRUE(button->ShowHint());
  button->SetShowHint(false);
  form->SetShowHint(false);
  form->SetShowHint(true);
  EXPECT_FALSE(button->ShowHint());
  EXPECT_TRUE(panel->ShowHint());
}

TEST_F(ControlTest, WindowlessControlsInvalidateOnlyTheirOwnRectangle) {
  auto* panel = Add<TPanel>();
  panel->SetBounds(10, 20, 150, 100);
  auto* label = Add<TLabel>(panel);
  label->SetAutoSize(false);
  label->SetBounds(5, 6, 40, 13);
  const WinHandle window = form->Handle();
  ASSERT_NE(window, 0u);
  ui.Backend().ClearInvalidations();

  label->SetCaption("changed");
  const auto& inv = ui.Backend().Invalidations(window);
  ASSERT_EQ(inv.size(), 1u);
  EXPECT_EQ(inv[0].control, panel);
  EXPECT_EQ(inv[0].rect, (Rect{15, 26, 55, 39})) << "in the form's client coordinates";

  label->SetCaption("changed");  // no change, no repaint
  EXPECT_EQ(ui.Backend().InvalidationCount(window), 1);

  ui.Backend().ClearInvalidations();
  label->SetLeft(50);  // old and new rectangle
  ASSERT_EQ(ui.Backend().InvalidationCount(window), 2);
  EXPECT_EQ(ui.Backend().Invalidations(window)[0].rect, (Rect{15, 26, 55, 39}));
  EXPECT_EQ(ui.Backend().Invalidations(window)[1].rect, (Rect{60, 26, 100, 39}));

  ui.Backend().ClearInvalidations();
  auto* button = Add<TButton>(panel);  // windowed controls repaint themselves
  button->SetCaption("x");
  EXPECT_EQ(ui.Backend().InvalidationCount(window), 0);

  // A windowless child that goes leaves its rectangle to repaint; the
  // children a parent owns, freed with it, ask for nothing (its window goes).
  auto* owned = new TLabel(panel);
  owned->SetAutoSize(false);
  owned->SetBounds(5, 30, 40, 13);
  owned->SetParent(panel);
  auto* second = new TLabel(panel);
  second->SetParent(panel);
  ui.Backend().ClearInvalidations();
  Free(owned);
  ASSERT_EQ(ui.Backend().InvalidationCount(window), 1);
  EXPECT_EQ(ui.Backend().Invalidations(window)[0].rect, (Rect{15, 50, 55, 63}));
  ui.Backend().ClearInvalidations();
  Free(panel);
  EXPECT_EQ(ui.Backend().InvalidationCount(window), 0);
}

TEST_F(ControlTest, AWindowlessPanelHasNoWindowAndMakingItWindowedLaterGivesItOne) {
  auto* outer = Add<TPanel>();
  outer->SetBounds(10, 20, 150, 100);
  auto* meters = Add<TPanel>(outer);
  meters->SetWindowless(true);
  meters->SetBounds(5, 6, 50, 60);
  auto* label = Add<TLabel>(meters);
  label->SetAutoSize(false);
  label->SetBounds(2, 3, 20, 10);
  auto* button = Add<TButton>(meters);
  const WinHandle window = form->Handle();
  EXPECT_NE(outer->Handle(), 0u);
  EXPECT_EQ(meters->Handle(), 0u);
  EXPECT_NE(button->Handle(), 0u) << "a windowed control in it keeps its own window";

  const WinHandle buttonWindow = button->Handle();
  ui.Backend().ClearInvalidations();
  label->SetCaption("x");
  ASSERT_EQ(ui.Backend().InvalidationCount(window), 1);
  EXPECT_EQ(ui.Backend().Invalidations(window)[0].rect, (Rect{17, 29, 37, 39}));

  // Made windowed once it has peers: it gets a window, and its children's
  // peers are made anew inside it.
  meters->SetWindowless(false);
  EXPECT_NE(meters->Handle(), 0u);
  EXPECT_NE(button->Handle(), 0u);
  EXPECT_NE(button->Handle(), buttonWindow);
  EXPECT_TRUE(label->HandleAllocated());
  ui.Backend().ClearInvalidations();
  label->SetCaption("y");
  ASSERT_EQ(ui.Backend().InvalidationCount(window), 1);
  EXPECT_EQ(ui.Backend().Invalidations(window)[0].control, meters);
  EXPECT_EQ(ui.Backend().Invalidations(window)[0].rect, (Rect{17, 29, 37, 39}));
}

TEST_F(ControlTest, PeersAreCreatedForTheTreeAndReleasedWhenTakenOut) {
  auto* panel = Add<TPanel>();
  auto* button = Add<TButton>(panel);
  EXPECT_FALSE(button->HandleAllocated()) << "nothing realised before the window is needed";
  const WinHandle window = form->Handle();
  EXPECT_TRUE(button->HandleAllocated());
  EXPECT_NE(button->Handle(), window);
  auto* label = Add<TLabel>(panel);
  EXPECT_TRUE(label->HandleAllocated());
  EXPECT_EQ(label->Handle(), 0u) << "windowless";
  button->SetParent(nullptr);
  EXPECT_FALSE(button->HandleAllocated());
  EXPECT_EQ(ui.Backend().FormOf(window), form.get());
}

TEST_F(ControlTest, ChildOrderAndZOrder) {
  auto* a = Add<TPanel>();
  auto* b = Add<TPanel>();
  auto* c = Add<TPanel>();
  a->BringToFront();
  EXPECT_EQ(form->Children(), (std::vector<Control*>{b, c, a}));
  c->SendToBack();
  EXPECT_EQ(form->Children(), (std::vector<Control*>{c, b, a}));
}

TEST_F(ControlTest, AutoSizedLabelTakesTheSizeOfItsTextAndRightJustifiedKeepsItsRightEdge) {
  auto* label = Add<TLabel>();
  label->SetBounds(100, 0, 50, 10);
  label->SetCaption("abcd");
  const Size text = ui.Backend().MeasureText(label->GetFont(), "abcd");
  EXPECT_EQ(label->Width(), text.width);
  EXPECT_EQ(label->Height(), text.height);
  auto* right = Add<TLabel>();
  right->SetAlignment(Alignment::RightJustify);
  right->SetBounds(100, 0, 50, 10);
  right->SetCaption("a");
  EXPECT_EQ(right->Left() + right->Width(), 150);
  auto* shown = Add<TLabel>();
  shown->SetCaption("a && b &c");
  EXPECT_EQ(shown->DisplayText(), "a & b c");
}

TEST_F(ControlTest, ShownTextHidesAcceleratorMarksExceptWhereTheClassShowsItsTextAsItIs) {
  auto* button = Add<TButton>();
  button->SetCaption("&Abbrechen && mehr");
  EXPECT_EQ(HeadlessDriver::ShownText(*button), "Abbrechen & mehr");
  auto* label = Add<TLabel>();
  label->SetShowAccelChar(false);
  label->SetCaption("A&B");
  EXPECT_EQ(HeadlessDriver::ShownText(*label), "A&B");
  auto* edit = Add<TEdit>();
  edit->SetText("R&D && co");
  EXPECT_EQ(HeadlessDriver::ShownText(*edit), "R&D && co");
}

TEST_F(ControlTest, ScrollBoxScrollsItsChildrenByIncrementsWithinTheRange) {
  auto* box = Add<TScrollBox>();
  box->SetBounds(0, 0, 100, 50);
  box->SetHorzIncrement(30);
  auto* strip = Add<TPanel>(box);
  strip->SetBounds(0, 0, 250, 40);
  EXPECT_EQ(box->HorzRange(), 250);
  box->ScrollSteps(2);
  EXPECT_EQ(box->HorzPosition(), 60);
  EXPECT_EQ(strip->Left(), -60);
  box->ScrollSteps(10);
  EXPECT_EQ(box->HorzPosition(), 150) << "clamped to range - width";
  EXPECT_EQ(strip->Left(), -150);
  box->SetWidth(300);  // everything fits now
  EXPECT_EQ(box->HorzPosition(), 0);
  EXPECT_EQ(strip->Left(), 0);
}

}  // namespace
}  // namespace zentra

namespace zentra {
namespace {

TEST(ControlTeardownTest, DestroyingAWindowlessControlRepaintsWhereItWas) {
  testing::HeadlessUi ui;
  testing::Owned<TForm> form(new TForm(nullptr));
  auto* bevel = new TBevel(form.get());
  bevel->SetParent(form.get());
  bevel->SetBounds(1, 2, 10, 10);
  const WinHandle window = form->Handle();
  ui.Backend().ClearInvalidations();
  Free(bevel);
  ASSERT_EQ(ui.Backend().InvalidationCount(window), 1);
  EXPECT_EQ(ui.Backend().Invalidations(window)[0].rect, (Rect{1, 2, 11, 12}));
}

}  // namespace
}  // namespace zentra
