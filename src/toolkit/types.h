// Plain value types shared by the widget model and its backends.
#pragma once

#include <cstdint>

#include "platform/win_defs.h"

namespace zentra {

struct Point {
  int x = 0;
  int y = 0;
};

struct Size {
  int width = 0;
  int height = 0;
};

// Left/top inclusive, right/bottom exclusive, as the platform's RECT.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool Contains(const Rect& r) const {
    return r.left >= left && r.top >= top && r.right <= right && r.bottom <= bottom;
  }
  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

// Colours are 0x00BBGGRR values (the platform's COLORREF); the system
// colours below are marked by the high bit and resolved by the backend.
using Color = std::uint32_t;
constexpr Color clBlack = 0x000000;
constexpr Color clNavy = 0x800000;
constexpr Color clBlue = 0xFF0000;
constexpr Color clRed = 0x0000FF;
constexpr Color clLime = 0x00FF00;
constexpr Color clGreen = 0x008000;
constexpr Color clYellow = 0x00FFFF;
constexpr Color clWhite = 0xFFFFFF;
constexpr Color clGray = 0x808080;
constexpr Color clSilver = 0xC0C0C0;
constexpr Color clMaroon = 0x000080;
constexpr Color clOlive = 0x008080;
constexpr Color clPurple = 0x800080;
constexpr Color clTeal = 0x808000;
constexpr Color clFuchsia = 0xFF00FF;
constexpr Color clAqua = 0xFFFF00;
constexpr Color clSystemColor = 0x80000000;
constexpr Color clBtnFace = clSystemColor | 15;
constexpr Color clWindow = clSystemColor | 5;
constexpr Color clWindowText = clSystemColor | 8;
constexpr Color clBtnShadow = clSystemColor | 16;
constexpr Color clBtnHighlight = clSystemColor | 20;
constexpr Color clNone = 0x1FFFFFFF;

enum class Align { None, Top, Bottom, Left, Right, Client };
enum class Alignment { LeftJustify, RightJustify, Center };
enum class BevelCut { None, Lowered, Raised, Space };
enum class BorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class FormPosition { Designed, Default, DefaultPosOnly, DefaultSizeOnly, ScreenCenter };
enum class WindowState { Normal, Minimized, Maximized };
enum class CloseAction { None, Hide, Free, Minimize };
enum class MouseButton { Left, Right, Middle };
enum class Cursor { Default, Arrow, HandPoint, SizeWE, SizeNS, IBeam, Cross };
enum class BevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
enum class BevelStyle { Lowered, Raised };
enum class ShapeType { Rectangle, Square, RoundRect, RoundSquare, Ellipse, Circle };
enum class ButtonLayout { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };

// Modifier keys and mouse buttons held during an input event.
using ShiftState = std::uint32_t;
constexpr ShiftState ssShift = 1;
constexpr ShiftState ssAlt = 2;
constexpr ShiftState ssCtrl = 4;
constexpr ShiftState ssLeft = 8;
constexpr ShiftState ssRight = 16;
constexpr ShiftState ssMiddle = 32;
constexpr ShiftState ssDouble = 64;

// Virtual key codes the model itself interprets.
constexpr std::uint16_t VK_TAB = 0x09;
constexpr std::uint16_t VK_RETURN = 0x0D;
constexpr std::uint16_t VK_ESCAPE = 0x1B;
constexpr std::uint16_t VK_SPACE = 0x20;

// Modal results.
using ModalResult = int;
constexpr ModalResult mrNone = 0;
constexpr ModalResult mrOk = 1;
constexpr ModalResult mrCancel = 2;

// A window message as handed to a form's message handlers. For
// WM_GETMINMAXINFO, lParam points to a MinMaxInfo.
struct Message {
  std::uint32_t msg = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::intptr_t result = 0;
};

}  // namespace zentra
