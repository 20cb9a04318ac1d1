#include "toolkit/page_control.h"

#include <algorithm>

#include "toolkit/application.h"

namespace zentra {

TTabSheet::TTabSheet(Component* owner) : Control(owner) {}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

int TTabSheet::PageIndex() const {
  TPageControl* pc = PageControl();
  if (pc == nullptr) return -1;
  std::vector<TTabSheet*> pages = pc->Pages();
  auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetTabVisible(bool visible) {
  if (visible == tabVisible_) return;
  tabVisible_ = visible;
  if (Parent() != nullptr) Parent()->Invalidate();
  Changed(Change::Look);
}

TPageControl::TPageControl(Component* owner) : Control(owner) {
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

std::vector<TTabSheet*> TPageControl::Pages() const {
  std::vector<TTabSheet*> pages;
  for (Control* c : Children())
    if (auto* sheet = dynamic_cast<TTabSheet*>(c)) pages.push_back(sheet);
  return pages;
}

TTabSheet* TPageControl::Page(int index) const {
  std::vector<TTabSheet*> pages = Pages();
  return index >= 0 && index < static_cast<int>(pages.size()) ? pages[index] : nullptr;
}

int TPageControl::ActivePageIndex() const { return active_ == nullptr ? -1 : active_->PageIndex(); }

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page != nullptr && page->Parent() != this) return;
  if (page == active_) return;
  active_ = page;
  for (TTabSheet* sheet : Pages()) {
    if (sheet == page) PlaceSheet(sheet);
    sheet->SetVisible(sheet == page);
  }
  Changed(Change::ActivePage);
}

void TPageControl::SetTabWidth(int width) {
  if (width == tabWidth_) return;
  tabWidth_ = width;
  Changed(Change::ActivePage);
}

void TPageControl::SetTabHeight(int height) {
  if (height == tabHeight_) return;
  tabHeight_ = height;
  Changed(Change::ActivePage);
  for (TTabSheet* sheet : Pages()) PlaceSheet(sheet);
}

void TPageControl::SetHotTrack(bool hotTrack) {
  if (hotTrack == hotTrack_) return;
  hotTrack_ = hotTrack;
  Changed(Change::ActivePage);
}

Rect TPageControl::DisplayRect() const {
  const int tabs = tabHeight_ > 0 ? tabHeight_ : GetFont().height + 9;
  Rect r = ClientRect();
  r.left += 4;
  r.top += tabs + 4;
  r.right = std::max(r.left, r.right - 4);
  r.bottom = std::max(r.top, r.bottom - 4);
  return r;
}

void TPageControl::PlaceSheet(TTabSheet* sheet) {
  Rect r = DisplayRect();
  sheet->SetBounds(r.left, r.top, r.Width(), r.Height());
}

void TPageControl::ChildAdded(Control* child) {
  auto* sheet = dynamic_cast<TTabSheet*>(child);
  if (sheet == nullptr) return;
  PlaceSheet(sheet);
  if (sheet != active_) sheet->SetVisible(false);
  if (active_ == nullptr && !Loading()) SetActivePage(sheet);
}

void TPageControl::ChildRemoved(Control* child) {
  if (child != active_) return;
  active_ = nullptr;
  std::vector<TTabSheet*> pages = Pages();
  if (!pages.empty()) SetActivePage(pages.front());
  Changed(Change::ActivePage);
}

void TPageControl::Resized() {
  for (TTabSheet* sheet : Pages()) PlaceSheet(sheet);
}

void TPageControl::Loaded() {
  Control::Loaded();
  if (active_ == nullptr) {
    std::vector<TTabSheet*> pages = Pages();
    if (!pages.empty()) SetActivePage(pages.front());
  }
}

void TPageControl::UserSelectPage(int index) {
  RunGuarded([&] {
    TTabSheet* page = Page(index);
    if (page == nullptr || page == active_ || !Enabled() || !page->TabVisible()) return;
    SetActivePage(page);
    if (OnChange && EventsAllowed()) OnChange(this);
  }, this);
}

}  // namespace zentra
