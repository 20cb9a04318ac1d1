#include "app/about_box.h"

#include <gtest/gtest.h>

#include "controls/bilingual.h"
#include "support/headless_ui.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using testing::HeadlessUi;
using testing::Owned;

class AboutBoxTest : public ::testing::Test {
 protected:
  AboutBoxTest() : box(new TAboutBox(nullptr)) {}
  HeadlessUi ui;
  Owned<TAboutBox> box;
};

TEST_F(AboutBoxTest, WindowIsAHiddenCentredDialogWithTheGivenClientArea) {
  EXPECT_EQ(box->Name(), "AboutBox");
  EXPECT_EQ(box->Caption(), "Info");
  EXPECT_FALSE(box->Visible());
  EXPECT_EQ(box->GetBorderStyle(), BorderStyle::Dialog);
  EXPECT_EQ(box->Position(), FormPosition::ScreenCenter);
  EXPECT_EQ(box->ClientWidth(), 294);
  EXPECT_EQ(box->ClientHeight(), 296);
  EXPECT_EQ(box->GetFont().name, "MS Sans Serif");
  EXPECT_EQ(box->GetFont().height, 11);
}

TEST_F(AboutBoxTest, PanelsAndComponentsSitWhereTheLayoutPutsThem) {
  EXPECT_EQ(box->Panel1->Parent(), box.get());
  EXPECT_EQ(box->Panel1->BoundsRect(), (Rect{4, 2, 289, 259}));
  EXPECT_EQ(box->Panel1->BevelInner(), BevelCut::Raised);
  EXPECT_EQ(box->Panel1->BevelOuter(), BevelCut::Lowered);
  EXPECT_EQ(box->Panel2->Parent(), box->Panel1);
  EXPECT_EQ(box->Panel2->BoundsRect(), (Rect{8, 8, 277, 249}));
  EXPECT_EQ(box->Panel2->BevelOuter(), BevelCut::Lowered);
  EXPECT_EQ(box->Panel2->GetColor(), 14803425u);

  struct Expected {
    Control* control;
    int left, top, width, height;  // width/height 0: sized by its text
  };
  const Expected layout[] = {
      {box->lbName, 6, 8, 257, 33},    {box->Bevel1, 6, 32, 257, 9},   {box->lbsytem, 20, 44, 0, 0},
      {box->lbSys, 112, 44, 0, 0},     {box->lbVersion, 6, 64, 257, 16}, {box->Bevel2, 6, 80, 257, 9},
      {box->ExtLabel2, 70, 96, 119, 13}, {box->Image1, 70, 114, 119, 33}, {box->Label2, 76, 154, 0, 0},
      {box->lbTax, 104, 170, 61, 16},  {box->Label1, 56, 190, 156, 17}, {box->ExtLabel1, 58, 220, 0, 0},
      {box->lbmail, 102, 220, 0, 0},
  };
  for (const Expected& e : layout) {
    SCOPED_TRACE(e.control->Name());
    EXPECT_EQ(e.control->Parent(), box->Panel2);
    EXPECT_EQ(e.control->Left(), e.left);
    EXPECT_EQ(e.control->Top(), e.top);
    if (e.width != 0) {
      EXPECT_EQ(e.control->Width(), e.width);
      EXPECT_EQ(e.control->Height(), e.height);
    }
  }
  EXPECT_EQ(box->Bevel1->Shape(), BevelShape::BottomLine);
  EXPECT_EQ(box->Bevel2->Shape(), BevelShape::BottomLine);
  EXPECT_EQ(box->OKButton->Parent(), box.get());
  EXPECT_EQ(box->OKButton->BoundsRect(), (Rect{110, 266, 185, 291}));
}

TEST_F(AboutBoxTest, CreationSetsTheThreeTextsAndTheFontsFollowTheLayout) {
  EXPECT_EQ(box->lbName->Caption(), "Zentra");
  EXPECT_EQ(box->lbVersion->Caption(), "Version 4.01");
  EXPECT_EQ(box->lbSys->Caption(), "für Windows 95/98 (TM)");
  EXPECT_EQ(box->lbsytem->Caption(), "Sound System");
  EXPECT_EQ(box->ExtLabel2->DisplayText(), "designed & developed by");
  EXPECT_EQ(box->ExtLabel2->CaptionEnglish(), "designed && developed by");
  EXPECT_EQ(box->ExtLabel2->CaptionGerman(), "designed && developed by");
  EXPECT_EQ(box->Label2->Caption(), "with special thanks to");
  EXPECT_EQ(box->ExtLabel1->Caption(), "Kontakt:");
  EXPECT_EQ(box->ExtLabel1->CaptionEnglish(), "Contact:");
  EXPECT_FALSE(box->lbTax->Caption().empty());
  EXPECT_FALSE(box->Label1->Caption().empty());
  EXPECT_EQ(box->lbmail->Caption(), "support@zentra.invalid");

  const Font& name = box->lbName->GetFont();
  EXPECT_EQ(name.name, "Arial");
  EXPECT_EQ(name.height, 24);
  EXPECT_TRUE(name.bold && name.italic && !name.underline);
  EXPECT_EQ(name.color, clNavy);
  EXPECT_EQ(box->lbName->GetAlignment(), Alignment::Center);
  EXPECT_FALSE(box->lbName->AutoSize());
  EXPECT_EQ(box->lbsytem->GetAlignment(), Alignment::Center);
  EXPECT_EQ(box->lbVersion->GetAlignment(), Alignment::Center);
  for (Control* c : {static_cast<Control*>(box->lbsytem), static_cast<Control*>(box->lbSys),
                     static_cast<Control*>(box->lbVersion)})
    EXPECT_EQ(c->GetFont().height, 13) << c->Name();
  for (TLabel* c : {box->lbTax, box->Label1}) {
    EXPECT_EQ(c->GetFont().name, "Arial") << c->Name();
    EXPECT_EQ(c->GetFont().height, 13) << c->Name();
    EXPECT_TRUE(c->GetFont().italic) << c->Name();
    EXPECT_FALSE(c->AutoSize()) << c->Name();
  }
  EXPECT_EQ(box->ExtLabel1->GetFont().name, "Arial");
  EXPECT_EQ(box->ExtLabel1->GetFont().height, 11);
  const Font& mail = box->lbmail->GetFont();
  EXPECT_EQ(mail.name, "Arial");
  EXPECT_EQ(mail.height, 11);
  EXPECT_EQ(mail.color, clBlue);
  EXPECT_TRUE(mail.underline);
}

TEST_F(AboutBoxTest, LogoIsAnOwnDrawingOfTheImageSize) {
  const Bitmap& logo = box->Image1->Picture();
  ASSERT_EQ(logo.width, 119);
  ASSERT_EQ(logo.height, 33);
  ASSERT_EQ(logo.pixels.size(), 119u * 33u);
  int drawn = 0;
  for (Color c : logo.pixels) drawn += c != 0xE1E1E1;
  EXPECT_GT(drawn, 119 * 33 / 5) << "more than a blank picture";
}

TEST_F(AboutBoxTest, OkEnterAndTheCloseBoxEndTheModalShow) {
  EXPECT_TRUE(box->OKButton->Default());
  EXPECT_EQ(box->OKButton->Caption(), "OK");
  ui.Backend().SetScreenSize({800, 600});
  ui.Backend().SetModalHandler([&](TForm& f) {
    EXPECT_EQ(f.Left(), (800 - f.Width()) / 2);
    ui.Driver().Click(*box->OKButton);
  });
  EXPECT_EQ(box->ShowModal(), mrOk);
  ui.Backend().SetModalHandler([&](TForm& f) { ui.Driver().PressKey(f, VK_RETURN); });
  EXPECT_EQ(box->ShowModal(), 1);
  ui.Backend().SetModalHandler([&](TForm& f) { ui.Driver().CloseBox(f); });
  EXPECT_EQ(box->ShowModal(), mrCancel);
  EXPECT_FALSE(box->Visible());
  EXPECT_TRUE(ui.User().MessageBoxes().empty());
}

}  // namespace
}  // namespace zentra
