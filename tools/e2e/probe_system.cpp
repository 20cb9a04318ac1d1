// System-level commands of zentra_probe: the notification area of the Wine
// desktop, processes, and messages to (also hidden) windows.
//
//   zentra_probe tray-icon-count                       number of icons in the notification area
//   zentra_probe wait-tray-icon <count> [timeout-ms]   wait until there are that many icons
//   zentra_probe tray-icon-rect [index]                screen rectangle of an icon: left top width height
//   zentra_probe process-exists <exe name>             is a process of that name running?
//   zentra_probe send-message <caption> <msg> <wParam> <lParam>
//                                                      send a message to a top-level window
//                                                      (hidden ones too); prints the result
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kUsage = 2;
constexpr int kNotMine = -1;

// Wine's explorer shows each notification-area icon as a window of this class.
const wchar_t kTrayIconClass[] = L"__wine_tray_icon";

BOOL CALLBACK CollectTrayIcons(HWND window, LPARAM param) {
  auto* icons = reinterpret_cast<std::vector<HWND>*>(param);
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (std::wcscmp(cls, kTrayIconClass) == 0 && IsWindowVisible(window)) icons->push_back(window);
  EnumChildWindows(window, CollectTrayIcons, param);
  return TRUE;
}

std::vector<HWND> TrayIcons() {
  std::vector<HWND> icons;
  EnumWindows(CollectTrayIcons, reinterpret_cast<LPARAM>(&icons));
  // Children are visited twice (by EnumWindows' recursion and EnumChildWindows'
  // own descent); keep each window once.
  std::vector<HWND> unique;
  for (HWND w : icons) {
    bool seen = false;
    for (HWND u : unique) seen = seen || u == w;
    if (!seen) unique.push_back(w);
  }
  return unique;
}

bool ParseNumber(const std::wstring& text, long long* value) {
  wchar_t* end = nullptr;
  *value = std::wcstoll(text.c_str(), &end, 0);
  return end != text.c_str() && *end == 0;
}

bool ProcessExists(const std::wstring& exe) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry;
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok && !found;
       ok = Process32NextW(snapshot, &entry))
    found = _wcsicmp(entry.szExeFile, exe.c_str()) == 0;
  CloseHandle(snapshot);
  return found;
}

}  // namespace

int RunSystemCommand(const std::vector<std::wstring>& args) {
  if (args.size() < 2) return kNotMine;
  const std::wstring& command = args[1];

  if (command == L"tray-icon-count") {
    std::printf("%u\n", static_cast<unsigned>(TrayIcons().size()));
    return kFound;
  }
  if (command == L"wait-tray-icon") {
    long long count = 0, timeout = 10000;
    if (args.size() < 3 || args.size() > 4 || !ParseNumber(args[2], &count) ||
        (args.size() == 4 && !ParseNumber(args[3], &timeout)))
      return kUsage;
    const DWORD start = GetTickCount();
    for (;;) {
      if (static_cast<long long>(TrayIcons().size()) == count) return kFound;
      if (GetTickCount() - start > static_cast<DWORD>(timeout)) return kNotFound;
      Sleep(100);
    }
  }
  if (command == L"tray-icon-rect") {
    long long index = 0;
    if (args.size() > 3 || (args.size() == 3 && !ParseNumber(args[2], &index))) return kUsage;
    const std::vector<HWND> icons = TrayIcons();
    if (index < 0 || index >= static_cast<long long>(icons.size())) return kNotFound;
    RECT r;
    GetWindowRect(icons[static_cast<size_t>(index)], &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return kFound;
  }
  if (command == L"process-exists") {
    if (args.size() != 3) return kUsage;
    return ProcessExists(args[2]) ? kFound : kNotFound;
  }
  if (command == L"send-message") {
    long long msg = 0, wParam = 0, lParam = 0;
    if (args.size() != 6 || !ParseNumber(args[3], &msg) || !ParseNumber(args[4], &wParam) ||
        !ParseNumber(args[5], &lParam))
      return kUsage;
    HWND window = FindWindowW(nullptr, args[2].c_str());
    if (!window) return kNotFound;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, static_cast<UINT>(msg), static_cast<WPARAM>(wParam),
                             static_cast<LPARAM>(lParam), SMTO_ABORTIFHUNG, 5000, &result))
      return kNotFound;
    std::printf("%lld\n", static_cast<long long>(result));
    return kFound;
  }
  return kNotMine;
}
