// What metering costs at the least under a given system: a window with the
// mixer windows' two periodic multimedia timers (40 ms decay, 100 ms poll),
// whose callbacks post the same messages 1025 and 1125 to it. With
// "timers" the messages are handled with nothing; with "paint" each one
// also fills one meter segment's rectangle (a different one each time) at
// once through the window's device context, the least a repaint can cost.
// With "quiet" the windows have no timers: a program that only waits.
// A count after the mode ("timers 4") opens that many such windows, one per
// mixer window measured. tools/bench/wine_meter_cpu.sh measures it in the
// same run as the program; tools/bench/wine_timer_floor.sh alone.
#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr UINT kDecayMessage = WM_USER + 1;
constexpr UINT kPollMessage = WM_USER + 101;
bool g_paint = false;
int g_segment = 0;

void CALLBACK DecayTick(UINT id, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
  PostMessageA(reinterpret_cast<HWND>(window), kDecayMessage, id, 0);
}

void CALLBACK PollTick(UINT id, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
  PostMessageA(reinterpret_cast<HWND>(window), kPollMessage, id, 0);
}

void FillNextSegment(HWND window) {
  // Eight columns of 40 segments of 15 x 5, as a window of meters has.
  const int column = g_segment % 8, row = (g_segment / 8) % 40;
  ++g_segment;
  RECT r{10 + 22 * column, 10 + 5 * row, 25 + 22 * column, 15 + 5 * row};
  HDC dc = GetDC(window);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(g_segment % 2 ? GRAY_BRUSH : BLACK_BRUSH)));
  ReleaseDC(window, dc);
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kDecayMessage:
    case kPollMessage:
      if (g_paint) FillNextSegment(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const char* count = std::strchr(commandLine, ' ');
  const std::string mode(commandLine, count != nullptr ? count - commandLine : std::strlen(commandLine));
  const int windows = count != nullptr ? std::atoi(count + 1) : 1;
  const bool quiet = mode == "quiet";
  if (mode == "paint") {
    g_paint = true;
  } else if ((mode != "timers" && !quiet) || windows < 1 || windows > 16) {
    MessageBoxA(nullptr, "usage: zentra_timer_floor timers|paint|quiet [1..16]", "Timer floor",
                MB_OK);
    return 2;
  }
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  windowClass.lpszClassName = "ZentraTimerFloor";
  if (RegisterClassA(&windowClass) == 0) return 1;
  UINT timers[32] = {};
  for (int i = 0; i < windows; ++i) {
    const std::string caption = i == 0 ? "Timer Floor" : "Timer Floor " + std::to_string(i + 1);
    HWND window = CreateWindowA("ZentraTimerFloor", caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                30 * i, 30 * i, 400, 260, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    if (quiet) continue;
    const DWORD_PTR user = reinterpret_cast<DWORD_PTR>(window);
    timers[2 * i] = timeSetEvent(40, 40, DecayTick, user, TIME_PERIODIC);
    timers[2 * i + 1] = timeSetEvent(100, 100, PollTick, user, TIME_PERIODIC);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  for (UINT id : timers)
    if (id != 0) timeKillEvent(id);
  return 0;
}
