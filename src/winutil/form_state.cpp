#include "winutil/form_state.h"

#include <algorithm>
#include <functional>
#include <limits>

#include "controls/slider.h"
#include "platform/platform.h"
#include "toolkit/application.h"
#include "platform/silent_abort.h"
#include "toolkit/std_controls.h"
#include "winutil/page_index.h"
#include "winutil/profile_section.h"

namespace zentra {
namespace {

// Visits the components the window owns (wherever they are shown), in
// order. Walks by index and re-reads the list, so a component freed by a
// handler during the walk is never touched.
void ForEachOwned(Component& owner, const std::function<void(Component&)>& visit) {
  for (std::size_t i = 0; i < owner.Components().size(); ++i) visit(*owner.Components()[i]);
}

// A panel in the persistence sense: a fader is a panel too, but is stored
// as its position.
bool IsPlainPanel(Component& c) {
  return dynamic_cast<TPanel*>(&c) != nullptr && dynamic_cast<TSlider*>(&c) == nullptr;
}

void RestoreComponent(Component& c, ProfileSection& profile) {
  const std::string& key = c.Name();
  if (auto* box = dynamic_cast<TCheckBox*>(&c)) {
    box->SetChecked(profile.ReadBool(key, box->Checked()));
  } else if (IsPlainPanel(c)) {
    auto& panel = static_cast<TPanel&>(c);
    panel.SetVisible(profile.ReadBool(key, panel.Visible()));
  } else if (auto* edit = dynamic_cast<TEdit*>(&c)) {
    edit->SetText(profile.ReadString(key, edit->Text()));
  } else if (auto* pages = dynamic_cast<TPageControl*>(&c)) {
    // A stored index that names no page leaves the active page as it is.
    if (TTabSheet* page = PageByIndex(*pages, profile.ReadInteger(key, 0)))
      pages->SetActivePage(page);
  } else if (auto* button = dynamic_cast<TSpeedButton*>(&c)) {
    // Set directly: the down state changes without OnDown.
    button->TSpeedButton::SetDown(profile.ReadBool(key, button->Down()));
    if (button->OnClick) button->OnClick(button);
  } else if (auto* slider = dynamic_cast<TSlider*>(&c)) {
    slider->SetPosition(profile.ReadInteger(key, slider->Position()));
  } else if (auto* combo = dynamic_cast<TComboBox*>(&c)) {
    combo->SetItemIndex(profile.ReadInteger(key, combo->ItemIndex()));
  }
}

// The value stored for a component, or nothing for a class that is not
// persisted.
bool SaveComponent(Component& c, ProfileSection& profile) {
  const std::string& key = c.Name();
  if (auto* box = dynamic_cast<TCheckBox*>(&c)) return profile.WriteBool(key, box->Checked());
  if (IsPlainPanel(c)) return profile.WriteBool(key, static_cast<TPanel&>(c).Visible());
  if (auto* edit = dynamic_cast<TEdit*>(&c)) return profile.WriteString(key, edit->Text());
  if (auto* pages = dynamic_cast<TPageControl*>(&c))
    return profile.WriteInteger(key, IndexOfPage(*pages, pages->ActivePage()));
  if (auto* button = dynamic_cast<TSpeedButton*>(&c)) return profile.WriteBool(key, button->Down());
  if (auto* slider = dynamic_cast<TSlider*>(&c)) return profile.WriteInteger(key, slider->Position());
  if (auto* combo = dynamic_cast<TComboBox*>(&c)) return profile.WriteInteger(key, combo->ItemIndex());
  return true;
}

// The window's size limits as its WM_GETMINMAXINFO handling gives them,
// starting from the platform's defaults (no minimum; the screen plus frame).
MinMaxInfo SizeLimits(TForm& window) {
  MinMaxInfo info{};
  int maxWidth = std::numeric_limits<std::int32_t>::max();
  int maxHeight = std::numeric_limits<std::int32_t>::max();
  if (Backend* backend = Application::Instance().GetBackend()) {
    const Size screen = backend->ScreenSize();
    const Size frame = backend->FrameExtent(window);
    maxWidth = screen.width + frame.width;
    maxHeight = screen.height + frame.height;
  }
  info.ptMaxSize = {maxWidth, maxHeight};
  info.ptMinTrackSize = {0, 0};
  info.ptMaxTrackSize = {maxWidth, maxHeight};
  window.Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<std::intptr_t>(&info));
  return info;
}

int Clamp(int value, int low, int high) {
  if (high < low) high = low;
  return std::max(low, std::min(value, high));
}

}  // namespace

bool IsPersistent(const Component& component, std::int32_t tagMask) {
  return !component.Name().empty() && (component.Tag() & tagMask) == tagMask;
}

void RestoreFormState(TForm& window, const std::string& fileName, const std::string& suffix,
                      std::int32_t tagMask, bool placement) {
  ProfileSection profile(CurrentPlatform().kernel, fileName, window.Caption() + suffix);
  TForm::ReleaseDeferral keep(window);  // messages are let through below
  ForEachOwned(window, [&](Component& c) {
    if (IsPersistent(c, tagMask)) RestoreComponent(c, profile);
    // Keep the window responsive while the file is read.
    Application::Instance().ProcessMessages();
  });
  if (!placement) return;
  window.SetTop(profile.ReadInteger("Top", window.Top()));
  window.SetLeft(profile.ReadInteger("Left", window.Left()));
  const MinMaxInfo limits = SizeLimits(window);
  window.SetWidth(Clamp(profile.ReadInteger("Width", window.Width()), limits.ptMinTrackSize.x,
                        limits.ptMaxTrackSize.x));
  window.SetHeight(Clamp(profile.ReadInteger("Height", window.Height()), limits.ptMinTrackSize.y,
                         limits.ptMaxTrackSize.y));
  window.SetShowHint(profile.ReadInteger("Hints", window.ShowHint() ? 1 : 0) != 0);
}

bool SaveFormState(TForm& window, const std::string& fileName, const std::string& suffix,
                   std::int32_t tagMask, bool placement) {
  ProfileSection profile(CurrentPlatform().kernel, fileName, window.Caption() + suffix);
  bool written = true;
  try {
    ForEachOwned(window, [&](Component& c) {
      // After the first value the file refused, the rest would fail alike.
      if (written && IsPersistent(c, tagMask)) written = SaveComponent(c, profile);
    });
  } catch (const SilentAbort&) {
    // A page control without an active page of its own ends the save here;
    // the window's own operation (its closing) goes on.
    return false;
  }
  if (!written) return false;
  if (!placement) return true;
  return profile.WriteInteger("Top", window.Top()) && profile.WriteInteger("Left", window.Left()) &&
         profile.WriteInteger("Width", window.Width()) &&
         profile.WriteInteger("Height", window.Height()) &&
         profile.WriteBool("Hints", window.ShowHint());
}

}  // namespace zentra
