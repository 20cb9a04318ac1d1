// The Win32 headers for the native backend. The product's own Win32 names
// (platform/win_defs.h) and the model's types are declared first, before the
// platform headers turn the same names into macros; the platform's A/W
// macros that share a name with model methods (PostMessage, DispatchMessage,
// MessageBox) are removed again. Every file of this folder includes this
// header first.
#pragma once

#include "platform/win_defs.h"
#include "toolkit/types.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#undef PostMessage
#undef DispatchMessage
#undef MessageBox
