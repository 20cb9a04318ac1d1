#include "controls/bilingual.h"

#include <gtest/gtest.h>

#include "support/headless_ui.h"
#include "toolkit/class_registry.h"
#include "toolkit/loader.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using testing::HeadlessUi;
using testing::Owned;

class TBilingualWindow : public TForm {
 public:
  explicit TBilingualWindow(Component* owner) : TForm(owner) {
    BindHandler("btnDown", &TBilingualWindow::btnDown);
  }
  const char* ClassName() const override { return "TBilingualWindow"; }
  void btnDown(Component* sender) { downs.push_back(sender->Name()); }
  std::vector<std::string> downs;
};

class BilingualTest : public ::testing::Test {
 protected:
  BilingualTest() : form(new TBilingualWindow(nullptr)) {
    RegisterBilingualClasses();
    form->SetBounds(0, 0, 300, 200);
  }
  TExtSpeedButton* AddSpeedButton(const std::string& name, int group) {
    auto* b = new TExtSpeedButton(form.get());
    b->SetName(name);
    b->SetParent(form.get());
    b->SetLeft(30 * form->ChildCount());
    b->SetGroupIndex(group);
    b->OnDown = [this](Component* s) { form->downs.push_back(s->Name()); };
    return b;
  }
  HeadlessUi ui;
  Owned<TBilingualWindow> form;
};

template <class T>
void ExpectGermanShownEnglishStored(T& control) {
  control.SetCaption("Anfang");
  control.SetCaptionEnglish(" Playback &Select");
  EXPECT_EQ(control.Caption(), "Anfang") << "English is stored only";
  EXPECT_EQ(control.CaptionEnglish(), " Playback &Select");
  control.SetCaptionGerman(" &Wiedergabeauswahl");
  EXPECT_EQ(control.Caption(), " &Wiedergabeauswahl");
  EXPECT_EQ(control.CaptionGerman(), " &Wiedergabeauswahl");
  control.SetCaptionGerman("");
  EXPECT_EQ(control.Caption(), "") << "an empty German caption empties the visible one";
}

TEST_F(BilingualTest, EveryClassShowsTheGermanCaptionAndOnlyStoresTheEnglishOne) {
  ExpectGermanShownEnglishStored(*new TExtLabel(form.get()));
  ExpectGermanShownEnglishStored(*new TExtButton(form.get()));
  ExpectGermanShownEnglishStored(*new TExtCheckBox(form.get()));
  ExpectGermanShownEnglishStored(*new TExtRadioButton(form.get()));
  ExpectGermanShownEnglishStored(*new TExtGroupBox(form.get()));
  ExpectGermanShownEnglishStored(*new TExtSpeedButton(form.get()));
}

TEST_F(BilingualTest, GermanHintIsTheTooltipAndTheEnglishHintIsStoredOnly) {
  auto* b = AddSpeedButton("b", 0);
  b->SetHintEnglish("Channel 1-2");
  EXPECT_EQ(b->Hint(), "");
  b->SetHintGerman("Kanal 1-2");
  EXPECT_EQ(b->Hint(), "Kanal 1-2");
  EXPECT_EQ(b->HintEnglish(), "Channel 1-2");
  EXPECT_EQ(b->HintGerman(), "Kanal 1-2");
}

TEST_F(BilingualTest, PropertiesAreDeclaredAfterTheInheritedOnesInTheirOwnOrder) {
  const ClassRegistry& r = ClassRegistry::Instance();
  for (const char* name : {"TExtLabel", "TExtButton", "TExtCheckBox", "TExtRadioButton", "TExtGroupBox"}) {
    auto names = r.Find(name)->PropertyNames();
    ASSERT_GE(names.size(), 3u) << name;
    EXPECT_EQ(names[names.size() - 2], "CaptionEnglish") << name;
    EXPECT_EQ(names.back(), "CaptionGerman") << name;
    EXPECT_LT(std::find(names.begin(), names.end(), "Caption") - names.begin(),
              static_cast<long>(names.size()) - 2) << name;
  }
  auto names = r.Find("TExtSpeedButton")->PropertyNames();
  std::vector<std::string> tail(names.end() - 6, names.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"OnDown", "HintEnglish", "HintGerman", "CaptionEnglish",
                                            "CaptionGerman", "Down"}));
  EXPECT_EQ(std::count(names.begin(), names.end(), "Down"), 1) << "redeclared, not repeated";
}

TEST_F(BilingualTest, ALoadedGermanCaptionWinsOverTheStoredCaption) {
  Owned<TBilingualWindow> w(new TBilingualWindow(nullptr));
  LoadWindowDescriptionText(*w, "b.wnd", R"(object W: TBilingualWindow
  object lbA: TExtLabel
    Caption = 'A'
    CaptionEnglish = 'E'
    CaptionGerman = 'B'
  end
  object lbKeep: TExtCheckBox
    Caption = 'Bleibt'
    CaptionEnglish = 'Stays'
  end
  object grp: TExtGroupBox
    Caption = ' Ausgang'
    CaptionEnglish = ' Output'
    CaptionGerman = ' Ausgang'
  end
end
)");
  auto* lbA = dynamic_cast<TExtLabel*>(w->FindComponent("lbA"));
  ASSERT_NE(lbA, nullptr);
  EXPECT_EQ(lbA->Caption(), "B");
  EXPECT_EQ(lbA->CaptionEnglish(), "E");
  auto* keep = dynamic_cast<TExtCheckBox*>(w->FindComponent("lbKeep"));
  ASSERT_NE(keep, nullptr);
  EXPECT_EQ(keep->Caption(), "Bleibt") << "without a German caption the stored one stays";
  EXPECT_EQ(keep->CaptionEnglish(), "Stays");
  EXPECT_EQ(dynamic_cast<TExtGroupBox*>(w->FindComponent("grp"))->CaptionEnglish(), " Output");
}

TEST_F(BilingualTest, CaptionsTakeEffectInDeclarationOrderWhateverTheFileOrder) {
  Owned<TBilingualWindow> w(new TBilingualWindow(nullptr));
  LoadWindowDescriptionText(*w, "order.wnd", R"(object W: TBilingualWindow
  object lbA: TExtLabel
    CaptionGerman = 'Deutsch'
    CaptionEnglish = 'English'
    Caption = 'Plain'
  end
  object chk: TExtCheckBox
    CaptionGerman = ' Ein'
    Left = 4
    Caption = ' Plain'
  end
end
)");
  auto* lbA = dynamic_cast<TExtLabel*>(w->FindComponent("lbA"));
  ASSERT_NE(lbA, nullptr);
  EXPECT_EQ(lbA->Caption(), "Deutsch") << "the plain caption does not overwrite the German one";
  EXPECT_EQ(lbA->CaptionEnglish(), "English");
  auto* chk = dynamic_cast<TExtCheckBox*>(w->FindComponent("chk"));
  ASSERT_NE(chk, nullptr);
  EXPECT_EQ(chk->Caption(), " Ein");
  EXPECT_EQ(chk->Left(), 4);
}

TEST_F(BilingualTest, OnDownRunsOnceOnEachUpToDownChangeByCode) {
  auto* a = AddSpeedButton("a", 1);
  auto* b = AddSpeedButton("b", 1);
  a->SetDown(true);
  a->SetDown(true);  // already down
  EXPECT_EQ(form->downs, (std::vector<std::string>{"a"}));
  b->SetDown(true);  // releases a: only b reports
  EXPECT_EQ(form->downs, (std::vector<std::string>{"a", "b"}));
  b->SetAllowAllUp(true);
  b->SetDown(false);  // going up reports nothing
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(form->downs.size(), 2u);
  auto* solo = AddSpeedButton("solo", 0);
  solo->SetDown(true);  // group 0 stays up: nothing
  EXPECT_EQ(form->downs.size(), 2u);
  // Through the toolkit's class, the toolkit's own assignment runs alone.
  static_cast<TSpeedButton*>(a)->SetDown(true);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(form->downs.size(), 2u);
}

TEST_F(BilingualTest, OnDownRunsAfterAClickPutsAGroupedButtonDownAndNotOtherwise) {
  auto* a = AddSpeedButton("a", 2);
  auto* b = AddSpeedButton("b", 2);
  int clicks = 0;
  a->OnClick = [&](Component*) {
    ++clicks;
    EXPECT_TRUE(a->Down()) << "the base's click handling ran first";
  };
  form->Show();
  ui.Driver().Click(*a);
  EXPECT_EQ(form->downs, (std::vector<std::string>{"a"}));
  ui.Driver().Click(*a);  // already down, all up not allowed
  EXPECT_EQ(form->downs.size(), 1u);
  EXPECT_EQ(clicks, 2) << "the ordinary click still fires";
  ui.Driver().Click(*b);  // a goes up silently, b reports
  EXPECT_EQ(form->downs, (std::vector<std::string>{"a", "b"}));
  b->SetAllowAllUp(true);
  ui.Driver().Click(*b);  // up: nothing
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(form->downs.size(), 2u);
}

TEST_F(BilingualTest, OnDownBoundInADescriptionDoesNotRunWhileLoading) {
  LoadWindowDescriptionText(*form, "s.wnd", R"(object W: TBilingualWindow
  object btnAdat1: TExtSpeedButton
    GroupIndex = 1
    OnDown = btnDown
    CaptionGerman = '1-2'
    Down = True
  end
end
)");
  auto* button = dynamic_cast<TExtSpeedButton*>(form->FindComponent("btnAdat1"));
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(button->Caption(), "1-2");
  EXPECT_TRUE(form->downs.empty());
  auto* other = AddSpeedButton("btnAdat2", 1);
  other->OnDown = button->OnDown;
  other->SetDown(true);
  EXPECT_EQ(form->downs, (std::vector<std::string>{"btnAdat2"}));
}

}  // namespace
}  // namespace zentra
