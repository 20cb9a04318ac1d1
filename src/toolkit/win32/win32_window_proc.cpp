// Messages of the program's own windows (forms and containers): routing of
// native children's notifications, mouse input for the model, and the
// form's messages handed to its handlers.

#include "toolkit/win32/win32_api.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/win32_peer.h"

namespace zentra {
namespace {

// Messages a form hands to its model's handlers (with the platform's default
// processing as fallback): the program's own messages and the few system
// messages that windows of this program react to.
bool RoutedToForm(UINT msg) {
  switch (msg) {
    case WM_CLOSE:
    case WM_SYSCOMMAND:
    case WM_GETMINMAXINFO:
    case WM_DEVICECHANGE:
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return true;
    default:
      return msg >= WM_USER && msg < 0xC000;
  }
}

ShiftState ShiftOf(WPARAM keys) {
  ShiftState shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

}  // namespace

HWND GetAncestorRoot(HWND window) {
  // GetAncestor is missing on the oldest systems this program runs on.
  while (window != nullptr && (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0) {
    HWND parent = GetParent(window);
    if (parent == nullptr) break;
    window = parent;
  }
  return window;
}

LRESULT CALLBACK ZentraWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  Win32Backend* backend = Win32Backend::Current();
  if (msg == WM_NCCREATE && backend != nullptr) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    if (auto* peer = static_cast<Win32Peer*>(create->lpCreateParams)) peer->AttachWindow(window);
  }
  if (backend != nullptr && msg == backend->StatisticsMessage() && msg != 0)
    return backend->AnswerStatistics(wParam);
  Win32Peer* peer = backend != nullptr ? backend->PeerOf(window) : nullptr;
  if (peer != nullptr && msg == WM_NCDESTROY) {
    peer->WindowDestroyed(window);
    return DefWindowProcA(window, msg, wParam, lParam);
  }
  if (peer == nullptr || peer->Window() != window) return DefWindowProcA(window, msg, wParam, lParam);
  Win32Backend::DispatchScope dispatching(*backend);
  return peer->HandleWindowMessage(window, msg, wParam, lParam);
}

LRESULT Win32Peer::HandleWindowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  Win32Backend& backend = backend_;
  switch (msg) {
    case WM_COMMAND:
      if (lParam != 0) {
        if (Win32Peer* child = backend.PeerOf(reinterpret_cast<HWND>(lParam)))
          child->OnCommand(HIWORD(wParam));
        return 0;
      }
      // Commands of the dialog manager (IDOK/IDCANCEL without a control) are
      // ignored: Enter and Esc reach the model as keys. Menu commands go to
      // the form's handlers.
      if (HIWORD(wParam) == 0 && LOWORD(wParam) > IDCANCEL && role_ == PeerRole::Form) break;
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (Win32Peer* child = backend.PeerOf(header->hwndFrom)) return child->OnNotify(*header);
      return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lParam != 0) {
        if (Win32Peer* child = backend.PeerOf(reinterpret_cast<HWND>(lParam))) child->OnScroll();
        return 0;
      }
      if (adapter_.OwnScroll(control_, msg, wParam)) return 0;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (Win32Peer* child = backend.PeerOf(reinterpret_cast<HWND>(lParam))) {
        // The group box frame takes the colours of its own container.
        return reinterpret_cast<LRESULT>(child->OnControlColor(reinterpret_cast<HDC>(wParam)));
      }
      break;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(window, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, backend.Resources().BrushFor(control_.GetColor()));
      return 1;
    }
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      return HandleMouse(msg, wParam, lParam);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) backend.ForgetMouseTarget(nullptr);
      return 0;
    default:
      break;
  }
  if (role_ != PeerRole::Form) {
    // Messages posted to a control's own window (a level meter's decay tick).
    if (msg >= WM_USER && msg < 0xC000) {
      Message message{msg, static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam), 0};
      Control& control = control_;
      RunGuarded([&] { control.DispatchMessage(message); }, &control);  // may free this peer
      return message.result;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
  }

  TForm& form = *control_.AsForm();
  switch (msg) {
    case WM_ACTIVATE: {
      const bool active = LOWORD(wParam) != WA_INACTIVE;
      form.UserActivate(active);
      if (!active || backend.PeerOf(window) != this) return 0;
      // Give the focus back to the control that had it.
      if (Control* focused = form.ActiveControl())
        if (HWND target = reinterpret_cast<HWND>(focused->Handle())) {
          SetFocus(target);
          return 0;
        }
      return DefWindowProcA(window, msg, wParam, lParam);
    }
    case WM_NEXTDLGCTL: {
      // The dialog manager's focus moves (arrow keys, and Tab where the
      // model has no tab order of its own).
      HWND target = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                         : GetNextDlgTabItem(window, GetFocus(), wParam != 0);
      if (target != nullptr) SetFocus(target);
      return 0;
    }
    case WM_ACTIVATEAPP:
      Application::Instance().UserActivateApp(wParam != 0);
      return 0;
    case WM_MOVE:
    case WM_SIZE: {
      if (applying_ > 0) return 0;
      if (msg == WM_SIZE) {
        ApplyingScope applying(applying_);
        if (wParam == SIZE_MINIMIZED) {
          form.SetWindowState(WindowState::Minimized);
          return 0;
        }
        form.SetWindowState(wParam == SIZE_MAXIMIZED ? WindowState::Maximized
                                                     : WindowState::Normal);
      }
      if (IsIconic(window)) return 0;
      RECT r;
      GetWindowRect(window, &r);
      {
        ApplyingScope applying(applying_);
        if (msg == WM_MOVE)
          form.UserMoved(r.left, r.top);
        else
          form.UserResized(r.right - r.left, r.bottom - r.top);
      }
      return 0;
    }
    default:
      break;
  }
  if (msg == WM_COMMAND || RoutedToForm(msg) || form.HasMessageHandler(msg)) {
    Message message{msg, static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam), 0};
    form.DispatchMessage(message);  // may free the form and this peer
    return message.result;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

Control* Win32Peer::WindowlessChildAt(int x, int y) const {
  // The deepest windowless control under the point: windowless containers
  // (a meter with its segments) hand the point on to their children.
  Control* found = nullptr;
  const Control* parent = &control_;
  for (;;) {
    Control* hit = nullptr;
    const auto& children = parent->Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      Control* child = *it;
      if (child->IsWindowed() || !child->Visible()) continue;
      if (child->BoundsRect().Contains(x, y)) {
        hit = child;
        break;
      }
    }
    if (hit == nullptr) return found;
    found = hit;
    parent = hit;
    x -= hit->Left();
    y -= hit->Top();
  }
}

LRESULT Win32Peer::HandleMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  ShiftState shift = ShiftOf(wParam);
  // The model may free this container from inside its events: only locals
  // are used after the calls into it.
  Win32Backend& backend = backend_;
  HWND window = window_;
  Control* target = backend.MouseTarget();
  if (target == nullptr) {
    target = WindowlessChildAt(x, y);
    if (target == nullptr) target = &control_;
  }
  // Coordinates in the target's own client area.
  int tx = x, ty = y;
  for (Control* c = target; c != nullptr && c != &control_; c = c->Parent()) {
    tx -= c->Left();
    ty -= c->Top();
  }
  MouseButton button = MouseButton::Left;
  if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK) button = MouseButton::Right;
  if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK) button = MouseButton::Middle;

  switch (msg) {
    case WM_MOUSEMOVE:
      target->UserMouseMove(shift, tx, ty);
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      shift |= ssDouble;
      // A double click is a press as well; the model sees both.
      SetCapture(window);
      backend.SetMouseTarget(target);
      target->UserMouseDown(button, shift, tx, ty);
      if (Control* still = backend.MouseTarget()) still->UserDoubleClick();
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetCapture(window);
      backend.SetMouseTarget(target);
      target->UserMouseDown(button, shift, tx, ty);
      break;
    default: {  // button up
      // The model tells whether the release is a click (before the release event).
      const bool clicks = target->ReleaseIsClick(button, tx, ty);
      backend.SetMouseTarget(target);
      if (clicks) target->UserClick();
      Control* still = backend.MouseTarget();  // cleared if the click freed it
      backend.SetMouseTarget(nullptr);
      if (GetCapture() == window) ReleaseCapture();
      if (still != nullptr) still->UserMouseUp(button, shift, tx, ty);
      break;
    }
  }
  return 0;
}

}  // namespace zentra
