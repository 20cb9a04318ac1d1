// The native Win32 widget backend. Forms and container controls are windows
// of the program's own window classes; push buttons, check boxes, radio
// buttons, group boxes, edits, combo boxes, track bars and tab controls are
// real native child windows; windowless controls are painted with GDI by the
// window of their nearest windowed ancestor. Only ANSI functions are used:
// the model's UTF-8 texts are converted to Windows-1252 at this boundary.
#pragma once

#include "toolkit/win32/win32_api.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/win32/win32_resources.h"

namespace zentra {

class Win32Peer;

// Window procedure of the form and container classes.
LRESULT CALLBACK ZentraWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// The top-level window that contains a window (itself for a top-level one).
HWND GetAncestorRoot(HWND window);

class Win32Backend : public Backend {
 public:
  explicit Win32Backend(HINSTANCE instance);
  ~Win32Backend() override;

  std::unique_ptr<ControlPeer> CreatePeer(Control& control) override;
  bool HandleMessage(bool wait) override;
  bool PostMessage(WinHandle window, std::uint32_t msg, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  void RunModalLoop(TForm& form) override;
  Size FrameExtent(const TForm& form) const override;
  Size ScreenSize() const override;
  std::uintptr_t StartTimer(unsigned intervalMs, std::function<void()> onTick) override;
  void StopTimer(std::uintptr_t id) override;
  void Wake() override;
  Size MeasureText(const Font& font, const std::string& text) const override;

  HINSTANCE Instance() const { return instance_; }
  // The thread that created the backend: the user-interface thread.
  DWORD UiThread() const { return uiThread_; }
  Win32Resources& Resources() { return resources_; }

  // Window handle -> peer, for every window the backend created.
  void Register(HWND window, Win32Peer* peer);
  void Unregister(HWND window);
  Win32Peer* PeerOf(HWND window) const;

  // The control that holds the mouse capture while a button is down. A
  // control that goes away while it holds it is forgotten (null: any).
  Control* MouseTarget() const { return mouseTarget_; }
  void SetMouseTarget(Control* control) { mouseTarget_ = control; }
  void ForgetMouseTarget(const Control* control) {
    if (control == nullptr || control == mouseTarget_) mouseTarget_ = nullptr;
  }

  // Child-window identifiers for WM_COMMAND; they start above IDOK/IDCANCEL
  // so that the dialog manager's own commands never look like a control.
  int NextControlId() { return nextControlId_++; }

  // Repaint requests of windowless controls are collected per window and
  // painted together, directly: when the message being handled is done (the
  // outermost call of one of the program's window procedures returns) and
  // before the loop takes the next message. Segments of several meters
  // changing in one tick then cost one paint per window, not one WM_PAINT
  // round trip per segment.
  void AddRepaint(HWND window, const RECT& rect);
  void FlushRepaints();
  void ForgetRepaints(HWND window);
  // Marks a window procedure of the program as running (see AddRepaint).
  class DispatchScope {
   public:
    explicit DispatchScope(Win32Backend& backend) : backend_(backend) { ++backend_.dispatchDepth_; }
    ~DispatchScope() {
      if (--backend_.dispatchDepth_ == 0) backend_.FlushRepaints();
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

   private:
    Win32Backend& backend_;
  };

  // The backend of the running application (null when another is in use).
  static Win32Backend* Current();

  // What the backend painted since it started, for measuring: windowless
  // controls painted (those without windowless children: a meter's
  // segments, not the meter beneath them), window paints (WM_PAINT and the
  // direct paints of collected repaint requests), repaint requests made.
  // Any window of the program answers the statistics message
  // (statistics_message.h) with one of these or another figure.
  struct PaintStatistics {
    unsigned long windowlessPainted = 0;
    unsigned long paintMessages = 0;
    unsigned long invalidations = 0;
  };
  PaintStatistics& Statistics() { return statistics_; }
  UINT StatisticsMessage() const { return statisticsMessage_; }
  LRESULT AnswerStatistics(WPARAM which) const;

  static const char* FormClassName() { return "ZentraForm"; }
  static const char* ContainerClassName() { return "ZentraPanel"; }

 private:
  static void CALLBACK TimerProc(HWND window, UINT msg, UINT_PTR id, DWORD time);
  bool PreTranslate(MSG& msg);

  HINSTANCE instance_;
  DWORD uiThread_ = GetCurrentThreadId();
  Win32Resources resources_;
  std::map<HWND, Win32Peer*> peers_;
  std::map<UINT_PTR, std::function<void()>> timers_;
  int nextControlId_ = 100;
  Control* mouseTarget_ = nullptr;
  PaintStatistics statistics_;
  UINT statisticsMessage_ = 0;
  // Windows with repaint requests not yet handed on, each with its area.
  std::vector<std::pair<HWND, HRGN>> repaints_;
  int dispatchDepth_ = 0;
};

}  // namespace zentra
