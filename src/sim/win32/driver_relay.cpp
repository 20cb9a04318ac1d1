#include "sim/win32/driver_relay.h"

#include <windows.h>

#include <utility>

namespace zentra::sim {
namespace {

constexpr ULONG_PTR kCommandTag = 0x5A434D44;  // "ZCMD"

std::function<void(const std::string&)>* g_run = nullptr;

LRESULT CALLBACK RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA && g_run != nullptr) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data == nullptr || data->dwData != kCommandTag || data->lpData == nullptr) return FALSE;
    (*g_run)(std::string(static_cast<const char*>(data->lpData), data->cbData));
    return TRUE;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RelayConfigCommand(const std::string& text, unsigned waitMs) {
  HWND relay = nullptr;
  for (unsigned waited = 0;; waited += 20) {
    relay = ::FindWindowA(kDriverRelayWindowClass, nullptr);
    if (relay != nullptr || waited >= waitMs) break;
    ::Sleep(20);
  }
  if (relay == nullptr) return false;
  COPYDATASTRUCT data = {};
  data.dwData = kCommandTag;
  data.cbData = static_cast<DWORD>(text.size());
  data.lpData = const_cast<char*>(text.data());
  // The driver may take its time (a scenario's command delay); the answer
  // comes when it is done, or not at all when the program has ended.
  return ::SendMessageA(relay, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) != 0;
}

bool CreateDriverRelayWindow(std::function<void(const std::string&)> run) {
  static std::function<void(const std::string&)> kept;
  kept = std::move(run);
  g_run = &kept;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RelayProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kDriverRelayWindowClass;
  ::RegisterClassA(&windowClass);
  // A hidden top-level window (not message-only) so that FindWindow finds it
  // from another process.
  return ::CreateWindowA(kDriverRelayWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         windowClass.hInstance, nullptr) != nullptr;
}

}  // namespace zentra::sim
