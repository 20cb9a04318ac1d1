// The layout of a mixer window: the option panel, the meter and settings
// sections and the main panel that holds them, each change adding to or
// taking from the window height and FixedHeight together.
#include "mixer/mixer_window.h"
#include "toolkit/std_controls.h"
#include "winutil/options_menu.h"

namespace zentra {

void TMixerWindow::AdjustHeight(int delta) {
  fixedHeight_ += delta;
  SetHeight(Height() + delta);
}

void TMixerWindow::GrowMainPanel(int delta) {
  // A client-aligned main panel follows the window by itself; in the ADAT
  // windows the meter section is the main panel and keeps its own height.
  if (mainPanel_ == meterSection_ || mainPanel_->GetAlign() == Align::Client) return;
  mainPanel_->SetHeight(mainPanel_->Height() + delta);
}

void TMixerWindow::OptionPanelToggle() {
  if (pnChecks->Visible()) {
    pnChecks->Hide();
    AdjustHeight(-pnChecks->Height());
    pnChecks->SetAlign(Align::None);
    mainPanel_->SetAlign(Align::Client);
  } else {
    mainPanel_->SetAlign(Align::Top);
    AdjustHeight(pnChecks->Height());
    pnChecks->SetAlign(Align::Client);
    pnChecks->Show();
  }
  UpdateOptionsMenuItem(pnChecks);
}

void TMixerWindow::ShowMainPanelIfHidden() {
  if (mainPanel_->Visible()) return;
  // Shown top-aligned it keeps its own height, which the window then gets;
  // only then may it fill the window (client-aligned, shown into a window
  // of no client height, it would have none).
  mainPanel_->SetAlign(Align::Top);
  mainPanel_->Show();
  AdjustHeight(mainPanel_->Height());
  if (!pnChecks->Visible()) mainPanel_->SetAlign(Align::Client);
}

void TMixerWindow::HideMainPanelIfEmpty() {
  const bool settingsShown = settingsSection_ != nullptr && settingsSection_->Visible();
  if (meterSection_->Visible() || settingsShown) return;
  HideMainPanel();
}

void TMixerWindow::HideMainPanel() {
  if (!mainPanel_->Visible()) return;
  // Hidden top-aligned, it keeps its height for when it is shown again
  // (client-aligned, it would take the height of what is left).
  mainPanel_->SetAlign(Align::Top);
  mainPanel_->Hide();
  AdjustHeight(-mainPanel_->Height());
}

void TMixerWindow::chkPeakMeterClick(Component*) {
  UpdateOptionsMenuItem(chkPeakMeter);
  const int h = meterSection_->Height();
  if (chkPeakMeter->Checked()) {
    ShowMainPanelIfHidden();
    if (!meterSection_->Visible()) {
      meterSection_->Show();
      if (bvLine_ != nullptr) bvLine_->Show();
      AdjustHeight(h);
      GrowMainPanel(h);
    }
    StartMetering();
  } else {
    StopMetering();
    if (meterSection_ == mainPanel_) {
      HideMainPanel();  // the meters are the whole main panel
    } else if (meterSection_->Visible()) {
      meterSection_->Hide();
      if (bvLine_ != nullptr) bvLine_->Hide();
      GrowMainPanel(-h);
      AdjustHeight(-h);
    }
    HideMainPanelIfEmpty();
  }
}

void TMixerWindow::SettingsSectionToggle(TCheckBox& box) {
  UpdateOptionsMenuItem(&box);
  if (settingsSection_ == nullptr) return;
  const int h = settingsSection_->Height();
  if (box.Checked()) {
    ShowMainPanelIfHidden();
    if (settingsSection_->Visible()) return;
    settingsSection_->Show();
    meterSection_->SetTop(meterSection_->Top() + h);
    AdjustHeight(h);
    GrowMainPanel(h);
  } else {
    if (settingsSection_->Visible()) {
      settingsSection_->Hide();
      meterSection_->SetTop(meterSection_->Top() - h);
      GrowMainPanel(-h);
      AdjustHeight(-h);
    }
    HideMainPanelIfEmpty();
  }
}


}  // namespace zentra
