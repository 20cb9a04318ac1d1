// What the native backend makes of a control of the widget model, and the
// reading and writing of the class-specific state of native child windows
// (check state, items, range, pages) and the painting of windowless controls.
// This is the one place that knows the toolkit's concrete control classes.
#pragma once

#include "toolkit/win32/win32_api.h"

#include "toolkit/backend.h"
#include "toolkit/control.h"

namespace zentra {

class Win32Resources;

enum class NativeKind {
  Form,         // top-level window of the form class
  Container,    // child window of the panel class (panel, scroll box, tab sheet)
  GroupBox,     // panel-class window holding a native BS_GROUPBOX frame
  PushButton,   // BUTTON, BS_PUSHBUTTON / BS_DEFPUSHBUTTON
  CheckBox,     // BUTTON, BS_CHECKBOX (the model decides the state)
  RadioButton,  // BUTTON, BS_RADIOBUTTON (the model decides the state)
  Edit,         // EDIT
  ComboBox,     // COMBOBOX, CBS_DROPDOWNLIST
  TrackBar,     // trackbar common control
  TabControl,   // tab common control; its sheets are containers inside it
  Windowless,   // painted by the nearest windowed ancestor
};

NativeKind NativeKindOf(const Control& control);

// Window class, style and extended style of a native child or container.
struct NativeWindowSpec {
  const char* className;
  DWORD style;
  DWORD exStyle;
};
NativeWindowSpec NativeSpecOf(const Control& control, NativeKind kind);

// Copies the model's class-specific state of that kind of change into the
// native window (check state, combo items and selection, track-bar range
// and position, active tab, default button style).
void ApplyNativeState(Control& control, NativeKind kind, HWND window, Change what);

// A child of the control was created, moved, shown or hidden: a scroll box
// recomputes its scroll bar from its content.
void ContentChanged(Control& container);

// User input from a native child's notification, handed to the model.
void ReportNativeCommand(Control& control, NativeKind kind, HWND window, WORD code);
void ReportNativeScroll(Control& control, NativeKind kind, HWND window);
LRESULT ReportNativeNotify(Control& control, NativeKind kind, HWND window, const NMHDR& header);

// Paints a windowless control into dc, whose origin is the control's
// top-left corner; and a container's own look (bevels, caption).
void PaintWindowless(Control& control, HDC dc, Win32Resources& resources);
void PaintContainer(Control& control, HDC dc, Win32Resources& resources);

}  // namespace zentra
