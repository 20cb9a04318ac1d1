// A page control with tab sheets: one sheet is shown at a time.
#pragma once

#include <vector>

#include "toolkit/control.h"

namespace zentra {

class TPageControl;

class TTabSheet : public Control {
 public:
  explicit TTabSheet(Component* owner);
  const char* ClassName() const override { return "TTabSheet"; }
  bool AcceptsChildren() const override { return true; }

  // The page control it belongs to (its parent), or null.
  TPageControl* PageControl() const;
  // Index among the page control's sheets, -1 without one.
  int PageIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible);

 private:
  bool tabVisible_ = true;
};

class TPageControl : public Control {
 public:
  explicit TPageControl(Component* owner);
  const char* ClassName() const override { return "TPageControl"; }
  bool AcceptsChildren() const override { return true; }

  // The sheets, in child order.
  std::vector<TTabSheet*> Pages() const;
  int PageCount() const { return static_cast<int>(Pages().size()); }
  TTabSheet* Page(int index) const;
  TTabSheet* ActivePage() const { return active_; }
  // Shows that sheet and hides the others; runs no event. A sheet of another
  // page control is ignored.
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index) { SetActivePage(Page(index)); }
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int width);
  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int height);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool hotTrack);
  // Area that the sheets fill.
  Rect DisplayRect() const;

  // Runs when the user selects another tab.
  NotifyEvent OnChange;

  // The user selected the tab of the sheet at that index.
  void UserSelectPage(int index);

 protected:
  void ChildAdded(Control* child) override;
  void ChildRemoved(Control* child) override;
  void Resized() override;
  void Loaded() override;

 private:
  void PlaceSheet(TTabSheet* sheet);

  TTabSheet* active_ = nullptr;
  int tabWidth_ = 0;
  int tabHeight_ = 0;
  bool hotTrack_ = false;
};

}  // namespace zentra
