// GDI drawing shared by the painted controls: lines and three-dimensional
// frames with the backend's cached pens, texts in the model's alignment,
// captions that look disabled, and the model's bitmaps.
#pragma once

#include "toolkit/win32/win32_api.h"

#include <string>

#include "toolkit/bitmap.h"
#include "toolkit/control.h"
#include "toolkit/types.h"

namespace zentra {

class Win32Resources;

void DrawLine(HDC dc, Win32Resources& resources, int x1, int y1, int x2, int y2, COLORREF color);

// A three-dimensional frame: top and left in one colour, bottom and right in
// the other; the rectangle shrinks by the frame's width.
void DrawFrame3D(HDC dc, Win32Resources& resources, RECT& r, COLORREF topLeft,
                 COLORREF bottomRight, int width);

// A panel's bevel of that cut (raised, lowered, space or none).
void DrawBevelFrame(HDC dc, Win32Resources& resources, RECT& r, BevelCut cut, int width);

UINT AlignmentFlags(Alignment alignment);

// A caption in the control's font colour; disabled captions are drawn
// embossed, as the platform draws them.
void DrawCaption(HDC dc, const Control& control, const std::string& utf8, RECT r, UINT flags);

// The bitmap stretched into that rectangle.
void DrawBitmap(HDC dc, const Bitmap& picture, int x, int y, int w, int h);

}  // namespace zentra
