// zentra_probe: a small console program for the end-to-end tests. It runs
// under Wine next to the program under test, finds its windows by caption and
// reads or drives their native child windows.
//
//   zentra_probe wait-window <caption> [timeout-ms]   wait until a visible window has the caption
//   zentra_probe window-exists <caption>              is a visible window with the caption there?
//   zentra_probe list-texts <caption>                 class, text and state of every child window
//   zentra_probe click <caption> <child text> [--mouse]
//                                                     click a child button (BM_CLICK, or a real
//                                                     mouse click at its centre with --mouse)
//   zentra_probe rect <caption> [child text]          screen rectangle: left top width height
//   zentra_probe close <caption>                      post WM_CLOSE to the window
//   zentra_probe timed-click <caption> <child text>   click a child button (BM_CLICK) and print how
//                                                     many ms the program took to handle the click
//   zentra_probe message-box-text <caption>           the text of a message box
//   zentra_probe toggle-cycles <caption> <child text> <count> <wait-ms>
//                                                     click a check box (BM_CLICK) on and off again
//                                                     count times, waiting wait-ms after each click
//   zentra_probe file-dialog <caption> <file name>     type the name into the file name field of the
//                                                     system's open or save dialog and press its
//                                                     default button (Open / Save)
//
// Captions and texts are UTF-8 on the command line and in the output. A child
// text matches exactly or after mnemonic ampersands and surrounding blanks are
// removed ("&Einstellungen" matches " &Einstellungen" and "Einstellungen").
// Exit codes: 0 found / done, 1 not found, 2 usage error.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Joins the Wine virtual desktop of the program under test (probe_system.cpp).
void EnterTestDesktop();

namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kUsage = 2;

std::string ToUtf8(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], size,
                      nullptr, nullptr);
  return out;
}

// The command line in UTF-16, split by the usual Windows rules (quotes group,
// backslashes escape a quote only when they precede it).
std::vector<std::wstring> CommandLineArguments() {
  std::vector<std::wstring> args;
  const wchar_t* p = GetCommandLineW();
  while (*p) {
    while (*p == L' ' || *p == L'\t') ++p;
    if (!*p) break;
    std::wstring arg;
    bool quoted = false;
    while (*p && (quoted || (*p != L' ' && *p != L'\t'))) {
      if (*p == L'\\') {
        size_t slashes = 0;
        while (*p == L'\\') { ++slashes; ++p; }
        if (*p == L'"') {
          arg.append(slashes / 2, L'\\');
          if (slashes % 2) { arg += L'"'; ++p; }
        } else {
          arg.append(slashes, L'\\');
        }
      } else if (*p == L'"') {
        if (quoted && p[1] == L'"') { arg += L'"'; p += 2; continue; }
        quoted = !quoted;
        ++p;
      } else {
        arg += *p++;
      }
    }
    args.push_back(arg);
  }
  return args;
}

std::wstring WindowText(HWND window) {
  // Sent with a timeout so that a hung program cannot hang the probe; long
  // enough that a program slowed by a loaded machine still answers.
  const UINT kTimeout = 5000;
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTimeout, &length))
    return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_ABORTIFHUNG, kTimeout, &copied);
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// "&Einstellungen " -> "Einstellungen"; "&&" stands for one ampersand.
std::wstring Plain(const std::wstring& caption) {
  std::wstring out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    else if (caption[i] == L'&') continue;
    out += caption[i];
  }
  const size_t first = out.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::wstring();
  return out.substr(first, out.find_last_not_of(L' ') - first + 1);
}

bool TextMatches(const std::wstring& text, const std::wstring& wanted) {
  return text == wanted || Plain(text) == Plain(wanted);
}

struct TopSearch {
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopSearch*>(param);
  if (!IsWindowVisible(window)) return TRUE;
  if (WindowText(window) != search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

// A visible top-level window with exactly this caption; hidden windows (such
// as a tray program's hidden main window) do not count.
HWND FindVisibleWindow(const std::wstring& caption) {
  TopSearch search{caption};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Enumeration callbacks are CALLBACK functions: on i686 a lambda would not
// have the calling convention the system calls them with.
BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND FindChildByText(HWND parent, const std::wstring& text) {
  for (HWND child : Children(parent))
    if (IsWindowVisible(child) && TextMatches(WindowText(child), text)) return child;
  return nullptr;
}

// The state column of list-texts: what a test needs to see at a glance.
std::string StateOf(HWND window) {
  std::string state = IsWindowVisible(window) ? "visible" : "hidden";
  state += IsWindowEnabled(window) ? " enabled" : " disabled";
  const std::wstring cls = ClassName(window);
  if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    const LONG kind = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
        kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE) {
      DWORD_PTR check = 0;
      SendMessageTimeoutW(window, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &check);
      state += check == BST_CHECKED ? " checked" : " unchecked";
    }
    if (kind == BS_DEFPUSHBUTTON) state += " default";
  } else if (_wcsicmp(cls.c_str(), L"msctls_trackbar32") == 0) {
    DWORD_PTR position = 0;
    SendMessageTimeoutW(window, TBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &position);
    state += " position=" + std::to_string(static_cast<long>(position));
  } else if (_wcsicmp(cls.c_str(), L"ComboBox") == 0) {
    DWORD_PTR selected = 0;
    SendMessageTimeoutW(window, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selected);
    state += " selected=" + std::to_string(static_cast<long>(static_cast<LRESULT>(selected)));
  }
  return state;
}

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

int Usage() {
  std::fputs(
      "usage: zentra_probe wait-window <caption> [timeout-ms]\n"
      "       zentra_probe window-exists <caption>\n"
      "       zentra_probe list-texts <caption>\n"
      "       zentra_probe click <caption> <child text> [--mouse]\n"
      "       zentra_probe rect <caption> [child text]\n"
      "       zentra_probe close <caption>\n"
      "       zentra_probe message-box-text <caption>\n"
      "       zentra_probe file-dialog <caption> <file name>\n",
      stderr);
  return kUsage;
}

int WaitWindow(const std::wstring& caption, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    // The program's virtual desktop may not exist yet when the probe starts.
    EnterTestDesktop();
    if (FindVisibleWindow(caption)) return kFound;
    if (GetTickCount() - start >= timeoutMs) return kNotFound;
    Sleep(50);
  }
}

int ListTexts(HWND window) {
  for (HWND child : Children(window)) {
    // Children of children are listed too; the parent class tells where they sit.
    PrintLine(ToUtf8(ClassName(child)) + "\t" + ToUtf8(WindowText(child)) + "\t" +
              StateOf(child));
  }
  return kFound;
}

void MouseClickAt(POINT point) {
  SetCursorPos(point.x, point.y);
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

int Click(HWND top, HWND child, bool mouse) {
  if (mouse) {
    SetForegroundWindow(top);
    RECT rect;
    GetWindowRect(child, &rect);
    MouseClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    Sleep(100);
    return kFound;
  }
  // A click may open a modal box whose loop only returns when the box closes;
  // the timeout keeps the probe from waiting for that. The click is delivered
  // either way.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(child, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 1500, &result);
  return kFound;
}

int Rect(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  PrintLine(std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
            std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top));
  return kFound;
}

int MessageBoxText(HWND box) {
  // The text of a message box is its static control without SS_ICON.
  for (HWND child : Children(box)) {
    if (_wcsicmp(ClassName(child).c_str(), L"Static") != 0) continue;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
    const std::wstring text = WindowText(child);
    if (text.empty()) continue;
    PrintLine(ToUtf8(text));
    return kFound;
  }
  return kNotFound;
}

// The file name field of the system's file dialogs: an edit box, or in the
// newer layout a combo box whose edit box takes the text.
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kFileNameCombo = 0x47C;  // cmb13

int FileDialog(HWND dialog, const std::wstring& name) {
  HWND field = GetDlgItem(dialog, kFileNameCombo);
  if (!field || !IsWindowVisible(field)) field = GetDlgItem(dialog, kFileNameEdit);
  HWND button = GetDlgItem(dialog, IDOK);
  if (!field || !button) return kNotFound;
  DWORD_PTR result = 0;
  SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()), SMTO_ABORTIFHUNG,
                      2000, &result);
  // The button's click closes the dialog; what the program does next (a
  // message box) must not hold up the probe.
  SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 1500, &result);
  return kFound;
}

}  // namespace

// Commands about the notification area, processes and hidden windows
// (probe_system.cpp); -1 when the command is not one of them.
int RunSystemCommand(const std::vector<std::wstring>& args);
int main() {
  const std::vector<std::wstring> args = CommandLineArguments();
  EnterTestDesktop();
  if (const int result = RunSystemCommand(args); result != -1) return result;
  if (args.size() < 3) return Usage();
  const std::wstring& command = args[1];
  const std::wstring& caption = args[2];

  if (command == L"wait-window") {
    if (args.size() > 4) return Usage();
    DWORD timeout = 10000;
    if (args.size() == 4) {
      wchar_t* end = nullptr;
      timeout = static_cast<DWORD>(std::wcstoul(args[3].c_str(), &end, 10));
      if (end == args[3].c_str() || *end) return Usage();
    }
    return WaitWindow(caption, timeout);
  }

  const bool twoArgs = args.size() == 3;
  if (command == L"toggle-cycles") {
    if (args.size() != 6) return Usage();
    HWND window = FindVisibleWindow(caption);
    HWND child = window ? FindChildByText(window, args[3]) : nullptr;
    if (!child) return kNotFound;
    const long count = std::wcstol(args[4].c_str(), nullptr, 10);
    const DWORD wait = static_cast<DWORD>(std::wcstoul(args[5].c_str(), nullptr, 10));
    for (long i = 0; i < 2 * count; ++i) {
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutW(child, BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &result))
        return kNotFound;
      // Let the program paint and meter meanwhile.
      const DWORD until = GetTickCount() + wait;
      MSG m;
      while (static_cast<LONG>(until - GetTickCount()) > 0) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        Sleep(5);
      }
    }
    return kFound;
  }
  if (command != L"click" && command != L"timed-click" && command != L"rect" &&
      command != L"file-dialog" && !twoArgs)
    return Usage();
  HWND window = FindVisibleWindow(caption);

  if (command == L"window-exists") return window ? kFound : kNotFound;
  if (command == L"list-texts") return window ? ListTexts(window) : kNotFound;
  if (command == L"close") {
    if (!window) return kNotFound;
    PostMessageW(window, WM_CLOSE, 0, 0);
    return kFound;
  }
  if (command == L"message-box-text") return window ? MessageBoxText(window) : kNotFound;
  if (command == L"rect") {
    if (args.size() > 4) return Usage();
    if (!window) return kNotFound;
    if (args.size() == 3) return Rect(window);
    HWND child = FindChildByText(window, args[3]);
    return child ? Rect(child) : kNotFound;
  }
  if (command == L"timed-click") {
    if (args.size() != 4) return Usage();
    if (!window) return kNotFound;
    HWND child = FindChildByText(window, args[3]);
    if (!child) return kNotFound;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(child, BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &result);
    QueryPerformanceCounter(&end);
    std::printf("%.1f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                               static_cast<double>(frequency.QuadPart));
    return kFound;
  }
  if (command == L"file-dialog") {
    if (args.size() != 4) return Usage();
    return window ? FileDialog(window, args[3]) : kNotFound;
  }
  if (command == L"click") {
    if (args.size() < 4 || args.size() > 5) return Usage();
    const bool mouse = args.size() == 5;
    if (mouse && args[4] != L"--mouse") return Usage();
    if (!window) return kNotFound;
    HWND child = FindChildByText(window, args[3]);
    return child ? Click(window, child, mouse) : kNotFound;
  }
  return Usage();
}
