#include "toolkit/win32/win32_api.h"
#include "toolkit/win32/win32_backend.h"


#include <vector>

#include "platform/text_encoding.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/win32/statistics_message.h"
#include "toolkit/win32/win32_form_style.h"
#include "toolkit/win32/win32_peer.h"

namespace zentra {
namespace {

Win32Backend* g_current = nullptr;

void RegisterWindowClass(HINSTANCE instance, const char* name, UINT style) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = ZentraWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

// Windows of this thread that a modal form disables while it runs.
struct DisabledWindows {
  HWND modal;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableOther(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<DisabledWindows*>(param);
  if (window == state->modal || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  EnableWindow(window, FALSE);
  state->windows.push_back(window);
  return TRUE;
}

class ModalScope {
 public:
  explicit ModalScope(HWND modal) : state_{modal, {}} {
    previous_ = GetActiveWindow();
    EnumThreadWindows(GetCurrentThreadId(), DisableOther, reinterpret_cast<LPARAM>(&state_));
  }
  ~ModalScope() {
    // Enabled again before the modal form hides, so activation returns to
    // the window that was active before.
    for (auto it = state_.windows.rbegin(); it != state_.windows.rend(); ++it)
      if (IsWindow(*it)) EnableWindow(*it, TRUE);
    if (previous_ != nullptr && IsWindow(previous_) && previous_ != state_.modal)
      SetActiveWindow(previous_);
  }

 private:
  DisabledWindows state_;
  HWND previous_ = nullptr;
};

// What the heaps of the process hold in use: bytes (busy) or blocks
// (wanted blocks), over every heap of the process (the C runtime's and the
// system's), for a soak to tell heap growth from other memory. The heap
// functions are looked up when asked, as Windows 95 and 98 do not walk heaps;
// there the answer is -1.
LRESULT HeapInUse(bool blocks) {
  using GetHeaps = DWORD(WINAPI*)(DWORD, PHANDLE);
  using Walk = BOOL(WINAPI*)(HANDLE, LPPROCESS_HEAP_ENTRY);
  using Lock = BOOL(WINAPI*)(HANDLE);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto find = [kernel](const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(kernel, name));
  };
  auto getHeaps = reinterpret_cast<GetHeaps>(find("GetProcessHeaps"));
  auto walk = reinterpret_cast<Walk>(find("HeapWalk"));
  auto lock = reinterpret_cast<Lock>(find("HeapLock"));
  auto unlock = reinterpret_cast<Lock>(find("HeapUnlock"));
  if (getHeaps == nullptr || walk == nullptr || lock == nullptr || unlock == nullptr) return -1;
  std::vector<HANDLE> heaps(64);
  DWORD count = getHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  if (count > heaps.size()) {
    heaps.resize(count);
    count = getHeaps(count, heaps.data());
  }
  if (count == 0 || count > heaps.size()) return -1;
  unsigned long long bytes = 0, busy = 0;
  for (DWORD i = 0; i < count; ++i) {
    if (!lock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (walk(heaps[i], &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) == 0) continue;
      bytes += entry.cbData;
      ++busy;
    }
    unlock(heaps[i]);
  }
  return static_cast<LRESULT>(blocks ? busy : bytes);
}

}  // namespace

Win32Backend* Win32Backend::Current() { return g_current; }

Win32Backend::Win32Backend(HINSTANCE instance) : instance_(instance) {
  g_current = this;
  InitCommonControls();
  RegisterWindowClass(instance_, FormClassName(), CS_DBLCLKS);
  // A panel's bevels and a group box's frame follow its size: a container
  // that grows or shrinks is painted anew as a whole, not only in the strip
  // that the change uncovered.
  RegisterWindowClass(instance_, ContainerClassName(), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  statisticsMessage_ = RegisterWindowMessageA(kStatisticsMessageName);
}

LRESULT Win32Backend::AnswerStatistics(WPARAM which) const {
  switch (which) {
    case kWindowlessPainted: return static_cast<LRESULT>(statistics_.windowlessPainted);
    case kPaintMessages: return static_cast<LRESULT>(statistics_.paintMessages);
    case kInvalidations: return static_cast<LRESULT>(statistics_.invalidations);
    case kCachedFonts: return static_cast<LRESULT>(resources_.FontCount());
    case kCachedBrushes: return static_cast<LRESULT>(resources_.BrushCount());
    case kCachedPens: return static_cast<LRESULT>(resources_.PenCount());
    case kPendingRepaintRegions: return static_cast<LRESULT>(repaints_.size());
    case kHeapBytesInUse: return HeapInUse(false);
    case kHeapBlocksInUse: return HeapInUse(true);
    default: return -1;
  }
}

Win32Backend::~Win32Backend() {
  for (auto& repaint : repaints_) DeleteObject(repaint.second);
  for (auto& timer : timers_) KillTimer(nullptr, timer.first);
  if (g_current == this) g_current = nullptr;
}

std::unique_ptr<ControlPeer> Win32Backend::CreatePeer(Control& control) {
  return std::make_unique<Win32Peer>(*this, control);
}

void Win32Backend::Register(HWND window, Win32Peer* peer) { peers_[window] = peer; }

void Win32Backend::Unregister(HWND window) { peers_.erase(window); }

Win32Peer* Win32Backend::PeerOf(HWND window) const {
  auto it = peers_.find(window);
  return it == peers_.end() ? nullptr : it->second;
}

// --- repaints ---------------------------------------------------------------

void Win32Backend::AddRepaint(HWND window, const RECT& rect) {
  if (IsRectEmpty(&rect)) return;
  for (auto& repaint : repaints_) {
    if (repaint.first != window) continue;
    // Regions are combined in the program; only the flush reaches the system.
    HRGN more = CreateRectRgnIndirect(&rect);
    CombineRgn(repaint.second, repaint.second, more, RGN_OR);
    DeleteObject(more);
    return;
  }
  repaints_.emplace_back(window, CreateRectRgnIndirect(&rect));
}

void Win32Backend::FlushRepaints() {
  if (repaints_.empty()) return;
  std::vector<std::pair<HWND, HRGN>> pending;
  pending.swap(repaints_);
  for (auto& repaint : pending) {
    Win32Peer* peer = PeerOf(repaint.first);
    if (peer != nullptr && peer->Window() == repaint.first && IsWindowVisible(repaint.first))
      peer->PaintArea(repaint.second);
    // A hidden window is painted in full when it is shown.
    DeleteObject(repaint.second);
  }
}

void Win32Backend::ForgetRepaints(HWND window) {
  for (auto it = repaints_.begin(); it != repaints_.end(); ++it) {
    if (it->first != window) continue;
    DeleteObject(it->second);
    repaints_.erase(it);
    return;
  }
}

// --- message loop -----------------------------------------------------------

bool Win32Backend::PreTranslate(MSG& msg) {
  if (msg.hwnd == nullptr) return false;
  HWND root = GetAncestorRoot(msg.hwnd);
  Win32Peer* rootPeer = PeerOf(root);
  if (rootPeer == nullptr || rootPeer->Role() != PeerRole::Form) return false;
  if (msg.message == WM_KEYDOWN &&
      (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE || msg.wParam == VK_TAB)) {
    // An open drop-down list takes Enter and Esc itself.
    Win32Peer* focused = PeerOf(msg.hwnd);
    const bool droppedList = focused != nullptr && focused->Window() == msg.hwnd &&
                             focused->Adapter().KeepsDialogKeys(msg.hwnd);
    if (!droppedList) {
      ShiftState shift = 0;
      if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
      if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
      TForm& form = *rootPeer->GetControl().AsForm();
      // The model clicks the default or cancel button and moves the focus
      // in its tab order, exactly as in the tests.
      if (form.UserKeyDown(static_cast<std::uint16_t>(msg.wParam), shift)) return true;
    }
  }
  // Tab order of the native windows, arrow keys in groups and mnemonics.
  if (!IsWindow(root)) return true;
  return IsDialogMessageA(root, &msg) != FALSE;
}

bool Win32Backend::HandleMessage(bool wait) {
  FlushRepaints();  // requests made outside any window procedure
  MSG msg;
  if (wait) {
    // GetMessage reports a quit message by returning 0.
    if (GetMessageA(&msg, nullptr, 0, 0) == -1) return false;
  } else if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    return false;
  }
  // A quit message (from PostQuitMessage or posted by anyone to any of the
  // program's windows) is taken from the queue and dropped: only the
  // application's stop flag ends the program's loops, so that it always
  // ends through its own shutdown (windows closed, state saved).
  if (msg.message == WM_QUIT) return true;
  if (!PreTranslate(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

bool Win32Backend::PostMessage(WinHandle window, std::uint32_t msg, std::uintptr_t wParam,
                               std::intptr_t lParam) {
  return PostMessageA(reinterpret_cast<HWND>(window), msg, static_cast<WPARAM>(wParam),
                      static_cast<LPARAM>(lParam)) != FALSE;
}

void Win32Backend::RunModalLoop(TForm& form) {
  HWND modal = reinterpret_cast<HWND>(form.Handle());
  ModalScope scope(modal);
  if (modal != nullptr) SetForegroundWindow(modal);
  while (!form.ModalLoopDone()) {
    if (!HandleMessage(true)) break;
  }
}

// --- metrics ----------------------------------------------------------------

Size Win32Backend::FrameExtent(const TForm& form) const {
  const FormWindowStyle style = FormStyleOf(form.GetBorderStyle());
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style.style, FALSE, style.exStyle);
  return {r.right - r.left, r.bottom - r.top};
}

Size Win32Backend::ScreenSize() const {
  RECT area;
  if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
    return {area.right - area.left, area.bottom - area.top};
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Size Win32Backend::MeasureText(const Font& font, const std::string& text) const {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, const_cast<Win32Resources&>(resources_).FontFor(font));
  const std::string ansi = Utf8ToCp1252(text);
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, ansi.c_str(), static_cast<int>(ansi.size()), &size);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {size.cx, metrics.tmHeight};
}

// --- timers -----------------------------------------------------------------

void CALLBACK Win32Backend::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  Win32Backend* backend = Current();
  if (backend == nullptr) return;
  auto it = backend->timers_.find(id);
  if (it == backend->timers_.end()) return;
  std::function<void()> tick = it->second;  // the tick may stop its own timer
  RunGuarded(tick);
}

std::uintptr_t Win32Backend::StartTimer(unsigned intervalMs, std::function<void()> onTick) {
  if (intervalMs == 0 || !onTick) return 0;
  const UINT_PTR id = SetTimer(nullptr, 0, intervalMs, TimerProc);
  if (id == 0) return 0;
  timers_[id] = std::move(onTick);
  return id;
}

void Win32Backend::Wake() { PostThreadMessageA(uiThread_, WM_NULL, 0, 0); }

void Win32Backend::StopTimer(std::uintptr_t id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  KillTimer(nullptr, id);
  timers_.erase(it);
}

}  // namespace zentra
