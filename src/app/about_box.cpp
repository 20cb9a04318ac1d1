#include "app/about_box.h"

#include <cmath>

#include "controls/bilingual.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

constexpr Color kPanelGrey = 0xE1E1E1;
constexpr Color kLogoNavy = 0x800000;
constexpr Color kLogoGreen = 0x00B000;
constexpr Color kLogoOrange = 0x0080FF;
constexpr Color kLogoRed = 0x0000E0;

void FillRect(Bitmap& b, int left, int top, int right, int bottom, Color c) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) b.Set(x, y, c);
}

// A thick line from (x0, y0) to (x1, y1).
void ThickLine(Bitmap& b, double x0, double y0, double x1, double y1, double width, Color c) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double len2 = dx * dx + dy * dy;
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      double t = ((x - x0) * dx + (y - y0) * dy) / len2;
      t = t < 0 ? 0 : (t > 1 ? 1 : t);
      const double px = x0 + t * dx - x, py = y0 + t * dy - y;
      if (px * px + py * py <= width * width / 4) b.Set(x, y, c);
    }
  }
}

}  // namespace

Bitmap DrawZentraLogo() {
  // A navy badge with a white "Z" stroke, followed by a row of level bars
  // rising from green to orange to red, on the panel's grey.
  Bitmap logo = Bitmap::Filled(119, 33, kPanelGrey);
  FillRect(logo, 1, 1, 32, 32, kLogoNavy);
  ThickLine(logo, 8, 8, 25, 8, 3.5, clWhite);
  ThickLine(logo, 25, 8, 8, 25, 3.5, clWhite);
  ThickLine(logo, 8, 25, 25, 25, 3.5, clWhite);
  const int bars = 12;
  for (int i = 0; i < bars; ++i) {
    const int left = 38 + i * 7;
    const int height = 6 + static_cast<int>(std::lround(24.0 * (i + 1) / bars));
    const Color c = i < 7 ? kLogoGreen : (i < 10 ? kLogoOrange : kLogoRed);
    FillRect(logo, left, 32 - height, left + 5, 32, c);
  }
  return logo;
}

TAboutBox::TAboutBox(Component* owner) : TForm(owner) {
  RegisterBilingualClasses();
  if (!BitmapRegistered("ZentraLogo")) RegisterBitmap("ZentraLogo", DrawZentraLogo);
  BindHandler("FormCreate", &TAboutBox::FormCreate);
  BindField("Panel1", Panel1);
  BindField("Panel2", Panel2);
  BindField("lbName", lbName);
  BindField("Bevel1", Bevel1);
  BindField("lbsytem", lbsytem);
  BindField("lbSys", lbSys);
  BindField("lbVersion", lbVersion);
  BindField("Bevel2", Bevel2);
  BindField("ExtLabel2", ExtLabel2);
  BindField("Image1", Image1);
  BindField("Label2", Label2);
  BindField("lbTax", lbTax);
  BindField("Label1", Label1);
  BindField("ExtLabel1", ExtLabel1);
  BindField("lbmail", lbmail);
  BindField("OKButton", OKButton);
  CreateFromDescription("about.wnd");
}

void TAboutBox::FormCreate(Component*) {
  lbName->SetCaption("Zentra");
  lbVersion->SetCaption("Version 4.01");
  lbSys->SetCaption("für Windows 95/98 (TM)");
}

}  // namespace zentra
