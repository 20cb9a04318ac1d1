#include "toolkit/win32/win32_api.h"
#include "toolkit/win32/win32_peer.h"

#include "platform/text_encoding.h"
#include "toolkit/form.h"
#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/win32_form_style.h"

namespace zentra {

LRESULT CALLBACK NativeSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  Win32Backend* backend = Win32Backend::Current();
  Win32Peer* peer = backend != nullptr ? backend->PeerOf(window) : nullptr;
  if (peer == nullptr || peer->nativeProc_ == nullptr) return DefWindowProcA(window, msg, wParam, lParam);
  Win32Backend::DispatchScope dispatching(*backend);
  // The model may destroy this control from inside the calls below; keep
  // what is needed afterwards on the stack.
  const WNDPROC native = peer->nativeProc_;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(native));
    peer->WindowDestroyed(window);
    return CallWindowProcA(native, window, msg, wParam, lParam);
  }
  const LRESULT result = CallWindowProcA(native, window, msg, wParam, lParam);
  if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
    if (Win32Peer* still = backend->PeerOf(window))
      still->OnNativeFocus(msg == WM_SETFOCUS, reinterpret_cast<HWND>(wParam));
  }
  return result;
}

Win32Peer::Win32Peer(Win32Backend& backend, Control& control)
    : backend_(backend),
      control_(control),
      role_(control.IsTopLevel()   ? PeerRole::Form
            : control.IsWindowed() ? PeerRole::Window
                                   : PeerRole::Windowless),
      adapter_(Win32AdapterRegistry::Instance().For(control)) {
  Create();
}

Win32Peer::~Win32Peer() {
  backend_.ForgetMouseTarget(&control_);
  if (role_ != PeerRole::Form) RemoveHint();
  if (window_ == nullptr) return;
  HWND window = window_;
  if (nativeProc_ != nullptr) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nativeProc_));
    nativeProc_ = nullptr;
  }
  if (companion_ != nullptr) backend_.Unregister(companion_);
  backend_.Unregister(window);
  backend_.ForgetRepaints(window);
  window_ = nullptr;
  DestroyWindow(window);
}

void Win32Peer::WindowDestroyed(HWND window) {
  // Destroyed by the platform (not through this peer): forget the handle.
  if (window == companion_) {
    companion_ = nullptr;
  } else if (window == window_) {
    if (companion_ != nullptr) backend_.Unregister(companion_);
    companion_ = nullptr;
    RemoveHint();
    window_ = nullptr;
    nativeProc_ = nullptr;
    tooltip_ = nullptr;
  }
  backend_.Unregister(window);
  backend_.ForgetRepaints(window);
}

void Win32Peer::AttachWindow(HWND window) {
  window_ = window;
  backend_.Register(window, this);
}

// --- creation -------------------------------------------------------------

void Win32Peer::Create() {
  ApplyingScope applying(applying_);
  if (Control* parent = control_.Parent()) ContentChanged(*parent);
  if (role_ == PeerRole::Windowless) {
    UpdateHint();
    return;
  }
  if (role_ == PeerRole::Form)
    CreateTopLevel();
  else
    CreateChild();
  if (window_ == nullptr) return;
  ApplyAll();
}

void Win32Peer::CreateTopLevel() {
  TForm* form = control_.AsForm();
  const FormWindowStyle style = FormStyleOf(form->GetBorderStyle());
  // Forms are top-level windows of their own: owned windows would be tied
  // to their owner's z-order, minimising and destruction, which the
  // program's windows are not.
  HWND owner = nullptr;
  const std::string caption = Utf8ToCp1252(control_.Caption());
  CreateWindowExA(style.exStyle, Win32Backend::FormClassName(), caption.c_str(), style.style,
                  control_.Left(), control_.Top(), control_.Width(), control_.Height(), owner,
                  nullptr, backend_.Instance(), this);
}

void Win32Peer::CreateChild() {
  POINT offset{0, 0};
  HWND parent = NativeParent(offset);
  if (parent == nullptr) return;
  const NativeWindowSpec native = adapter_.WindowSpec(control_);
  controlId_ = backend_.NextControlId();
  const std::string caption = adapter_.Caption() == CaptionPlace::WindowText
                                  ? Utf8ToCp1252(control_.Caption())
                                  : std::string();
  HWND window = CreateWindowExA(
      native.exStyle, native.className, caption.c_str(), native.style | WS_CHILD | WS_CLIPSIBLINGS,
      control_.Left() + offset.x, control_.Top() + offset.y, control_.Width(),
      adapter_.WindowHeight(control_), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId_)), backend_.Instance(), this);
  if (window == nullptr) return;
  if (window_ == nullptr) AttachWindow(window);  // system classes do not see our create data
  if (!IsMyContainer()) {
    nativeProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NativeSubclassProc)));
  }
  companion_ = adapter_.CreateCompanion(control_, window, backend_.Instance());
  if (companion_ != nullptr) backend_.Register(companion_, this);
}

bool Win32Peer::IsMyContainer() const {
  return role_ == PeerRole::Form || adapter_.IsContainerWindow();
}

void Win32Peer::ContentChanged(Control& container) {
  auto* peer = static_cast<Win32Peer*>(container.Peer());
  if (peer != nullptr && peer->window_ != nullptr)
    peer->adapter_.ContentChanged(container, peer->window_);
}

HWND Win32Peer::NativeParent(POINT& offset) const {
  offset = {0, 0};
  for (Control* parent = control_.Parent(); parent != nullptr; parent = parent->Parent()) {
    auto* peer = static_cast<Win32Peer*>(parent->Peer());
    if (peer != nullptr && peer->window_ != nullptr) {
      return peer->window_;
    }
    offset.x += parent->Left();
    offset.y += parent->Top();
  }
  return nullptr;
}

void Win32Peer::ApplyAll() {
  ApplyFont();
  EnableWindow(window_, control_.Enabled() ? TRUE : FALSE);
  if (role_ == PeerRole::Form) {
    ApplyIcon();
  } else {
    ApplyZOrder();
    for (Change what : {Change::State, Change::Items, Change::ItemIndex, Change::Range,
                        Change::ActivePage, Change::Look})
      adapter_.Apply(control_, window_, what);
  }
  ApplyVisible();
  UpdateHint();
}

// --- model -> window ------------------------------------------------------

void Win32Peer::Changed(Change what) {
  if ((what == Change::Bounds || what == Change::Visible) && control_.Parent() != nullptr)
    ContentChanged(*control_.Parent());
  if (window_ == nullptr) {
    // Windowless: the model invalidates the parent; only the tool follows.
    if (what == Change::Hint || what == Change::Bounds) UpdateHint();
    return;
  }
  ApplyingScope applying(applying_);
  switch (what) {
    case Change::Bounds:
      ApplyBounds();
      adapter_.Apply(control_, window_, what);
      break;
    case Change::Visible: ApplyVisible(); break;
    case Change::Enabled:
      EnableWindow(window_, control_.Enabled() ? TRUE : FALSE);
      if (companion_ != nullptr) EnableWindow(companion_, control_.Enabled() ? TRUE : FALSE);
      InvalidateRect(window_, nullptr, TRUE);
      break;
    case Change::Caption: ApplyCaption(); break;
    case Change::Font: ApplyFont(); break;
    case Change::Color:
      InvalidateRect(window_, nullptr, TRUE);
      if (companion_ != nullptr) InvalidateRect(companion_, nullptr, TRUE);
      break;
    case Change::Focus:
      if (GetFocus() != window_) SetFocus(window_);
      break;
    case Change::ZOrder: ApplyZOrder(); break;
    case Change::Parent: break;  // the model re-creates the peer
    case Change::Icon: ApplyIcon(); break;
    case Change::WindowState: ApplyWindowState(); break;
    case Change::Look:
      ApplyLook();
      adapter_.Apply(control_, window_, what);
      break;
    case Change::Hint: UpdateHint(); break;
    default:
      adapter_.Apply(control_, window_, what);
      if (IsMyContainer()) InvalidateRect(window_, nullptr, TRUE);
      break;
  }
}

void Win32Peer::Invalidate(const Rect& rect) {
  if (window_ != nullptr) {
    ++backend_.Statistics().invalidations;
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    backend_.AddRepaint(window_, r);
    return;
  }
  // A windowless container: its windowed ancestor repaints the area.
  if (Control* parent = control_.Parent()) {
    parent->InvalidateArea(Rect{rect.left + control_.Left(), rect.top + control_.Top(),
                                rect.right + control_.Left(), rect.bottom + control_.Top()});
  }
}

void Win32Peer::ApplyBounds() {
  if (role_ == PeerRole::Form) {
    if (IsIconic(window_) || IsZoomed(window_)) {
      WINDOWPLACEMENT placement{};
      placement.length = sizeof(placement);
      GetWindowPlacement(window_, &placement);
      placement.rcNormalPosition = {control_.Left(), control_.Top(),
                                    control_.Left() + control_.Width(),
                                    control_.Top() + control_.Height()};
      SetWindowPlacement(window_, &placement);
    } else {
      SetWindowPos(window_, nullptr, control_.Left(), control_.Top(), control_.Width(),
                   control_.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      // The platform may refuse a size (the form's size limits): the model
      // takes the size the window really has.
      RECT r;
      GetWindowRect(window_, &r);
      if (r.left != control_.Left() || r.top != control_.Top() ||
          r.right - r.left != control_.Width() || r.bottom - r.top != control_.Height())
        control_.SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    return;
  }
  POINT offset{0, 0};
  NativeParent(offset);
  const int height = adapter_.WindowHeight(control_);
  SetWindowPos(window_, nullptr, control_.Left() + offset.x, control_.Top() + offset.y,
               control_.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (companion_ != nullptr)
    SetWindowPos(companion_, nullptr, 0, 0, control_.Width(), control_.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  // Windowed children of windowless ancestors keep their place.
  for (Control* child : control_.Children())
    if (child->Peer() != nullptr && !child->IsWindowed() && child->AcceptsChildren())
      child->Peer()->Changed(Change::Bounds);
  if (adapter_.ChildrenFollowBounds()) {
    for (Control* child : control_.Children())
      if (child->Peer() != nullptr) child->Peer()->Changed(Change::Bounds);
  }
}

void Win32Peer::ApplyVisible() {
  if (role_ == PeerRole::Form) {
    if (!control_.Visible()) {
      ShowWindow(window_, SW_HIDE);
      return;
    }
    switch (control_.AsForm()->GetWindowState()) {
      case WindowState::Minimized: ShowWindow(window_, SW_SHOWMINIMIZED); break;
      case WindowState::Maximized: ShowWindow(window_, SW_SHOWMAXIMIZED); break;
      case WindowState::Normal:
        ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
        break;
    }
    return;
  }
  ShowWindow(window_, control_.Visible() ? SW_SHOWNA : SW_HIDE);
}

void Win32Peer::ApplyCaption() {
  const std::string text = Utf8ToCp1252(control_.Caption());
  if (adapter_.Caption() == CaptionPlace::Companion) {
    if (companion_ != nullptr) SetWindowTextA(companion_, text.c_str());
  } else if (adapter_.Caption() == CaptionPlace::Painted) {
    InvalidateRect(window_, nullptr, TRUE);
  } else {
    // Text the user has just typed comes back from the model unchanged;
    // setting it again would move the caret to the start.
    const int length = GetWindowTextLengthA(window_);
    std::string shown(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window_, &shown[0], length + 1);
    shown.resize(static_cast<size_t>(length));
    if (shown != text) SetWindowTextA(window_, text.c_str());
  }
}

void Win32Peer::ApplyFont() {
  HFONT font = backend_.Resources().FontFor(control_.GetFont());
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (companion_ != nullptr) SendMessageA(companion_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (IsMyContainer()) InvalidateRect(window_, nullptr, TRUE);
}

void Win32Peer::ApplyZOrder() {
  // The model's later children are in front; a window goes just behind the
  // next windowed sibling that follows it, or to the top.
  Control* parent = control_.Parent();
  if (parent == nullptr) return;
  const auto& siblings = parent->Children();
  HWND insertAfter = HWND_TOP;
  bool after = false;
  for (Control* sibling : siblings) {
    if (sibling == &control_) {
      after = true;
      continue;
    }
    if (!after) continue;
    auto* peer = static_cast<Win32Peer*>(sibling->Peer());
    if (peer != nullptr && peer->window_ != nullptr) {
      insertAfter = peer->window_;
      break;
    }
  }
  SetWindowPos(window_, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Peer::ApplyLook() {
  if (role_ == PeerRole::Form) {
    const FormWindowStyle style = FormStyleOf(control_.AsForm()->GetBorderStyle());
    const LONG_PTR keep = GetWindowLongPtrA(window_, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED |
                                                                    WS_MINIMIZE | WS_MAXIMIZE);
    SetWindowLongPtrA(window_, GWL_STYLE, static_cast<LONG_PTR>(style.style) | keep);
    SetWindowLongPtrA(window_, GWL_EXSTYLE, static_cast<LONG_PTR>(style.exStyle));
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  InvalidateRect(window_, nullptr, TRUE);
}

void Win32Peer::ApplyWindowState() {
  if (role_ != PeerRole::Form || !control_.Visible()) return;
  switch (control_.AsForm()->GetWindowState()) {
    case WindowState::Minimized: ShowWindow(window_, SW_MINIMIZE); break;
    case WindowState::Maximized: ShowWindow(window_, SW_MAXIMIZE); break;
    case WindowState::Normal:
      if (IsIconic(window_) || IsZoomed(window_)) ShowWindow(window_, SW_RESTORE);
      break;
  }
}

void Win32Peer::ApplyIcon() {
  if (role_ != PeerRole::Form) return;
  const LPARAM icon = static_cast<LPARAM>(control_.AsForm()->Icon());
  SendMessageA(window_, WM_SETICON, ICON_BIG, icon);
  SendMessageA(window_, WM_SETICON, ICON_SMALL, icon);
}

// --- native notifications -> model ------------------------------------------

void Win32Peer::OnCommand(WORD code) {
  if (applying_ > 0) return;
  adapter_.Command(control_, window_, code);
}

LRESULT Win32Peer::OnNotify(const NMHDR& header) {
  if (applying_ > 0) return 0;
  return adapter_.Notify(control_, window_, header);
}

void Win32Peer::OnScroll() {
  if (applying_ > 0) return;
  adapter_.Scroll(control_, window_);
}

HBRUSH Win32Peer::OnControlColor(HDC dc) {
  SetTextColor(dc, ResolveColor(control_.GetFont().color));
  SetBkColor(dc, ResolveColor(control_.GetColor()));
  SetBkMode(dc, OPAQUE);
  return backend_.Resources().BrushFor(control_.GetColor());
}

void Win32Peer::OnNativeFocus(bool gained, HWND other) {
  if (applying_ > 0) return;
  if (gained) {
    control_.UserFocusEnter();
    return;
  }
  // Focus that leaves the window altogether (another program, another
  // window) is not a focus change inside the form.
  HWND root = GetAncestorRoot(window_);
  if (other != nullptr && GetAncestorRoot(other) == root) control_.UserFocusExit();
}

void Win32Peer::DefaultHandler(Message& message) {
  if (window_ == nullptr) return;
  if (message.msg == WM_CLOSE) {
    // The platform would destroy the window; the model decides instead.
    if (TForm* form = control_.AsForm()) form->Close();
    return;
  }
  message.result = DefWindowProcA(window_, message.msg, message.wParam, message.lParam);
}

}  // namespace zentra
