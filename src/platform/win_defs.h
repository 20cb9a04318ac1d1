// Win32 names, constants and plain records used by the product code.
// The product code never includes <windows.h>; it uses these, so the Linux
// host build compiles exactly the same subsystem sources as the Windows builds.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zentra {

// Opaque handle values (HWND, HICON, HMENU, HWAVEIN, HWAVEOUT, HINSTANCE).
using WinHandle = std::uintptr_t;

// Window messages.
constexpr std::uint32_t WM_NULL = 0x0000;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUERYENDSESSION = 0x0011;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_ENDSESSION = 0x0016;
constexpr std::uint32_t WM_GETMINMAXINFO = 0x0024;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_DEVICECHANGE = 0x0219;
constexpr std::uint32_t WM_USER = 0x0400;

// Messages between the program's own windows.
constexpr std::uint32_t WM_METER_DECAY = WM_USER + 1;      // 1025
constexpr std::uint32_t WM_WINDOW_CLOSED = WM_USER + 100;  // 1124
constexpr std::uint32_t WM_LEVEL_POLL = WM_USER + 101;     // 1125
constexpr std::uint32_t WM_TRAY_CALLBACK = WM_USER + 102;  // 1126

// Device change broadcasts.
constexpr std::uint32_t DBT_DEVICEQUERYREMOVE = 0x8001;
constexpr std::uint32_t DBT_DEVTYP_DEVNODE = 1;

// Message boxes.
constexpr std::uint32_t MB_OK = 0x00;
constexpr std::uint32_t MB_ICONERROR = 0x10;
constexpr std::uint32_t MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;

// Shell.
constexpr int SW_SHOWDEFAULT = 10;
constexpr std::uint32_t NIM_ADD = 0;
constexpr std::uint32_t NIM_MODIFY = 1;
constexpr std::uint32_t NIM_DELETE = 2;
constexpr std::uint32_t NIF_MESSAGE = 1;
constexpr std::uint32_t NIF_ICON = 2;
constexpr std::uint32_t NIF_TIP = 4;

// 16-bit global memory.
constexpr std::uint16_t GMEM_MOVEABLE = 0x02;
constexpr std::uint16_t GMEM_ZEROINIT = 0x40;

// Wave layer.
constexpr std::uint32_t MMSYSERR_NOERROR = 0;
constexpr std::uint32_t MMSYSERR_ERROR = 1;
constexpr std::uint32_t MMSYSERR_BADDEVICEID = 2;
constexpr std::uint32_t MMSYSERR_INVALHANDLE = 5;
constexpr std::uint32_t MMSYSERR_NOTSUPPORTED = 8;
constexpr std::uint32_t MMSYSERR_INVALPARAM = 11;
constexpr std::uint32_t CALLBACK_NULL = 0x00000;
constexpr std::uint32_t CALLBACK_WINDOW = 0x10000;
constexpr std::uint32_t DRV_USER = 0x4000;

// Multimedia timers.
constexpr std::uint32_t TIME_ONESHOT = 0;
constexpr std::uint32_t TIME_PERIODIC = 1;

// Window placement.
constexpr WinHandle HWND_TOPMOST = static_cast<WinHandle>(-1);
constexpr WinHandle HWND_NOTOPMOST = static_cast<WinHandle>(-2);
constexpr std::uint32_t SWP_NOSIZE = 0x01;
constexpr std::uint32_t SWP_NOMOVE = 0x02;
constexpr std::uint32_t SWP_NOACTIVATE = 0x10;

// Menus.
constexpr std::uint32_t MF_STRING = 0x0000;
constexpr std::uint32_t MF_UNCHECKED = 0x0000;
constexpr std::uint32_t MF_CHECKED = 0x0008;
constexpr std::uint32_t MF_SEPARATOR = 0x0800;
constexpr std::uint32_t MF_BYCOMMAND = 0x0000;

// Notification-area record as the product fills it. The Win32 forward copies
// it into the platform's own NOTIFYICONDATAA; cbSize is the V1 size of the
// build's architecture (88 bytes on 32-bit; Wine rejects 88 on x86_64).
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
