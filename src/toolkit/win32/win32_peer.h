// The native peer of one control of the widget model: a top-level window of
// the form class, a child window (of the program's container class or of a
// system class), or nothing at all for a windowless control, which its
// windowed ancestor paints. What differs between control classes -- the
// window's class and styles, their state, notifications and painting -- is
// asked of the control class's adapter (win32_control_adapter.h).
#pragma once

#include "toolkit/win32/win32_api.h"

#include <cstddef>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/control.h"
#include "toolkit/win32/win32_control_adapter.h"

namespace zentra {

class Win32Backend;

enum class PeerRole {
  Form,        // a top-level window of the form class
  Window,      // a native child window
  Windowless,  // painted by the nearest windowed ancestor
};

class Win32Peer : public ControlPeer {
 public:
  Win32Peer(Win32Backend& backend, Control& control);
  ~Win32Peer() override;
  Win32Peer(const Win32Peer&) = delete;
  Win32Peer& operator=(const Win32Peer&) = delete;

  void Changed(Change what) override;
  void Invalidate(const Rect& rect) override;
  WinHandle Handle() const override { return reinterpret_cast<WinHandle>(window_); }
  void DefaultHandler(Message& message) override;

  Control& GetControl() const { return control_; }
  PeerRole Role() const { return role_; }
  const Win32ControlAdapter& Adapter() const { return adapter_; }
  HWND Window() const { return window_; }
  Win32Backend& Backend() const { return backend_; }
  // The window procedure met the window of this peer (during creation).
  void AttachWindow(HWND window);
  // The platform destroyed one of the peer's windows.
  void WindowDestroyed(HWND window);

  // Paints the windowless controls in that area of the window now (the
  // repaints they asked for; see Win32Backend::AddRepaint).
  void PaintArea(HRGN area);

  // Window procedure of the form and container classes.
  LRESULT HandleWindowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  // Notifications a native child sends to its parent window.
  void OnCommand(WORD code);
  LRESULT OnNotify(const NMHDR& header);
  void OnScroll();
  // WM_CTLCOLOR*: colours of a native child; returns its background brush.
  HBRUSH OnControlColor(HDC dc);
  // Focus changes seen by the subclassed native child.
  void OnNativeFocus(bool gained, HWND other);

  // True while the peer itself changes the native window, so that the
  // notifications this causes are not taken for user input.
  bool Applying() const { return applying_ > 0; }

 private:
  void Create();
  void CreateTopLevel();
  void CreateChild();
  void ApplyAll();
  void ApplyBounds();
  void ApplyVisible();
  void ApplyCaption();
  void ApplyFont();
  void ApplyZOrder();
  void ApplyLook();
  void ApplyWindowState();
  void ApplyIcon();
  // Native parent window of a child and the offset of the model parent's
  // client origin within it (windowless ancestors add their position).
  HWND NativeParent(POINT& offset) const;
  // The windowless child under a point of this container's client area.
  Control* WindowlessChildAt(int x, int y) const;
  LRESULT HandleMouse(UINT msg, WPARAM wParam, LPARAM lParam);
  // Painting (win32_peer_paint.cpp): a WM_PAINT of a container window.
  void Paint();
  // The rectangles a region is made of; more than this many are painted as one area.
  static std::vector<RECT> RectanglesOf(HRGN region);
  static constexpr std::size_t kMostPartsPaintedApart = 32;
  bool IsMyContainer() const;
  // A child of the control was created, moved, shown or hidden.
  static void ContentChanged(Control& container);
  // Tooltips (win32_hints.cpp).
  HWND TooltipWindow(bool create);
  void UpdateHint();
  void RemoveHint();

  Win32Backend& backend_;
  Control& control_;
  PeerRole role_;
  const Win32ControlAdapter& adapter_;
  HWND window_ = nullptr;
  HWND companion_ = nullptr;  // the adapter's second window inside window_ (a group box frame)
  HWND tooltip_ = nullptr;  // a form's tooltip window
  HWND hintHost_ = nullptr; // window the control's tool is registered with
  WNDPROC nativeProc_ = nullptr;
  int controlId_ = 0;
  int applying_ = 0;

  friend LRESULT CALLBACK NativeSubclassProc(HWND, UINT, WPARAM, LPARAM);
};

// RAII marker for Win32Peer::Applying.
class ApplyingScope {
 public:
  explicit ApplyingScope(int& counter) : counter_(counter) { ++counter_; }
  ~ApplyingScope() { --counter_; }

 private:
  int& counter_;
};

}  // namespace zentra
