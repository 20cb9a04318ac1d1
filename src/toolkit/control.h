// A visible element of a window: parent and child order, bounds, visibility,
// enabled state, alignment, caption, font, colour, hint, cursor and the
// common mouse and focus events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/component.h"
#include "toolkit/events.h"
#include "toolkit/font.h"
#include "toolkit/types.h"

namespace zentra {

class TForm;

class Control : public Component {
 public:
  explicit Control(Component* owner);
  ~Control() override;
  const char* ClassName() const override { return "TControl"; }

  // --- parent and child order -------------------------------------------
  Control* Parent() const { return parent_; }
  // Appends the control to the new parent's children (null: no parent).
  void SetParent(Control* parent);
  const std::vector<Control*>& Children() const { return children_; }
  int ChildCount() const { return static_cast<int>(children_.size()); }
  void BringToFront();
  void SendToBack();
  // Whether other controls may be put into this one.
  virtual bool AcceptsChildren() const { return false; }
  // Whether the backend gives the control a native window of its own.
  virtual bool IsWindowed() const { return true; }
  // Whether the control is a window of its own without a parent (a form).
  virtual bool IsTopLevel() const { return false; }
  virtual TForm* AsForm() { return nullptr; }
  // The form this control is shown in (itself for a form), or null.
  TForm* ParentForm();

  // --- bounds -------------------------------------------------------------
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  Rect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  // Client area in the control's own coordinates.
  virtual Rect ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }

  // --- state --------------------------------------------------------------
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and all its parents up to the form, which is shown.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  Align GetAlign() const { return align_; }
  void SetAlign(Align align);

  const std::string& Caption() const { return caption_; }
  virtual void SetCaption(const std::string& caption);
  // The caption as the control shows it: '&' marks an accelerator ("&&"
  // shows one ampersand) unless the class shows its text as it is.
  virtual std::string DisplayText() const;

  // Effective font (the parent's while ParentFont is true).
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool parentFont);

  Color GetColor() const { return color_; }
  void SetColor(Color color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool parentColor);

  const std::string& Hint() const { return hint_; }
  virtual void SetHint(const std::string& hint);
  // Effective: the parent's while ParentShowHint is true.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool showHint);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool parentShowHint);

  // Three-dimensional look (the parent's while ParentCtl3D is true).
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool ctl3D);
  bool ParentCtl3D() const { return parentCtl3D_; }
  void SetParentCtl3D(bool parentCtl3D);

  Cursor GetCursor() const { return cursor_; }
  void SetCursor(Cursor cursor) { cursor_ = cursor; }

  // --- focus --------------------------------------------------------------
  virtual bool CanFocus() const;
  void SetFocus();
  bool Focused() const;
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }

  // --- events -------------------------------------------------------------
  NotifyEvent OnClick;
  NotifyEvent OnDblClick;
  NotifyEvent OnEnter;
  NotifyEvent OnExit;
  MouseEvent OnMouseDown;
  MouseMoveEvent OnMouseMove;
  MouseEvent OnMouseUp;

  // Runs the control's click behaviour (OnClick by default).
  virtual void Click();
  // Whether the release of a mouse button at x, y (client coordinates) is a
  // click that a backend reports with UserClick before the release itself:
  // the left button released on the control. Controls that click in their
  // own release handling (speed buttons) answer false.
  virtual bool ReleaseIsClick(MouseButton button, int x, int y) const {
    return button == MouseButton::Left && x >= 0 && y >= 0 && x < width_ && y < height_;
  }
  // Push buttons answer Enter (default) and Esc (cancel) for their form.
  virtual bool IsDefaultButton() const { return false; }
  virtual bool IsCancelButton() const { return false; }
  virtual bool IsButton() const { return false; }

  // --- user input (called by the backends) --------------------------------
  // Each of these reports escaping exceptions through the application.
  void UserClick();
  void UserDoubleClick();
  void UserMouseDown(MouseButton button, ShiftState shift, int x, int y);
  void UserMouseMove(ShiftState shift, int x, int y);
  void UserMouseUp(MouseButton button, ShiftState shift, int x, int y);
  void UserFocusEnter();
  void UserFocusExit();

  // --- backend ------------------------------------------------------------
  ControlPeer* Peer() const { return peer_.get(); }
  // Creates the peer (and those of the children) if not done yet.
  void HandleNeeded();
  bool HandleAllocated() const { return peer_ != nullptr; }
  // The native window handle (created on demand); 0 for windowless controls.
  WinHandle Handle();
  // Handles a message sent or posted to the control's own window. Forms
  // run their per-message handlers; other controls offer it to their
  // windowless children (see OfferToWindowless) unless they handle some
  // messages of their own.
  virtual void DispatchMessage(Message& message) { OfferToWindowless(message); }
  // The window that messages posted for this control go to: its own, or for
  // a windowless control that of its nearest windowed ancestor (0: none).
  WinHandle MessageWindow();
  // Asks for the whole control to be repainted.
  void Invalidate();
  // Asks for a rectangle of this control's client area to be repainted.
  void InvalidateArea(const Rect& rect);
  // Re-applies alignment of the children (after a size or visibility change).
  void Realign();
  // Whether this control or one of its parents is being destroyed.
  bool Going() const;

 protected:
  // Overridable reactions to input; the User* methods call these.
  virtual void DoUserClick();
  virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
  virtual void MouseMove(ShiftState shift, int x, int y);
  virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);
  virtual void DoEnter();
  virtual void DoExit();

  // Tells the peer about a change; windowless controls also invalidate their
  // rectangle in the parent for changes that alter their look.
  void Changed(Change what);
  // The same for a change that alters only part of a windowless control's
  // look: only that area (in the control's own coordinates) is repainted.
  void ChangedArea(Change what, const Rect& area);
  // Calls an event unless the component is still loading.
  bool EventsAllowed() const { return !Loading(); }
  void Loaded() override;
  virtual void ParentFontChanged();
  // Called after the effective font changed.
  virtual void FontChanged() {}
  virtual void ParentColorChanged();
  // Area of the client that aligned children may fill.
  virtual Rect AlignArea() const { return ClientRect(); }
  // Called after the bounds changed.
  virtual void Resized() {}
  // A control was put into or taken out of this one.
  virtual void ChildAdded(Control* child) {}
  virtual void ChildRemoved(Control* child) {}
  // This control was put into a new parent or taken out of its parent.
  virtual void ParentChanged() {}
  // The answer of IsWindowed() changed: the control's area is repainted and
  // its native counterparts (and its children's) are made anew.
  void WindowedChanged();
  // Called after Visible changed: tells the peer, repaints, realigns.
  virtual void VisibleChanged();
  // A message that arrived at this control's window and that windowless
  // controls in it may be waiting for: offered to the windowless children
  // (and theirs) in child order until one answers with a result other than
  // 0. True when one did.
  bool OfferToWindowless(Message& message);
  friend class TForm;

 private:
  void AlignChildren();
  void ReleasePeer();
  void NotifyShowHintChanged();

  Control* parent_ = nullptr;
  std::vector<Control*> children_;
  std::unique_ptr<ControlPeer> peer_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  Align align_ = Align::None;
  std::string caption_;
  Font font_;
  bool parentFont_ = true;
  Color color_ = clBtnFace;
  bool parentColor_ = false;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  Cursor cursor_ = Cursor::Default;
  bool ctl3D_ = true;
  bool parentCtl3D_ = true;
  int tabOrder_ = -1;
  bool tabStop_ = false;
  bool aligning_ = false;
  bool tearingDown_ = false;
  bool windowless_ = false;
};

// Windowless controls are painted by their parent.
class GraphicControl : public Control {
 public:
  explicit GraphicControl(Component* owner) : Control(owner) {}
  bool IsWindowed() const override { return false; }
  bool CanFocus() const override { return false; }
};

}  // namespace zentra
