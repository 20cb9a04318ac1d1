// The about box: product name, version and credits; shown modally from the
// mixer windows' system menus and the settings dialog's Info button.
#pragma once

#include "toolkit/bitmap.h"
#include "toolkit/form.h"

namespace zentra {

class TBevel;
class TButton;
class TExtLabel;
class TImage;
class TLabel;
class TPanel;

class TAboutBox : public TForm {
 public:
  explicit TAboutBox(Component* owner);
  const char* ClassName() const override { return "TAboutBox"; }

  TPanel* Panel1 = nullptr;
  TPanel* Panel2 = nullptr;
  TLabel* lbName = nullptr;
  TBevel* Bevel1 = nullptr;
  TLabel* lbsytem = nullptr;
  TExtLabel* lbSys = nullptr;
  TLabel* lbVersion = nullptr;
  TBevel* Bevel2 = nullptr;
  TExtLabel* ExtLabel2 = nullptr;
  TImage* Image1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* lbTax = nullptr;
  TLabel* Label1 = nullptr;
  TExtLabel* ExtLabel1 = nullptr;
  TLabel* lbmail = nullptr;
  TButton* OKButton = nullptr;

 private:
  void FormCreate(Component* sender);
};

// The product logo of the about box, 119 x 33 pixels, drawn from simple
// shapes; registered as the picture "ZentraLogo".
Bitmap DrawZentraLogo();

}  // namespace zentra
