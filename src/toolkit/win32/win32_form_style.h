// Window styles of a form for each border style of the model.
#pragma once

#include "toolkit/win32/win32_api.h"

#include "toolkit/types.h"

namespace zentra {

struct FormWindowStyle {
  DWORD style;
  DWORD exStyle;
};

inline FormWindowStyle FormStyleOf(BorderStyle border) {
  // Every form is a control parent, so the dialog manager walks into its
  // panels for Tab and mnemonics.
  const DWORD common = WS_CLIPCHILDREN;
  switch (border) {
    case BorderStyle::None:
      return {common | WS_POPUP, WS_EX_CONTROLPARENT};
    case BorderStyle::Single:
      return {common | WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
              WS_EX_CONTROLPARENT};
    case BorderStyle::Dialog:
      return {common | WS_POPUP | WS_CAPTION | WS_SYSMENU,
              WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME};
    case BorderStyle::ToolWindow:
      return {common | WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
              WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW};
    case BorderStyle::SizeToolWin:
      return {common | WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
              WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW};
    case BorderStyle::Sizeable:
    default:
      return {common | WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT};
  }
}

}  // namespace zentra
