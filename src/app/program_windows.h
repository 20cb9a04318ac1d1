// Window references of the program: each holds one window object or nothing.
#pragma once

#include "platform/win_defs.h"

namespace zentra {

class TfrmMain;
class TMixControlWnd;
class TAboutBox;

struct ProgramWindows {
  TfrmMain* frmMain = nullptr;
  TMixControlWnd* MixControlWnd = nullptr;
  TAboutBox* AboutBox = nullptr;
  // The tray icon, also the window icon of the control and mixer windows.
  WinHandle trayIcon = 0;
};

ProgramWindows& Windows();

}  // namespace zentra
