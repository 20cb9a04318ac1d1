#include "toolkit/form.h"

#include <algorithm>
#include <stdexcept>

#include "toolkit/application.h"
#include "toolkit/loader.h"

namespace zentra {

TForm::TForm(Component* owner) : Control(owner) {
  visible_ = false;
  SetBounds(0, 0, 320, 240);
}

TForm::~TForm() = default;

void TForm::CreateFromDescription(const std::string& fileName) {
  LoadWindowDescription(*this, fileName);
  FinishCreation();
}

void TForm::CreateFromDescription(const std::string& fileName, const DescriptionParameters& parameters) {
  LoadWindowDescription(*this, fileName, parameters);
  FinishCreation();
}

void TForm::CreateFromDescriptionText(const std::string& fileName, const std::string& text) {
  LoadWindowDescriptionText(*this, fileName, text);
  FinishCreation();
}

void TForm::FinishCreation() {
  DoCreate();
  // A description that leaves the window visible shows it once it is created.
  if (Visible()) {
    visible_ = false;
    SetVisible(true);
  }
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TForm::BeforeDestruction() {
  if (OnDestroy) OnDestroy(this);
  Control::BeforeDestruction();
}

// --- look and placement ---------------------------------------------------

Size TForm::FrameExtent() const {
  Backend* backend = Application::Instance().GetBackend();
  return backend != nullptr ? backend->FrameExtent(*this) : Size{};
}

Rect TForm::ClientRect() const {
  Size frame = FrameExtent();
  return {0, 0, std::max(0, Width() - frame.width), std::max(0, Height() - frame.height)};
}

void TForm::SetClientWidth(int width) { SetWidth(width + FrameExtent().width); }

void TForm::SetClientHeight(int height) { SetHeight(height + FrameExtent().height); }

void TForm::SetBorderStyle(BorderStyle style) {
  if (style == borderStyle_) return;
  const int cw = ClientWidth(), ch = ClientHeight();
  borderStyle_ = style;
  Changed(Change::Look);
  Size frame = FrameExtent();
  SetBounds(Left(), Top(), cw + frame.width, ch + frame.height);
}

void TForm::SetIcon(WinHandle icon) {
  if (icon == icon_) return;
  icon_ = icon;
  Changed(Change::Icon);
}

void TForm::SetWindowState(WindowState state) {
  if (state == windowState_) return;
  windowState_ = state;
  Changed(Change::WindowState);
}

void TForm::CentreOnScreen() {
  Backend* backend = Application::Instance().GetBackend();
  if (backend == nullptr) return;
  Size screen = backend->ScreenSize();
  SetBounds((screen.width - Width()) / 2, (screen.height - Height()) / 2, Width(), Height());
}

void TForm::Resized() { Realign(); }

// --- showing and closing ----------------------------------------------------

void TForm::SetVisible(bool visible) {
  if (visible && !Visible() && !Loading()) HandleNeeded();
  Control::SetVisible(visible);
}

void TForm::VisibleChanged() {
  if (Loading()) return;  // shown, if at all, once the window is created
  ReleaseDeferral keep(*this);  // the handlers may let messages through
  if (Visible()) {
    if (position_ == FormPosition::ScreenCenter) CentreOnScreen();
    HandleNeeded();
    if (OnShow && EventsAllowed()) OnShow(this);
    Control::VisibleChanged();
  } else {
    Control::VisibleChanged();
    if (OnHide && EventsAllowed()) OnHide(this);
  }
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  CloseAction action = CloseAction::Hide;
  if (OnClose) OnClose(this, action);
  switch (action) {
    case CloseAction::None:
      break;
    case CloseAction::Hide:
      Hide();
      break;
    case CloseAction::Minimize:
      SetWindowState(WindowState::Minimized);
      break;
    case CloseAction::Free:
      Release();
      break;
  }
}

ModalResult TForm::ShowModal() {
  Backend* backend = Application::Instance().GetBackend();
  if (backend == nullptr) throw std::logic_error("ShowModal: no user interface backend");
  if (Visible() || modal_) throw std::logic_error("Ein sichtbares Fenster kann nicht modal gemacht werden");
  modal_ = true;
  modalResult_ = mrNone;
  try {
    Show();
    backend->RunModalLoop(*this);
  } catch (...) {
    modal_ = false;
    Hide();
    throw;
  }
  modal_ = false;
  Hide();
  return modalResult_;
}

bool TForm::ModalLoopDone() {
  if (Application::Instance().Terminated()) {
    modalResult_ = mrCancel;
    return true;
  }
  if (modalResult_ == mrNone) return false;
  CloseAction action = CloseAction::Hide;
  if (OnClose) OnClose(this, action);
  if (action == CloseAction::None) modalResult_ = mrNone;
  return modalResult_ != mrNone;
}

TForm::ReleaseDeferral::~ReleaseDeferral() {
  if (--form_.releaseDeferrals_ > 0 || !form_.releasePending_) return;
  form_.releasePending_ = false;
  const WinHandle handle = form_.HandleAllocated() ? form_.Handle() : 0;
  if (handle != 0) PostMessageToWindow(handle, CM_RELEASE, 0, 0);
}

void TForm::FreeWhenIdle() {
  if (releaseDeferrals_ > 0) {
    releasePending_ = true;
    return;
  }
  Free(this);
}

void TForm::Release() {
  WinHandle handle = Handle();
  if (handle == 0 || !PostMessageToWindow(handle, CM_RELEASE, 0, 0)) {
    throw std::logic_error("Release: the window has no message queue");
  }
}

// --- messages -------------------------------------------------------------------

void TForm::SetMessageHandler(std::uint32_t msg, MessageHandler handler) {
  if (handler)
    messageHandlers_[msg] = std::move(handler);
  else
    messageHandlers_.erase(msg);
}

void TForm::DispatchMessage(Message& message) {
  if (message.msg == CM_RELEASE) {
    if (releaseDeferrals_ > 0) {
      releasePending_ = true;
      return;
    }
    Free(this);
    return;
  }
  RunGuarded([&] {
    auto it = messageHandlers_.find(message.msg);
    if (it != messageHandlers_.end()) {
      MessageHandler handler = it->second;  // the handler may replace itself
      handler(message);
    } else if (!(message.msg >= WM_USER && message.msg < 0xC000 && OfferToWindowless(message))) {
      // The program's own messages without a handler of the form may be
      // meant for a windowless control on it (a meter's own timer tick).
      DefaultHandler(message);
    }
  }, this);
}

std::intptr_t TForm::Perform(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  Message m{msg, wParam, lParam, 0};
  auto it = messageHandlers_.find(msg);
  if (it != messageHandlers_.end()) {
    MessageHandler handler = it->second;
    handler(m);
  } else {
    DefaultHandler(m);
  }
  return m.result;
}

void TForm::DefaultHandler(Message& message) {
  if (Peer() != nullptr) Peer()->DefaultHandler(message);
}

// --- focus and keyboard --------------------------------------------------------

void TForm::SetActiveControl(Control* control) {
  if (control == this) control = nullptr;
  if (control == active_) return;
  active_ = control;
  const unsigned serial = ++focusSerial_;
  if (entered_ != nullptr && entered_ != control) {
    Control* old = entered_;
    entered_ = nullptr;
    old->DoExit();
    if (serial != focusSerial_) return;  // the exit handler moved the focus itself
  }
  if (control != nullptr && entered_ != control) {
    entered_ = control;
    if (control->Peer() != nullptr) control->Peer()->Changed(Change::Focus);
    control->DoEnter();
  }
}

void TForm::ForgetControl(Control* control) {
  if (active_ == control) active_ = nullptr;
  if (entered_ == control) entered_ = nullptr;
}

namespace {

void CollectTabOrder(Control* parent, std::vector<Control*>& out) {
  std::vector<Control*> kids = parent->Children();
  std::stable_sort(kids.begin(), kids.end(), [](const Control* a, const Control* b) {
    int ta = a->TabOrder() < 0 ? 1 << 30 : a->TabOrder();
    int tb = b->TabOrder() < 0 ? 1 << 30 : b->TabOrder();
    return ta < tb;
  });
  for (Control* c : kids) {
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->TabStop() && c->CanFocus()) out.push_back(c);
    if (c->AcceptsChildren()) CollectTabOrder(c, out);
  }
}

Control* FindButton(Control* parent, bool wantDefault) {
  for (Control* c : parent->Children()) {
    if (!c->Visible() || !c->Enabled()) continue;
    if (wantDefault ? c->IsDefaultButton() : c->IsCancelButton()) return c;
    if (c->AcceptsChildren())
      if (Control* found = FindButton(c, wantDefault)) return found;
  }
  return nullptr;
}

}  // namespace

std::vector<Control*> TForm::TabOrderList() {
  std::vector<Control*> list;
  CollectTabOrder(this, list);
  return list;
}

bool TForm::UserKeyDown(std::uint16_t key, ShiftState shift) {
  bool used = false;
  RunGuarded([&] {
    if (OnKeyDown && EventsAllowed()) {
      OnKeyDown(this, key, shift);
      if (key == 0) {
        used = true;
        return;
      }
    }
    if (key == VK_RETURN) {
      Control* target = (active_ != nullptr && active_->IsButton()) ? active_ : FindButton(this, true);
      if (target != nullptr) {
        target->UserClick();
        used = true;
      }
    } else if (key == VK_ESCAPE) {
      if (Control* target = FindButton(this, false)) {
        target->UserClick();
        used = true;
      }
    } else if (key == VK_TAB) {
      std::vector<Control*> list = TabOrderList();
      if (list.empty()) return;
      auto it = std::find(list.begin(), list.end(), active_);
      int n = static_cast<int>(list.size());
      int index = it == list.end() ? -1 : static_cast<int>(it - list.begin());
      int next = (shift & ssShift) != 0 ? (index <= 0 ? n - 1 : index - 1) : (index + 1) % n;
      SetActiveControl(list[next]);
      used = true;
    }
  }, this);
  return used;
}

void TForm::UserCloseRequest() {
  RunGuarded([this] { Close(); }, this);
}

void TForm::UserActivate(bool active) {
  RunGuarded([&] {
    if (active == active_form_) return;
    active_form_ = active;
    if (active && OnActivate && EventsAllowed()) OnActivate(this);
    if (!active && OnDeactivate && EventsAllowed()) OnDeactivate(this);
  }, this);
}

void TForm::UserMoved(int left, int top) {
  RunGuarded([&] { SetBounds(left, top, Width(), Height()); }, this);
}

void TForm::UserResized(int width, int height) {
  RunGuarded([&] { SetBounds(Left(), Top(), width, height); }, this);
}

}  // namespace zentra
