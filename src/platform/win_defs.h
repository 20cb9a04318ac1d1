// Win32 names, constants and plain records used by the product code.
// The product code never includes <windows.h>; it uses these, so the Linux
// host build compiles exactly the same subsystem sources as the Windows builds.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zentra {

// Opaque handle values (HWND, HICON, HMENU, HWAVEIN, HWAVEOUT, HINSTANCE).
using WinHandle = std::uintptr_t;

// GetFileAttributesA's answer for a file that does not exist.
constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;

// Win32 constants under their platform names. Where <windows.h> is included
// too (the Win32 forwards and backend), its macros of the same names and
// values take their place.

// Window messages.
#ifndef WM_NULL
constexpr std::uint32_t WM_NULL = 0x0000;
#endif
#ifndef WM_CLOSE
constexpr std::uint32_t WM_CLOSE = 0x0010;
#endif
#ifndef WM_QUERYENDSESSION
constexpr std::uint32_t WM_QUERYENDSESSION = 0x0011;
#endif
#ifndef WM_QUIT
constexpr std::uint32_t WM_QUIT = 0x0012;
#endif
#ifndef WM_ENDSESSION
constexpr std::uint32_t WM_ENDSESSION = 0x0016;
#endif
#ifndef WM_GETMINMAXINFO
constexpr std::uint32_t WM_GETMINMAXINFO = 0x0024;
#endif
#ifndef WM_SYSCOMMAND
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
#endif
#ifndef WM_LBUTTONDBLCLK
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
#endif
#ifndef WM_DEVICECHANGE
constexpr std::uint32_t WM_DEVICECHANGE = 0x0219;
#endif
#ifndef WM_USER
constexpr std::uint32_t WM_USER = 0x0400;
#endif

// Messages between the program's own windows.
constexpr std::uint32_t WM_METER_DECAY = WM_USER + 1;      // 1025
constexpr std::uint32_t WM_WINDOW_CLOSED = WM_USER + 100;  // 1124
constexpr std::uint32_t WM_LEVEL_POLL = WM_USER + 101;     // 1125
constexpr std::uint32_t WM_TRAY_CALLBACK = WM_USER + 102;  // 1126

// Device change broadcasts.
#ifndef DBT_DEVICEQUERYREMOVE
constexpr std::uint32_t DBT_DEVICEQUERYREMOVE = 0x8001;
#endif
#ifndef DBT_DEVTYP_DEVNODE
constexpr std::uint32_t DBT_DEVTYP_DEVNODE = 1;
#endif

// Message boxes.
#ifndef MB_OK
constexpr std::uint32_t MB_OK = 0x00;
#endif
#ifndef MB_ICONERROR
constexpr std::uint32_t MB_ICONERROR = 0x10;
#endif
#ifndef MB_ICONINFORMATION
constexpr std::uint32_t MB_ICONINFORMATION = 0x40;
#endif
#ifndef IDOK
constexpr int IDOK = 1;
#endif

// Shell.
#ifndef SEE_MASK_NOCLOSEPROCESS
constexpr std::uint32_t SEE_MASK_NOCLOSEPROCESS = 0x00000040;
#endif
#ifndef WAIT_OBJECT_0
constexpr std::uint32_t WAIT_OBJECT_0 = 0x00000000;
#endif
#ifndef WAIT_TIMEOUT
constexpr std::uint32_t WAIT_TIMEOUT = 0x00000102;
#endif
#ifndef WAIT_FAILED
constexpr std::uint32_t WAIT_FAILED = 0xFFFFFFFF;
#endif
#ifndef SW_SHOWDEFAULT
constexpr int SW_SHOWDEFAULT = 10;
#endif
#ifndef NIM_ADD
constexpr std::uint32_t NIM_ADD = 0;
#endif
#ifndef NIM_MODIFY
constexpr std::uint32_t NIM_MODIFY = 1;
#endif
#ifndef NIM_DELETE
constexpr std::uint32_t NIM_DELETE = 2;
#endif
#ifndef NIF_MESSAGE
constexpr std::uint32_t NIF_MESSAGE = 1;
#endif
#ifndef NIF_ICON
constexpr std::uint32_t NIF_ICON = 2;
#endif
#ifndef NIF_TIP
constexpr std::uint32_t NIF_TIP = 4;
#endif

// 16-bit global memory.
#ifndef GMEM_MOVEABLE
constexpr std::uint16_t GMEM_MOVEABLE = 0x02;
#endif
#ifndef GMEM_ZEROINIT
constexpr std::uint16_t GMEM_ZEROINIT = 0x40;
#endif

// Wave layer.
#ifndef MMSYSERR_NOERROR
constexpr std::uint32_t MMSYSERR_NOERROR = 0;
#endif
#ifndef MMSYSERR_ERROR
constexpr std::uint32_t MMSYSERR_ERROR = 1;
#endif
#ifndef MMSYSERR_BADDEVICEID
constexpr std::uint32_t MMSYSERR_BADDEVICEID = 2;
#endif
#ifndef MMSYSERR_INVALHANDLE
constexpr std::uint32_t MMSYSERR_INVALHANDLE = 5;
#endif
#ifndef MMSYSERR_NOTSUPPORTED
constexpr std::uint32_t MMSYSERR_NOTSUPPORTED = 8;
#endif
#ifndef MMSYSERR_INVALPARAM
constexpr std::uint32_t MMSYSERR_INVALPARAM = 11;
#endif
#ifndef CALLBACK_NULL
constexpr std::uint32_t CALLBACK_NULL = 0x00000;
#endif
#ifndef CALLBACK_WINDOW
constexpr std::uint32_t CALLBACK_WINDOW = 0x10000;
#endif
#ifndef DRV_USER
constexpr std::uint32_t DRV_USER = 0x4000;
#endif

// Multimedia timers.
#ifndef TIME_ONESHOT
constexpr std::uint32_t TIME_ONESHOT = 0;
#endif
#ifndef TIME_PERIODIC
constexpr std::uint32_t TIME_PERIODIC = 1;
#endif

// Window placement.
#ifndef HWND_TOPMOST
constexpr WinHandle HWND_TOPMOST = static_cast<WinHandle>(-1);
#endif
#ifndef HWND_NOTOPMOST
constexpr WinHandle HWND_NOTOPMOST = static_cast<WinHandle>(-2);
#endif
#ifndef SWP_NOSIZE
constexpr std::uint32_t SWP_NOSIZE = 0x01;
#endif
#ifndef SWP_NOMOVE
constexpr std::uint32_t SWP_NOMOVE = 0x02;
#endif
#ifndef SWP_NOACTIVATE
constexpr std::uint32_t SWP_NOACTIVATE = 0x10;
#endif

// Menus.
#ifndef MF_STRING
constexpr std::uint32_t MF_STRING = 0x0000;
#endif
#ifndef MF_UNCHECKED
constexpr std::uint32_t MF_UNCHECKED = 0x0000;
#endif
#ifndef MF_CHECKED
constexpr std::uint32_t MF_CHECKED = 0x0008;
#endif
#ifndef MF_SEPARATOR
constexpr std::uint32_t MF_SEPARATOR = 0x0800;
#endif
#ifndef MF_BYCOMMAND
constexpr std::uint32_t MF_BYCOMMAND = 0x0000;
#endif

// Notification-area record as the product fills it. The Win32 forward copies
// it into the platform's own NOTIFYICONDATAA; cbSize is the V1 size of the
// build's architecture (88 bytes on 32-bit; Wine rejects 88 on x86_64).
// What ShellExecuteExA is given and answers (SHELLEXECUTEINFOA, the fields
// the program uses): instApp as ShellExecuteA's result, process the launched
// program's process handle when SEE_MASK_NOCLOSEPROCESS was asked and the
// system has one (0 otherwise).
struct ShellExecuteRecord {
  std::uint32_t mask = 0;
  WinHandle owner = 0;
  const char* verb = nullptr;
  const char* file = nullptr;
  const char* parameters = nullptr;
  const char* directory = nullptr;
  int show = 0;
  std::intptr_t instApp = 0;
  WinHandle process = 0;
};

struct NotifyIconRecord {
  std::uint32_t cbSize = 0;
  WinHandle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  WinHandle hIcon = 0;
  char szTip[64] = {};
};
constexpr std::uint32_t kNotifyIconV1Size = sizeof(void*) == 4 ? 88u : 104u;

// Capability records of the wave layer, field for field as WAVEINCAPSA (48
// bytes) and WAVEOUTCAPSA (52 bytes).
#pragma pack(push, 1)
struct WaveInCaps {
  std::uint16_t wMid;
  std::uint16_t wPid;
  std::uint32_t vDriverVersion;
  char szPname[32];
  std::uint32_t dwFormats;
  std::uint16_t wChannels;
  std::uint16_t wReserved1;
};
struct WaveOutCaps {
  std::uint16_t wMid;
  std::uint16_t wPid;
  std::uint32_t vDriverVersion;
  char szPname[32];
  std::uint32_t dwFormats;
  std::uint16_t wChannels;
  std::uint16_t wReserved1;
  std::uint32_t dwSupport;
};
// WAVEFORMATEX (18 bytes) as the wave layer reads it.
struct WaveFormatEx {
  std::uint16_t wFormatTag;
  std::uint16_t nChannels;
  std::uint32_t nSamplesPerSec;
  std::uint32_t nAvgBytesPerSec;
  std::uint16_t nBlockAlign;
  std::uint16_t wBitsPerSample;
  std::uint16_t cbSize;
};
// Device broadcast header of a device-node event (DEV_BROADCAST_DEVNODE).
struct DevBroadcastDevnode {
  std::uint32_t dbcd_size;
  std::uint32_t dbcd_devicetype;
  std::uint32_t dbcd_reserved;
  std::uint32_t dbcd_devnode;
};
#pragma pack(pop)
static_assert(sizeof(WaveInCaps) == 48, "WAVEINCAPSA layout");
static_assert(sizeof(WaveOutCaps) == 52, "WAVEOUTCAPSA layout");
static_assert(sizeof(WaveFormatEx) == 18, "WAVEFORMATEX layout");

struct MinMaxInfo {
  struct Point { std::int32_t x, y; };
  Point ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};

}  // namespace zentra
