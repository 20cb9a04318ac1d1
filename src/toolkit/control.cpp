#include "toolkit/control.h"

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/text_util.h"

namespace zentra {

Control::Control(Component* owner) : Component(owner) {}

Control::~Control() {
  tearingDown_ = true;
  if (TForm* form = ParentForm()) form->ForgetControl(this);
  while (!children_.empty()) {
    Control* child = children_.back();
    if (child->tearingDown_) {
      children_.pop_back();
      child->parent_ = nullptr;
    } else {
      Free(child);
    }
  }
  ReleasePeer();
  if (parent_ != nullptr) {
    Control* parent = parent_;
    auto& siblings = parent->children_;
    // Children mostly go last first: search from the back.
    auto it = std::find(siblings.rbegin(), siblings.rend(), this);
    if (it != siblings.rend()) siblings.erase(std::next(it).base());
    parent_ = nullptr;
    if (!parent->tearingDown_) {
      parent->ChildRemoved(this);
      // A parent that goes as well neither repaints nor lays out what is left.
      // Virtual calls reach only this class now; the kind was noted when parented.
      if (!parent->Going()) {
        if (windowless_ && visible_) parent->InvalidateArea(BoundsRect());
        if (align_ != Align::None) parent->Realign();
      }
    }
  }
}

bool Control::Going() const {
  for (const Control* c = this; c != nullptr; c = c->parent_)
    if (c->tearingDown_ || c->Destroying()) return true;
  return false;
}

// --- parent and child order ---------------------------------------------

void Control::SetParent(Control* parent) {
  if (parent == parent_) return;
  if (parent == this) return;
  if (parent_ != nullptr) {
    if (TForm* form = ParentForm()) form->ForgetControl(this);
    Control* old = parent_;
    if (!IsWindowed() && visible_) old->InvalidateArea(BoundsRect());
    auto& siblings = old->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    parent_ = nullptr;
    ReleasePeer();
    old->ChildRemoved(this);
    if (align_ != Align::None) old->Realign();
  }
  parent_ = parent;
  if (parent_ == nullptr) {
    ParentChanged();
    return;
  }
  windowless_ = !IsWindowed();
  parent_->children_.push_back(this);
  if (parentCtl3D_) ctl3D_ = parent_->ctl3D_;
  if (parentFont_) ParentFontChanged();
  if (parentColor_) ParentColorChanged();
  if (parentShowHint_ && showHint_ != parent_->showHint_) {
    showHint_ = parent_->showHint_;
  }
  if (parent_->peer_ != nullptr) HandleNeeded();
  if (!IsWindowed() && visible_) parent_->InvalidateArea(BoundsRect());
  parent_->ChildAdded(this);
  if (align_ != Align::None) parent_->Realign();
  ParentChanged();
}

void Control::BringToFront() {
  if (parent_ == nullptr) return;
  auto& s = parent_->children_;
  s.erase(std::remove(s.begin(), s.end(), this), s.end());
  s.push_back(this);
  Changed(Change::ZOrder);
}

void Control::SendToBack() {
  if (parent_ == nullptr) return;
  auto& s = parent_->children_;
  s.erase(std::remove(s.begin(), s.end(), this), s.end());
  s.insert(s.begin(), this);
  Changed(Change::ZOrder);
}

TForm* Control::ParentForm() {
  for (Control* c = this; c != nullptr; c = c->parent_)
    if (TForm* f = c->AsForm()) return f;
  return nullptr;
}

// --- bounds ---------------------------------------------------------------

void Control::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const Rect old = BoundsRect();
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (peer_ != nullptr) peer_->Changed(Change::Bounds);
  if (!IsWindowed() && visible_ && parent_ != nullptr) {
    parent_->InvalidateArea(old);
    parent_->InvalidateArea(BoundsRect());
  }
  if (align_ != Align::None && parent_ != nullptr) parent_->Realign();
  if (resized) {
    Resized();
    Realign();
  }
}

// --- state ----------------------------------------------------------------

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
}

void Control::VisibleChanged() {
  if (peer_ != nullptr) peer_->Changed(Change::Visible);
  if (!IsWindowed() && parent_ != nullptr) parent_->InvalidateArea(BoundsRect());
  if (align_ != Align::None && parent_ != nullptr) parent_->Realign();
}

bool Control::Showing() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_) return false;
    if (c->parent_ == nullptr) return c->IsTopLevel();
  }
  return false;
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Change::Enabled);
}

void Control::SetAlign(Align align) {
  if (align == align_) return;
  align_ = align;
  if (parent_ != nullptr) parent_->Realign();
}

std::string Control::DisplayText() const { return StripAccelerators(Caption()); }

void Control::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed(Change::Caption);
}

void Control::SetFont(const Font& font) {
  parentFont_ = false;
  if (font == font_) return;
  font_ = font;
  Changed(Change::Font);
  FontChanged();
  for (Control* c : children_) c->ParentFontChanged();
}

void Control::SetParentFont(bool parentFont) {
  parentFont_ = parentFont;
  if (parentFont_) ParentFontChanged();
}

void Control::ParentFontChanged() {
  if (!parentFont_ || parent_ == nullptr || font_ == parent_->font_) return;
  font_ = parent_->font_;
  Changed(Change::Font);
  FontChanged();
  for (Control* c : children_) c->ParentFontChanged();
}

void Control::SetColor(Color color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  Changed(Change::Color);
  for (Control* c : children_) c->ParentColorChanged();
}

void Control::SetParentColor(bool parentColor) {
  parentColor_ = parentColor;
  if (parentColor_) ParentColorChanged();
}

void Control::ParentColorChanged() {
  if (!parentColor_ || parent_ == nullptr || color_ == parent_->color_) return;
  color_ = parent_->color_;
  Changed(Change::Color);
  for (Control* c : children_) c->ParentColorChanged();
}

void Control::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  if (peer_ != nullptr) peer_->Changed(Change::Hint);
}

void Control::SetShowHint(bool showHint) {
  parentShowHint_ = false;
  if (showHint == showHint_) return;
  showHint_ = showHint;
  NotifyShowHintChanged();
}

void Control::SetParentShowHint(bool parentShowHint) {
  parentShowHint_ = parentShowHint;
  if (parentShowHint_ && parent_ != nullptr && showHint_ != parent_->showHint_) {
    showHint_ = parent_->showHint_;
    NotifyShowHintChanged();
  }
}

void Control::NotifyShowHintChanged() {
  if (peer_ != nullptr) peer_->Changed(Change::Hint);
  for (Control* c : children_) {
    if (c->parentShowHint_ && c->showHint_ != showHint_) {
      c->showHint_ = showHint_;
      c->NotifyShowHintChanged();
    }
  }
}

void Control::SetCtl3D(bool ctl3D) {
  parentCtl3D_ = false;
  if (ctl3D == ctl3D_) return;
  ctl3D_ = ctl3D;
  Changed(Change::Look);
}

void Control::SetParentCtl3D(bool parentCtl3D) {
  parentCtl3D_ = parentCtl3D;
  if (parentCtl3D_ && parent_ != nullptr && ctl3D_ != parent_->ctl3D_) {
    ctl3D_ = parent_->ctl3D_;
    Changed(Change::Look);
  }
}

// --- focus ----------------------------------------------------------------

bool Control::CanFocus() const {
  if (!IsWindowed()) return false;
  for (const Control* c = this; c != nullptr; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

void Control::SetFocus() {
  if (TForm* form = ParentForm()) form->SetActiveControl(this);
}

bool Control::Focused() const {
  TForm* form = const_cast<Control*>(this)->ParentForm();
  return form != nullptr && form->ActiveControl() == this;
}

// --- events ---------------------------------------------------------------

void Control::Click() {
  if (OnClick && EventsAllowed()) OnClick(this);
}

void Control::DoUserClick() { Click(); }

void Control::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
  if (OnMouseDown && EventsAllowed()) OnMouseDown(this, button, shift, x, y);
}

void Control::MouseMove(ShiftState shift, int x, int y) {
  if (OnMouseMove && EventsAllowed()) OnMouseMove(this, shift, x, y);
}

void Control::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
  if (OnMouseUp && EventsAllowed()) OnMouseUp(this, button, shift, x, y);
}

void Control::DoEnter() {
  if (OnEnter && EventsAllowed()) OnEnter(this);
}

void Control::DoExit() {
  if (OnExit && EventsAllowed()) OnExit(this);
}

void Control::UserClick() {
  RunGuarded([this] {
    if (enabled_) DoUserClick();
  }, this);
}

void Control::UserDoubleClick() {
  RunGuarded([this] {
    if (enabled_ && OnDblClick && EventsAllowed()) OnDblClick(this);
  }, this);
}

void Control::UserMouseDown(MouseButton button, ShiftState shift, int x, int y) {
  RunGuarded([&] {
    if (enabled_) MouseDown(button, shift, x, y);
  }, this);
}

void Control::UserMouseMove(ShiftState shift, int x, int y) {
  RunGuarded([&] {
    if (enabled_) MouseMove(shift, x, y);
  }, this);
}

void Control::UserMouseUp(MouseButton button, ShiftState shift, int x, int y) {
  RunGuarded([&] {
    if (enabled_) MouseUp(button, shift, x, y);
  }, this);
}

void Control::UserFocusEnter() {
  RunGuarded([this] {
    if (TForm* form = ParentForm()) form->SetActiveControl(this);
  }, this);
}

void Control::UserFocusExit() {
  RunGuarded([this] {
    if (TForm* form = ParentForm())
      if (form->ActiveControl() == this) form->SetActiveControl(nullptr);
  }, this);
}

// --- backend --------------------------------------------------------------

void Control::HandleNeeded() {
  if (peer_ == nullptr) {
    Backend* backend = Application::Instance().GetBackend();
    if (backend == nullptr) return;
    if (parent_ == nullptr && !IsTopLevel()) return;
    if (parent_ != nullptr && parent_->peer_ == nullptr) {
      parent_->HandleNeeded();
      if (peer_ != nullptr) return;  // the parent realised its children
    }
    peer_ = backend->CreatePeer(*this);
  }
  for (Control* c : children_) c->HandleNeeded();
}

WinHandle Control::Handle() {
  // A control with a peer has peers for all its children already (they get
  // theirs when they are added), so asking for a handle walks nothing.
  if (peer_ == nullptr) HandleNeeded();
  return peer_ != nullptr ? peer_->Handle() : 0;
}

WinHandle Control::MessageWindow() {
  for (Control* c = this; c != nullptr; c = c->parent_)
    if (c->IsWindowed()) return c->Handle();
  return 0;
}

bool Control::OfferToWindowless(Message& message) {
  // The child list may change while a child handles the message.
  const std::vector<Control*> children = children_;
  for (Control* child : children) {
    if (child->IsWindowed()) continue;
    if (std::find(children_.begin(), children_.end(), child) == children_.end()) continue;
    child->DispatchMessage(message);
    if (message.result != 0) return true;
  }
  return false;
}

void Control::WindowedChanged() {
  if (windowless_ == !IsWindowed()) return;
  if (parent_ != nullptr && visible_) parent_->InvalidateArea(BoundsRect());
  windowless_ = !IsWindowed();
  if (peer_ == nullptr) return;
  ReleasePeer();
  if (parent_ != nullptr && parent_->peer_ != nullptr) HandleNeeded();
}

void Control::ReleasePeer() {
  for (Control* c : children_) c->ReleasePeer();
  peer_.reset();
}

void Control::Invalidate() {
  if (!IsWindowed()) {
    if (visible_ && parent_ != nullptr) parent_->InvalidateArea(BoundsRect());
  } else {
    InvalidateArea(ClientRect());
  }
}

void Control::InvalidateArea(const Rect& rect) {
  if (peer_ != nullptr && !rect.Empty()) peer_->Invalidate(rect);
}

void Control::Changed(Change what) {
  if (peer_ != nullptr) peer_->Changed(what);
  if (IsWindowed() || parent_ == nullptr) return;
  switch (what) {
    case Change::Hint:
    case Change::Focus:
    case Change::Parent:
    case Change::Bounds:
      return;
    default:
      if (visible_) parent_->InvalidateArea(BoundsRect());
  }
}

void Control::ChangedArea(Change what, const Rect& area) {
  if (IsWindowed()) {
    Changed(what);
    return;
  }
  if (peer_ != nullptr) peer_->Changed(what);
  if (visible_ && parent_ != nullptr)
    parent_->InvalidateArea(Rect{left_ + area.left, top_ + area.top, left_ + area.right,
                                 top_ + area.bottom});
}

void Control::Loaded() {
  Component::Loaded();
  Realign();
}

void Control::Realign() {
  if (Loading() || aligning_ || tearingDown_) return;
  aligning_ = true;
  AlignChildren();
  aligning_ = false;
}

void Control::AlignChildren() {
  if (std::none_of(children_.begin(), children_.end(),
                   [](const Control* c) { return c->align_ != Align::None; }))
    return;
  Rect area = AlignArea();
  const Align order[] = {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client};
  for (Align a : order) {
    std::vector<Control*> list;
    for (Control* c : children_)
      if (c->visible_ && c->align_ == a) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [a](const Control* x, const Control* y) {
      switch (a) {
        case Align::Top: return x->top_ < y->top_;
        case Align::Bottom: return x->top_ + x->height_ > y->top_ + y->height_;
        case Align::Left: return x->left_ < y->left_;
        case Align::Right: return x->left_ + x->width_ > y->left_ + y->width_;
        default: return false;
      }
    });
    for (Control* c : list) {
      switch (a) {
        case Align::Top:
          c->SetBounds(area.left, area.top, area.Width(), c->height_);
          area.top += c->height_;
          break;
        case Align::Bottom:
          c->SetBounds(area.left, area.bottom - c->height_, area.Width(), c->height_);
          area.bottom -= c->height_;
          break;
        case Align::Left:
          c->SetBounds(area.left, area.top, c->width_, area.Height());
          area.left += c->width_;
          break;
        case Align::Right:
          c->SetBounds(area.right - c->width_, area.top, c->width_, area.Height());
          area.right -= c->width_;
          break;
        case Align::Client:
          c->SetBounds(area.left, area.top, area.Width(), area.Height());
          break;
        default:
          break;
      }
      if (area.bottom < area.top) area.bottom = area.top;
      if (area.right < area.left) area.right = area.left;
    }
  }
}

}  // namespace zentra
