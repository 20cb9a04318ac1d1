// Cloning a card strip: every supported class with its copied properties and
// handlers, offsets and tags, recursion into containers, the callback, the
// insertion at the end and the error for an unsupported class.
#include <gtest/gtest.h>

#include "controls/audio_rig.h"
#include "controls/level_meter.h"
#include "controls/slider.h"
#include "winutil/clone_components.h"

namespace zentra {
namespace {

using testing::AudioRig;

template <class T>
T* Child(Control& parent, int index) {
  return dynamic_cast<T*>(parent.Children().at(static_cast<std::size_t>(index)));
}

struct Strip {
  TPanel* container;
  int clicks = 0;
  int downs = 0;
  int changes = 0;
};

TEST(CloneComponents, EveryClassIsCopiedWithItsPropertiesAndHandlers) {
  AudioRig rig;
  Strip strip{rig.Make<TPanel>("pnStrip")};
  TPanel& box = *strip.container;
  box.SetBounds(0, 0, 135, 300);
  auto count = [&strip](Component*) { ++strip.clicks; };

  auto* label = rig.Make<TExtLabel>("lbCard", &box);
  label->SetCaptionEnglish("Card #1");
  label->SetCaptionGerman("Karte #1");
  label->SetAlignment(Alignment::Center);
  label->SetAutoSize(false);
  label->SetBounds(4, 2, 60, 13);

  auto* button = rig.Make<TExtButton>("btnRoute", &box);
  button->SetCaptionGerman("Route");
  button->SetHint("Tipp");
  button->SetShowHint(true);
  button->OnClick = count;
  button->SetBounds(4, 20, 50, 20);

  auto* ext = rig.Make<TExtSpeedButton>("btnAdat", &box);
  ext->SetGroupIndex(3);
  ext->SetCaptionGerman("1");
  ext->SetDown(true);
  ext->SetFlat(true);
  ext->SetMargin(2);
  ext->OnDown = [&strip](Component*) { ++strip.downs; };
  ext->OnClick = count;
  ext->SetBounds(4, 44, 20, 20);

  auto* speed = rig.Make<TSpeedButton>("btnMute", &box);
  speed->SetCaption("M");
  speed->SetVisible(false);
  speed->SetAllowAllUp(true);
  speed->SetBounds(30, 44, 20, 20);

  auto* check = rig.Make<TExtCheckBox>("chkLink", &box);
  check->SetCaptionGerman("Link");
  check->SetChecked(true);
  check->OnClick = count;
  check->SetTag(-1);
  check->SetBounds(4, 70, 60, 17);

  auto* extRadio = rig.Make<TExtRadioButton>("btnOnPunch", &box);
  extRadio->SetCaptionGerman("Punch");
  extRadio->SetChecked(true);
  extRadio->OnClick = count;
  extRadio->SetBounds(4, 90, 60, 17);

  auto* radio = rig.Make<TRadioButton>("btnOff", &box);
  radio->SetCaption("Aus");
  radio->SetBounds(4, 110, 60, 17);

  auto* fader = rig.Make<TSlider>("Slider0", &box);
  fader->SetBounds(70, 20, 4, 121);
  fader->SetMax(255);
  fader->SetBtnHeight(26);
  fader->SetBtnWidth(18);
  fader->SetMoveRestriction(6);
  fader->SetNumber(0);
  fader->SetPosition(128);
  fader->OnChange = [&strip](Component*) { ++strip.changes; };

  auto* meter = rig.Make<TLevelMeter>("Meter1", &box);
  meter->SetBounds(90, 20, 18, 163);
  meter->SetLumiHeight(5);
  meter->SetNumLumisRed(1);
  meter->SetNumLumisOrange(12);
  meter->SetTimerInterval(40);
  meter->SetLevelMaxHold(3000);
  meter->SetLevel(1000);
  meter->SetTag(0);

  auto* bevel = rig.Make<TBevel>("bvLine", &box);
  bevel->SetShape(BevelShape::BottomLine);
  bevel->SetBounds(0, 290, 135, 2);

  const int templates = box.ChildCount();  // the fader's knob is a child too
  strip.changes = 0;
  strip.clicks = 0;
  strip.downs = 0;
  std::vector<Control*> seen;
  CloneComponents(box, box, 135, 0, [&](const Control& from, Control*& copy) {
    EXPECT_EQ(copy->Parent(), nullptr) << "copies get their parent only at the end";
    // Each copy is reported with the template it was made from.
    EXPECT_FALSE(from.Name().empty()) << "templates are named, their copies are not";
    EXPECT_EQ(from.Parent() == &box || from.Parent()->Parent() == &box, true);
    EXPECT_EQ(copy->Left(), from.Left() + 135);
    EXPECT_EQ(copy->Top(), from.Top());
    seen.push_back(copy);
  });
  EXPECT_EQ(strip.clicks, 0);
  EXPECT_EQ(strip.downs, 0);
  ASSERT_EQ(seen.size(), 10u);
  // Every copy is owned by the window, nameless, shifted, with the tag.
  for (Control* c : seen) {
    EXPECT_EQ(c->Owner(), &rig.Form());
    EXPECT_TRUE(c->Name().empty());
    EXPECT_EQ(c->Parent(), &box);
  }
  // The copies follow the templates, in creation order (the fader's knob
  // joins the container when the fader copy is placed).
  EXPECT_EQ(box.Children()[static_cast<std::size_t>(templates)], seen[0]);

  auto* labelCopy = dynamic_cast<TLabel*>(seen[0]);
  ASSERT_NE(labelCopy, nullptr);
  EXPECT_EQ(dynamic_cast<TExtLabel*>(seen[0]), nullptr) << "a plain label";
  EXPECT_EQ(labelCopy->Caption(), "Karte #1");
  EXPECT_EQ(labelCopy->GetAlignment(), Alignment::Center);
  EXPECT_FALSE(labelCopy->AutoSize());
  EXPECT_EQ(labelCopy->BoundsRect(), (Rect{139, 2, 199, 15}));

  auto* buttonCopy = dynamic_cast<TButton*>(seen[1]);
  ASSERT_NE(buttonCopy, nullptr);
  EXPECT_EQ(dynamic_cast<TExtButton*>(seen[1]), nullptr);
  EXPECT_EQ(buttonCopy->Caption(), "Route");
  EXPECT_EQ(buttonCopy->Hint(), "Tipp");
  EXPECT_TRUE(buttonCopy->ShowHint());
  buttonCopy->Click();
  EXPECT_EQ(strip.clicks, 1);

  auto* extCopy = dynamic_cast<TExtSpeedButton*>(seen[2]);
  ASSERT_NE(extCopy, nullptr);
  EXPECT_FALSE(extCopy->Down()) << "copied while the group index was 0";
  EXPECT_EQ(extCopy->GroupIndex(), 3);
  EXPECT_TRUE(extCopy->Flat());
  EXPECT_EQ(extCopy->Margin(), 2);
  EXPECT_TRUE(extCopy->CaptionGerman().empty());
  EXPECT_TRUE(static_cast<bool>(extCopy->OnDown));
  EXPECT_TRUE(ext->Down()) << "the template keeps its state";

  auto* speedCopy = dynamic_cast<TSpeedButton*>(seen[3]);
  ASSERT_NE(speedCopy, nullptr);
  EXPECT_FALSE(speedCopy->Visible()) << "plain speed buttons copy their visibility";
  EXPECT_TRUE(speedCopy->AllowAllUp());

  auto* checkCopy = dynamic_cast<TCheckBox*>(seen[4]);
  ASSERT_NE(checkCopy, nullptr);
  EXPECT_EQ(dynamic_cast<TExtCheckBox*>(seen[4]), nullptr);
  EXPECT_TRUE(checkCopy->Checked());
  EXPECT_EQ(checkCopy->Caption(), "Link");
  EXPECT_EQ(checkCopy->Tag(), -1);
  checkCopy->SetChecked(false);
  EXPECT_EQ(strip.clicks, 2);

  auto* extRadioCopy = dynamic_cast<TExtRadioButton*>(seen[5]);
  ASSERT_NE(extRadioCopy, nullptr);
  EXPECT_TRUE(extRadioCopy->Checked());
  auto* radioCopy = dynamic_cast<TRadioButton*>(seen[6]);
  ASSERT_NE(radioCopy, nullptr);
  EXPECT_EQ(dynamic_cast<TExtRadioButton*>(seen[6]), nullptr);
  EXPECT_EQ(radioCopy->Caption(), "Aus");

  auto* faderCopy = dynamic_cast<TSlider*>(seen[7]);
  ASSERT_NE(faderCopy, nullptr);
  EXPECT_EQ(faderCopy->Max(), 255);
  EXPECT_EQ(faderCopy->BtnHeight(), 26);
  EXPECT_EQ(faderCopy->BtnWidth(), 18);
  EXPECT_EQ(faderCopy->MoveRestriction(), 6);
  EXPECT_EQ(faderCopy->Position(), 128);
  EXPECT_EQ(faderCopy->LinkCheck(), nullptr);
  EXPECT_EQ(faderCopy->Left(), 205);
  EXPECT_EQ(faderCopy->Height(), 121);
  // Placed in the container at the end: initialized, its knob beside it.
  EXPECT_TRUE(faderCopy->Initialized());
  EXPECT_EQ(faderCopy->Knob()->Parent(), &box);
  EXPECT_EQ(faderCopy->KnobOffset(), 55);
  // Copying the settings fired nothing; the copy's initialization, when it
  // was placed, fired OnChange once.
  EXPECT_EQ(strip.changes, 1);

  auto* meterCopy = dynamic_cast<TLevelMeter*>(seen[8]);
  ASSERT_NE(meterCopy, nullptr);
  EXPECT_EQ(meterCopy->SegmentCount(), 40);
  EXPECT_EQ(meterCopy->NumLumisOrange(), 12);
  EXPECT_EQ(meterCopy->TimerInterval(), 40);
  EXPECT_EQ(meterCopy->LevelMaxHold(), 3000);
  EXPECT_EQ(meterCopy->Level(), 1000);
  EXPECT_EQ(meterCopy->Segment(39)->ColorOn(), TLevelMeter::kRed);

  auto* bevelCopy = dynamic_cast<TBevel*>(seen[9]);
  ASSERT_NE(bevelCopy, nullptr);
  EXPECT_EQ(bevelCopy->Shape(), BevelShape::BottomLine);
}

TEST(CloneComponents, APanelOfItsOwnColourKeepsItOtherColoursAreNotCopied) {
  AudioRig rig;
  auto* box = rig.Make<TPanel>("pnMeters");
  box->SetBounds(0, 0, 300, 200);
  auto* silver = rig.Make<TPanel>("pnSilver", box);
  silver->SetBounds(4, 0, 53, 185);
  silver->SetColor(clSilver);
  silver->SetWindowless(true);
  auto* label = rig.Make<TLabel>("lbGrey", silver);
  label->SetColor(clGray);
  CloneComponents(*box, *box, 312, 0, nullptr);
  ASSERT_EQ(box->ChildCount(), 2);
  auto* silverCopy = Child<TPanel>(*box, 1);
  ASSERT_NE(silverCopy, nullptr);
  EXPECT_EQ(silverCopy->GetColor(), clSilver);
  EXPECT_FALSE(silverCopy->ParentColor());
  EXPECT_FALSE(silverCopy->IsWindowed()) << "a windowless meter panel stays windowless";
  ASSERT_EQ(silverCopy->ChildCount(), 1);
  auto* labelCopy = Child<TLabel>(*silverCopy, 0);
  ASSERT_NE(labelCopy, nullptr);
  EXPECT_NE(labelCopy->GetColor(), clGray);
}

TEST(CloneComponents, ContainersGetCopiesOfTheirOwnChildrenOnly) {
  AudioRig rig;
  auto* box = rig.Make<TPanel>("pnMeters");
  box->SetBounds(0, 0, 300, 200);
  auto* inner = rig.Make<TPanel>("pnCard", box);
  inner->SetBounds(10, 10, 53, 185);
  inner->SetBevelInner(BevelCut::Raised);
  inner->SetParentColor(true);
  auto* innerBox = rig.Make<TCheckBox>("chkInner", inner);
  innerBox->SetBounds(5, 7, 40, 17);
  auto* group = rig.Make<TGroupBox>("grpMon", box);
  group->SetCaption("Monitor");
  group->SetBounds(70, 10, 60, 100);
  auto* groupLabel = rig.Make<TLabel>("lbMon", group);
  groupLabel->SetBounds(3, 15, 30, 13);
  auto* after = rig.Make<TLabel>("lbAfter", box);
  after->SetBounds(140, 10, 30, 13);

  CloneComponents(*box, *box, 135, 0, nullptr);
  ASSERT_EQ(box->ChildCount(), 6);
  auto* innerCopy = Child<TPanel>(*box, 3);
  ASSERT_NE(innerCopy, nullptr);
  EXPECT_EQ(innerCopy->Left(), 145);
  EXPECT_EQ(innerCopy->BevelInner(), BevelCut::Raised);
  EXPECT_TRUE(innerCopy->ParentColor());
  ASSERT_EQ(innerCopy->ChildCount(), 1);
  auto* innerBoxCopy = Child<TCheckBox>(*innerCopy, 0);
  ASSERT_NE(innerBoxCopy, nullptr);
  EXPECT_EQ(innerBoxCopy->Left(), 5);  // inner copies keep their place in the copy
  EXPECT_EQ(innerBoxCopy->Top(), 7);
  auto* groupCopy = Child<TGroupBox>(*box, 4);
  ASSERT_NE(groupCopy, nullptr);
  EXPECT_EQ(groupCopy->Caption(), "Monitor");
  ASSERT_EQ(groupCopy->ChildCount(), 1);
  EXPECT_NE(Child<TLabel>(*groupCopy, 0), nullptr);
  auto* afterCopy = Child<TLabel>(*box, 5);
  ASSERT_NE(afterCopy, nullptr);
  EXPECT_EQ(afterCopy->ChildCount(), 0);
  EXPECT_EQ(afterCopy->Left(), 275);
}

TEST(CloneComponents, TheCallbackRenamesRetagsAndDropsCopies) {
  AudioRig rig;
  auto* box = rig.Make<TPanel>("pnLevel");
  auto* label = rig.Make<TLabel>("lbHeader", box);
  label->SetCaption("Karte #1");
  auto* bevel = rig.Make<TBevel>("bvLine", box);
  bevel->SetAlign(Align::Bottom);
  const int before = rig.Form().ComponentCount();

  CloneComponents(*box, *box, 135, 0, [](const Control&, Control*& copy) {
    if (dynamic_cast<TBevel*>(copy) != nullptr) {
      FreeAndNil(copy);
      return;
    }
    copy->SetName("lbHeader2");
    std::string caption = copy->Caption();
    caption.back() = '2';
    copy->SetCaption(caption);
  });
  ASSERT_EQ(box->ChildCount(), 3);
  EXPECT_EQ(box->Children()[2]->Name(), "lbHeader2");
  EXPECT_EQ(box->Children()[2]->Caption(), "Karte #2");
  EXPECT_EQ(rig.Form().ComponentCount(), before + 1) << "the dropped copy left no trace";
}

TEST(CloneComponents, UnnamedTemplatesAreSkippedAndUnsupportedNamedOnesAreAnError) {
  AudioRig rig;
  auto* box = rig.Make<TPanel>("pnSettings");
  rig.Make<TLabel>("lbFirst", box);
  rig.Make<TEdit>("", box);  // unnamed, of a class that is not cloned
  rig.Make<TLabel>("lbSecond", box);
  CloneComponents(*box, *box, 10, 0, nullptr);
  EXPECT_EQ(box->ChildCount(), 5);

  auto* other = rig.Make<TPanel>("pnOther");
  rig.Make<TLabel>("lbThird", other);
  rig.Make<TEdit>("edDefaultRate1", other);
  const int components = rig.Form().ComponentCount();
  try {
    CloneComponents(*other, *other, 10, 0, nullptr);
    FAIL() << "no component error";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(),
                 "CloneComponents: Komponentenklasse von edDefaultRate1 nicht implementiert.");
  }
  EXPECT_EQ(other->ChildCount(), 2) << "nothing was put into the destination";
  EXPECT_EQ(rig.Form().ComponentCount(), components + 1) << "the label copy stays with the window";
}

}  // namespace
}  // namespace zentra
