// How one control class of the widget model appears in the native backend:
// the window it gets, how a model change reaches that window, how the
// window's notifications become model input, and how the control -- or a
// container's own look -- is painted. Each control class that looks or
// behaves differently has one adapter, registered under its class name; a
// class without one of its own is shown by its base class's adapter (a
// bilingual label paints as a label, a meter as a panel). The peer
// (win32_peer.h) does what every control shares and asks the adapter for
// the rest.
#pragma once

#include "toolkit/win32/win32_api.h"

#include <memory>
#include <string>

#include "toolkit/backend.h"
#include "toolkit/class_keyed_registry.h"
#include "toolkit/control.h"

namespace zentra {

class Win32Resources;

// Window class, style and extended style of a native child or container.
struct NativeWindowSpec {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

// Where a windowed control's caption is shown.
enum class CaptionPlace {
  WindowText,  // the native window's own text (buttons, edits)
  Companion,   // the text of the companion window (a group box's frame)
  Painted,     // painted by the program, or not shown (containers, tabs)
};

// WS_TABSTOP for a control the Tab key stops at.
inline DWORD TabStopStyle(const Control& control) {
  return control.TabStop() ? static_cast<DWORD>(WS_TABSTOP) : 0;
}

class Win32ControlAdapter {
 public:
  virtual ~Win32ControlAdapter() = default;

  // Whether the adapter may show that component (it is of the adapter's class).
  virtual bool Fits(const Component& component) const;

  // --- a windowed control ---------------------------------------------------
  // The native child window. Default: a window of the program's container
  // class, which paints the control's look and its windowless children.
  virtual NativeWindowSpec WindowSpec(const Control& control) const;
  // True for a window of the program's container class; false for a window
  // of a system class, which paints itself and is subclassed.
  virtual bool IsContainerWindow() const { return true; }
  virtual CaptionPlace Caption() const { return CaptionPlace::Painted; }
  // A second native window the control shows inside its own (a group box's
  // frame behind its controls); null for none.
  virtual HWND CreateCompanion(const Control& control, HWND window, HINSTANCE instance) const;
  // The native window's height (a drop-down list needs room below).
  virtual int WindowHeight(const Control& control) const { return control.Height(); }
  // Whether the children's windows are placed again when the control moves
  // (the sheets of a tab control lie inside its window).
  virtual bool ChildrenFollowBounds() const { return false; }
  // Copies the class-specific state of that kind of change into the window
  // (check state, items, range, active tab, default button style).
  virtual void Apply(Control& control, HWND window, Change what) const;
  // A child of the control was created, moved, shown or hidden.
  virtual void ContentChanged(Control& control, HWND window) const;
  // Whether the focused window handles Enter, Esc and Tab itself just now
  // (an open drop-down list), before the form sees them.
  virtual bool KeepsDialogKeys(HWND window) const;

  // --- native input -> model ------------------------------------------------
  // WM_COMMAND notification code from the control's window.
  virtual void Command(Control& control, HWND window, WORD code) const;
  // WM_HSCROLL / WM_VSCROLL from the control's window.
  virtual void Scroll(Control& control, HWND window) const;
  // WM_NOTIFY from the control's window.
  virtual LRESULT Notify(Control& control, HWND window, const NMHDR& header) const;
  // The container window's own scroll bar was used; false: not handled.
  virtual bool OwnScroll(Control& control, UINT msg, WPARAM wParam) const;

  // --- painting -------------------------------------------------------------
  // A windowless control, into dc whose origin is its top-left corner.
  virtual void PaintWindowless(Control& control, HDC dc, Win32Resources& resources) const;
  // Whether PaintWindowless never draws outside the control's bounds, so
  // that a control lying wholly in the area being painted needs no clip
  // region of its own.
  virtual bool PaintsWithinBounds(const Control&) const { return false; }
  // Whether PaintWindowless covers every pixel of the bounds, hiding what
  // lies beneath (a meter over the guide lines behind it).
  virtual bool PaintsOpaque(const Control&) const { return false; }
  // Paints part (control coordinates, dc's origin at the control's
  // top-left corner) when all of it shows one flat fill (a segment's inside
  // when only its colour changed), drawing nothing outside it, so that no
  // clip is needed; false (nothing painted) when part is not all such.
  virtual bool PaintFlatPart(const Control&, HDC, Win32Resources&, const RECT&) const {
    return false;
  }
  // A container window's own look beneath its children (bevels, caption).
  virtual void PaintContainer(Control& control, HDC dc, Win32Resources& resources) const;
};

// Base of the adapter of model class T: Of() gives the control as a T (the
// registry only hands a control to the adapter of its class or of a base
// class, and checks that once per class with Fits).
template <class T>
class Win32AdapterOf : public Win32ControlAdapter {
 public:
  bool Fits(const Component& component) const override {
    return dynamic_cast<const T*>(&component) != nullptr;
  }

 protected:
  static T& Of(Control& control) { return static_cast<T&>(control); }
  static const T& Of(const Control& control) { return static_cast<const T&>(control); }
};

class Win32AdapterRegistry {
 public:
  // Holds the standard adapters (win32_standard_adapters.cpp) from the start.
  static Win32AdapterRegistry& Instance();

  // Registers the adapter of that class; a class is registered once.
  void Register(const std::string& className, std::unique_ptr<Win32ControlAdapter> adapter);
  // The adapter of the control's class or of its nearest base class that
  // has one; else the default (a container window, painting nothing).
  const Win32ControlAdapter& For(const Control& control);

 private:
  Win32AdapterRegistry();

  ClassKeyedRegistry<Win32ControlAdapter> adapters_;
  Win32ControlAdapter default_;
};

// Registers the adapters of the toolkit's standard classes, one call each.
void RegisterStandardAdapters(Win32AdapterRegistry& registry);

}  // namespace zentra
