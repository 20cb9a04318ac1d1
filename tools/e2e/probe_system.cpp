// System-level commands of zentra_probe: the notification area of the Wine
// desktop, processes, and messages to (also hidden) windows.
//
//   zentra_probe tray-icon-count                       number of icons in the notification area
//   zentra_probe wait-tray-icon <count> [timeout-ms]   wait until there are that many icons
//   zentra_probe tray-icon-rect [index]                screen rectangle of an icon: left top width height
//   zentra_probe process-exists <exe name>             is a process of that name running?
//   zentra_probe gui-resources <exe name>              GDI and USER object counts of that process
//                                                      (GetGuiResources): "gdi <n> user <n>"
//   zentra_probe gui-counts <exe name>                 what a leak of windows or GDI objects would
//                                                      show, also where GetGuiResources says 0:
//                                                      "windows <n> gdi <n> (dc <n> region <n>
//                                                      bitmap <n> font <n> brush <n> pen <n>
//                                                      other <n>)": the windows of that process
//                                                      (top-level and every child) and the live
//                                                      objects in its GDI handle table
//   zentra_probe activate <caption>                     bring a top-level window to the front
//   zentra_probe list-windows                          every window: depth, class, caption, visibility, rectangle
//   zentra_probe send-message <caption> <msg> <wParam> <lParam>
//                                                      send a message to a top-level window
//                                                      (hidden ones too); prints the result
//   zentra_probe post-message <caption> <msg> <wParam> <lParam>
//                                                      post a message to a top-level window
//   zentra_probe post-thread-message <caption> <msg> <wParam> <lParam>
//                                                      post a message to the thread of that window
//   zentra_probe resize <caption> <width> <height>     size a top-level window as its frame would be dragged
//   zentra_probe move <caption> <left> <top>           move a top-level window (its size kept)
//   zentra_probe send-registered <caption> <name>     send the registered message of that name to
//                                                      every top-level window of the process owning
//                                                      that window; prints how many got it
//   zentra_probe tray-forget <caption>                 remove the icon of that window (uID 0) from the
//                                                      notification area, as a shell that restarts
//                                                      forgets it
//   zentra_probe paint-statistics <caption>            what the program under test painted so far:
//                                                      windowless controls, WM_PAINTs, repaint requests
//   zentra_probe backend-resources <caption>           the GDI objects the program's widget backend
//                                                      holds: "fonts <n> brushes <n> pens <n>
//                                                      regions <n>" (regions: repaint areas not yet
//                                                      painted), and what the heaps of its process
//                                                      hold in use: "heap-kb <n> heap-blocks <n>"
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/win32/statistics_message.h"

// Whether the probe's thread is in the program's desktop.
static bool g_inTestDesktop = false;

namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kUsage = 2;
constexpr int kNotMine = -1;

// Wine's explorer draws the notification-area icons inside its task bar
// window and gives each icon a tool in the tooltip window it owns, so the
// tools are counted; the icons stand at the right end of the bar, one square
// slot each (small icon plus a 2-pixel border), the first one rightmost.
// Without the program's desktop (gone with the program's explorer) there is
// no task bar of its own and so no icon.
// A hidden task bar (its explorer is closing) shows no icon either.
HWND TaskBar() {
  HWND bar = g_inTestDesktop ? FindWindowW(L"Shell_TrayWnd", nullptr) : nullptr;
  return bar != nullptr && IsWindowVisible(bar) ? bar : nullptr;
}

BOOL CALLBACK CountTrayTools(HWND window, LPARAM param) {
  auto* ctx = reinterpret_cast<std::pair<HWND, long>*>(param);
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (std::wcscmp(cls, L"tooltips_class32") == 0 && GetWindow(window, GW_OWNER) == ctx->first)
    ctx->second += static_cast<long>(SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0));
  return TRUE;
}

long TrayIconCount() {
  std::pair<HWND, long> ctx{TaskBar(), 0};
  if (ctx.first == nullptr) return 0;
  EnumWindows(CountTrayTools, reinterpret_cast<LPARAM>(&ctx));
  return ctx.second;
}

bool TrayIconRect(long index, RECT* rect) {
  HWND bar = TaskBar();
  if (bar == nullptr || index < 0 || index >= TrayIconCount()) return false;
  RECT r;
  GetWindowRect(bar, &r);
  const long slot = GetSystemMetrics(SM_CXSMICON) + 4;
  rect->right = r.right - index * slot;
  rect->left = rect->right - slot;
  rect->top = r.top + ((r.bottom - r.top) - slot) / 2;
  rect->bottom = rect->top + slot;
  return true;
}

// One level of the window tree being printed: whose children, how deep.
struct TreeLevel {
  HWND parent;
  LPARAM depth;
};
BOOL CALLBACK PrintChildOfLevel(HWND child, LPARAM param);

BOOL CALLBACK PrintWindowTree(HWND window, LPARAM depth) {
  wchar_t cls[128] = {}, text[256] = {};
  GetClassNameW(window, cls, 128);
  GetWindowTextW(window, text, 256);
  RECT r;
  GetWindowRect(window, &r);
  std::printf("%*s%ls \"%ls\" %s %ld,%ld %ldx%ld\n", static_cast<int>(depth) * 2, "", cls, text,
              IsWindowVisible(window) ? "visible" : "hidden", r.left, r.top, r.right - r.left,
              r.bottom - r.top);
  TreeLevel level{window, depth + 1};
  EnumChildWindows(window, PrintChildOfLevel, reinterpret_cast<LPARAM>(&level));
  return TRUE;
}

BOOL CALLBACK PrintChildOfLevel(HWND child, LPARAM param) {
  const auto* level = reinterpret_cast<const TreeLevel*>(param);
  if (GetParent(child) == level->parent) PrintWindowTree(child, level->depth);
  return TRUE;
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

DWORD ProcessId(const std::wstring& exe) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry;
  entry.dwSize = sizeof entry;
  DWORD id = 0;
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok && id == 0;
       ok = Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, exe.c_str()) == 0) id = entry.th32ProcessID;
  CloseHandle(snapshot);
  return id;
}

struct RegisteredSend {
  DWORD process;
  UINT msg;
  int sent;
};

BOOL CALLBACK SendToWindowOfProcess(HWND window, LPARAM param) {
  auto* ctx = reinterpret_cast<RegisteredSend*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  DWORD_PTR result = 0;
  if (process == ctx->process &&
      SendMessageTimeoutW(window, ctx->msg, 0, 0, SMTO_ABORTIFHUNG, 5000, &result))
    ++ctx->sent;
  return TRUE;
}

// The windows of one process: every top-level window of the desktop and
// every descendant of those (EnumChildWindows walks the whole tree).
struct WindowCount {
  DWORD process;
  long windows;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++reinterpret_cast<WindowCount*>(param)->windows;
  return TRUE;
}

BOOL CALLBACK CountWindowsOfProcess(HWND window, LPARAM param) {
  auto* ctx = reinterpret_cast<WindowCount*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != ctx->process) return TRUE;
  ++ctx->windows;
  EnumChildWindows(window, CountChild, param);
  return TRUE;
}

// Live GDI objects of a process, read from its GDI handle table: the table
// the process block points to (GdiSharedHandleTable), 0x10000 entries of 24
// bytes (object, owner, unique, type, flags, user pointer); an entry whose
// type byte is 0 is free. Windows keeps its table this way for 64-bit
// processes, and Wine keeps one per process in the same layout, where
// GetGuiResources only answers 0.
struct GdiCounts {
  long total = 0, dc = 0, region = 0, bitmap = 0, font = 0, brush = 0, pen = 0, other = 0;
};

#pragma pack(push, 1)
struct GdiHandleEntry {
  unsigned long long object;
  unsigned long owner;
  unsigned short unique;
  unsigned char type;
  unsigned char flags;
  unsigned long long userPointer;
};
#pragma pack(pop)
static_assert(sizeof(GdiHandleEntry) == 24, "GDI handle table entries are 24 bytes");

bool CountGdiObjects(HANDLE process, GdiCounts* counts) {
  struct BasicInformation {
    LONG exitStatus;
    void* pebBaseAddress;
    ULONG_PTR affinityMask;
    LONG basePriority;
    ULONG_PTR uniqueProcessId;
    ULONG_PTR parentProcessId;
  } info{};
  using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"),
                                             "NtQueryInformationProcess")));
  if (query == nullptr || query(process, 0, &info, sizeof info, nullptr) != 0 ||
      info.pebBaseAddress == nullptr)
    return false;
  // GdiSharedHandleTable in the 64-bit process environment block.
  constexpr size_t kTableOffset = 0xF8;
  void* table = nullptr;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, static_cast<char*>(info.pebBaseAddress) + kTableOffset, &table,
                         sizeof table, &read) ||
      read != sizeof table || table == nullptr)
    return false;
  constexpr size_t kEntries = 0x10000;
  std::vector<GdiHandleEntry> entries(kEntries);
  if (!ReadProcessMemory(process, table, entries.data(), kEntries * sizeof(GdiHandleEntry), &read) ||
      read != kEntries * sizeof(GdiHandleEntry))
    return false;
  for (const GdiHandleEntry& entry : entries) {
    if (entry.type == 0) continue;
    ++counts->total;
    switch (entry.type) {
      case 0x01: ++counts->dc; break;      // device contexts (also memory and metafile DCs)
      case 0x04: ++counts->region; break;
      case 0x05:                           // device-dependent bitmaps (surfaces)
      case 0x09: ++counts->bitmap; break;  // bitmaps
      case 0x0a: ++counts->font; break;
      case 0x10: ++counts->brush; break;   // brushes; also pens (their type has more bits)
      default: ++counts->other; break;
    }
    // Pens and extended pens share the brush base type; the unique word
    // keeps the full type (0x30 pen, 0x50 extended pen).
    const unsigned extType = entry.unique & 0x7f;
    if (entry.type == 0x10 && (extType == 0x30 || extType == 0x50)) {
      --counts->brush;
      ++counts->pen;
    }
  }
  return true;
}

}  // namespace

// The program under test runs in the Wine virtual desktop "Zentra" (or the one
// named by ZENTRA_DESKTOP); windows are only found from within the same
// desktop, so the probe's thread joins it before it looks for anything.
// The desktop exists only once the program's explorer has created it, so
// the commands that wait call this again on every round.
void EnterTestDesktop() {
  wchar_t name[64] = L"Zentra";
  GetEnvironmentVariableW(L"ZENTRA_DESKTOP", name, 64);
  HDESK desktop = OpenDesktopW(name, 0, FALSE, GENERIC_ALL);
  g_inTestDesktop = desktop != nullptr && SetThreadDesktop(desktop);
}

int RunSystemCommand(const std::vector<std::wstring>& args) {
  if (args.size() < 2) return kNotMine;
  const std::wstring& command = args[1];

  if (command == L"tray-icon-count") {
    std::printf("%ld\n", TrayIconCount());
    return kFound;
  }
  if (command == L"wait-tray-icon") {
    long long count = 0, timeout = 10000;
    if (args.size() < 3 || args.size() > 4 || !ParseNumber(args[2], &count) ||
        (args.size() == 4 && !ParseNumber(args[3], &timeout)))
      return kUsage;
    const DWORD start = GetTickCount();
    for (;;) {
      EnterTestDesktop();
      if (TrayIconCount() == count) return kFound;
      if (GetTickCount() - start > static_cast<DWORD>(timeout)) return kNotFound;
      Sleep(100);
    }
  }
  if (command == L"tray-icon-rect") {
    long long index = 0;
    if (args.size() > 3 || (args.size() == 3 && !ParseNumber(args[2], &index))) return kUsage;
    RECT r;
    if (!TrayIconRect(static_cast<long>(index), &r)) return kNotFound;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return kFound;
  }
  if (command == L"activate") {
    if (args.size() != 3) return kUsage;
    HWND window = FindWindowW(nullptr, args[2].c_str());
    if (!window) return kNotFound;
    SetForegroundWindow(window);
    Sleep(200);
    return GetForegroundWindow() == window ? kFound : kNotFound;
  }
  if (command == L"list-windows") {
    EnumWindows(PrintWindowTree, 0);
    return kFound;
  }
  if (command == L"resize") {
    long long width = 0, height = 0;
    if (args.size() != 5 || !ParseNumber(args[3], &width) || !ParseNumber(args[4], &height))
      return kUsage;
    HWND window = FindWindowW(nullptr, args[2].c_str());
    if (!window) return kNotFound;
    SetWindowPos(window, nullptr, 0, 0, static_cast<int>(width), static_cast<int>(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(200);
    return kFound;
  }
  if (command == L"move") {
    long long left = 0, top = 0;
    if (args.size() != 5 || !ParseNumber(args[3], &left) || !ParseNumber(args[4], &top))
      return kUsage;
    HWND window = FindWindowW(nullptr, args[2].c_str());
    if (!window) return kNotFound;
    SetWindowPos(window, nullptr, static_cast<int>(left), static_cast<int>(top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(200);
    return kFound;
  }
  if (command == L"paint-statistics") {
    if (args.size() != 3) return kUsage;
    HWND window = FindWindowW(nullptr, args[2].c_str());
    if (!window) return kNotFound;
    const UINT msg = RegisterWindowMessageW(zentra::kStatisticsMessageNameWide);
    const zentra::StatisticsFigure asked[] = {zentra::kWindowlessPainted, zentra::kPaintMessages,
                                              zentra::kInvalidations};
    long long figures[3] = {};
    for (int i = 0; i < 3; ++i) {
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutW(window, msg, static_cast<WPARAM>(asked[i]), 0, SMTO_ABORTIFHUNG, 5000,
                               &result))
        return kNotFound;
      figures[i] = static_cast<long long>(result);
    }
    std::printf("%lld %lld %lld\n", figures[0], figures[1], figures[2]);
    return kFound;
  }
  if (command == L"send-registered") {
    if (args.size() != 4) return kUsage;
    HWND window = FindWindowW(nullptr, args[2].c_str());
    if (!window) return kNotFound;
    RegisteredSend ctx{0, RegisterWindowMessageW(args[3].c_str()), 0};
    GetWindowThreadProcessId(window, &ctx.process);
    if (ctx.msg == 0) return kNotFound;
    EnumWindows(SendToWindowOfProcess, reinterpret_cast<LPARAM>(&ctx));
    std::printf("%d\n", ctx.sent);
    return ctx.sent > 0 ? kFound : kNotFound;
  }
  if (command == L"tray-forget") {
    if (args.size() != 3) return kUsage;
    HWND window = FindWindowW(nullptr, args[2].c_str());
    if (!window) return kNotFound;
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = window;
    data.uID = 0;
    return Shell_NotifyIconW(NIM_DELETE, &data) ? kFound : kNotFound;
  }
  if (command == L"gui-resources") {
    if (args.size() != 3) return kUsage;
    const DWORD id = ProcessId(args[2]);
    HANDLE process = id != 0 ? OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id) : nullptr;
    if (!process) return kNotFound;
    std::printf("gdi %lu user %lu\n", static_cast<unsigned long>(GetGuiResources(process, 0)),
                static_cast<unsigned long>(GetGuiResources(process, 1)));
    CloseHandle(process);
    return kFound;
  }
  if (command == L"gui-counts") {
    if (args.size() != 3) return kUsage;
    const DWORD id = ProcessId(args[2]);
    HANDLE process =
        id != 0 ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id) : nullptr;
    if (!process) return kNotFound;
    WindowCount windows{id, 0};
    EnumWindows(CountWindowsOfProcess, reinterpret_cast<LPARAM>(&windows));
    GdiCounts gdi;
    const bool counted = CountGdiObjects(process, &gdi);
    CloseHandle(process);
    if (!counted) {
      std::printf("windows %ld gdi unknown\n", windows.windows);
      return kNotFound;
    }
    std::printf("windows %ld gdi %ld (dc %ld region %ld bitmap %ld font %ld brush %ld pen %ld "
                "other %ld)\n",
                windows.windows, gdi.total, gdi.dc, gdi.region, gdi.bitmap, gdi.font, gdi.brush,
                gdi.pen, gdi.other);
    return kFound;
  }
  if (command == L"backend-resources") {
    if (args.size() != 3) return kUsage;
    HWND window = FindWindowW(nullptr, args[2].c_str());
    if (!window) return kNotFound;
    const UINT msg = RegisterWindowMessageW(zentra::kStatisticsMessageNameWide);
    const zentra::StatisticsFigure asked[] = {zentra::kCachedFonts,     zentra::kCachedBrushes,
                                              zentra::kCachedPens,      zentra::kPendingRepaintRegions,
                                              zentra::kHeapBytesInUse, zentra::kHeapBlocksInUse};
    long long figures[6] = {};
    for (int i = 0; i < 6; ++i) {
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutW(window, msg, static_cast<WPARAM>(asked[i]), 0, SMTO_ABORTIFHUNG, 5000,
                               &result))
        return kNotFound;
      figures[i] = static_cast<long long>(static_cast<LRESULT>(result));
    }
    std::printf("fonts %lld brushes %lld pens %lld regions %lld heap-kb %lld heap-blocks %lld\n",
                figures[0], figures[1], figures[2], figures[3],
                figures[4] < 0 ? -1 : figures[4] / 1024, figures[5]);
    return kFound;
  }
  if (command == L"process-exists") {
    if (args.size() != 3) return kUsage;
    return ProcessExists(args[2]) ? kFound : kNotFound;
  }
  if (command == L"send-message" || command == L"post-message" ||
      command == L"post-thread-message") {
    long long msg = 0, wParam = 0, lParam = 0;
    if (args.size() != 6 || !ParseNumber(args[3], &msg) || !ParseNumber(args[4], &wParam) ||
        !ParseNumber(args[5], &lParam))
      return kUsage;
    HWND window = FindWindowW(nullptr, args[2].c_str());
    if (!window) return kNotFound;
    if (command == L"post-message")
      return PostMessageW(window, static_cast<UINT>(msg), static_cast<WPARAM>(wParam),
                          static_cast<LPARAM>(lParam))
                 ? kFound
                 : kNotFound;
    if (command == L"post-thread-message") {
      const DWORD thread = GetWindowThreadProcessId(window, nullptr);
      return PostThreadMessageW(thread, static_cast<UINT>(msg), static_cast<WPARAM>(wParam),
                                static_cast<LPARAM>(lParam))
                 ? kFound
                 : kNotFound;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, static_cast<UINT>(msg), static_cast<WPARAM>(wParam),
                             static_cast<LPARAM>(lParam), SMTO_ABORTIFHUNG, 5000, &result))
      return kNotFound;
    std::printf("%lld\n", static_cast<long long>(result));
    return kFound;
  }
  return kNotMine;
}
