// The headless widget backend: the full state of the model with no pixels.
// It queues posted messages, drives toolkit timers by a virtual clock,
// records the rectangles that windowless controls invalidate per window, and
// answers modal windows through a scripted handler, so tests run fast and
// deterministically.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/control.h"

namespace zentra {

class HeadlessBackend;

class HeadlessPeer : public ControlPeer {
 public:
  HeadlessPeer(HeadlessBackend& backend, Control& control, WinHandle handle);
  ~HeadlessPeer() override;

  void Changed(Change what) override;
  void Invalidate(const Rect& rect) override;
  WinHandle Handle() const override { return handle_; }
  void DefaultHandler(Message& message) override;

  Control& GetControl() const { return control_; }
  // How often the model reported a change of that kind.
  int ChangeCount(Change what) const;

 private:
  HeadlessBackend& backend_;
  Control& control_;
  WinHandle handle_;
  std::array<int, kChangeKinds> changes_{};
};

class HeadlessBackend : public Backend {
 public:
  struct Invalidation {
    const Control* control;  // the control whose peer was asked to repaint
    Rect rect;               // in the form's client coordinates
  };

  HeadlessBackend();
  ~HeadlessBackend() override;

  std::unique_ptr<ControlPeer> CreatePeer(Control& control) override;
  bool HandleMessage(bool wait) override;
  bool PostMessage(WinHandle window, std::uint32_t msg, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  void RunModalLoop(TForm& form) override;
  Size FrameExtent(const TForm& form) const override;
  Size ScreenSize() const override { return screen_; }
  std::uintptr_t StartTimer(unsigned intervalMs, std::function<void()> onTick) override;
  void StopTimer(std::uintptr_t id) override;

  // --- for tests -------------------------------------------------------------
  void SetScreenSize(Size size) { screen_ = size; }
  // Called when a form enters its modal loop; it should give the form a modal
  // result (for example by clicking its OK button). A modal form left without
  // a result when no message is queued is an error, never a hang.
  void SetModalHandler(std::function<void(TForm&)> handler) { modalHandler_ = std::move(handler); }
  // Names of the forms shown modally, in order.
  const std::vector<std::string>& ModalLog() const { return modalLog_; }

  // Virtual clock of the toolkit timers, in milliseconds.
  std::uint64_t Now() const { return now_; }
  // Advances the clock, firing due timers in time order and handling the
  // messages they post.
  void AdvanceClock(std::uint64_t ms);
  int ActiveTimerCount() const { return static_cast<int>(timers_.size()); }

  // The form with that window handle, or null.
  TForm* FormOf(WinHandle window) const;
  std::size_t PendingMessages() const;
  // Repaint requests per form window.
  const std::vector<Invalidation>& Invalidations(WinHandle form) const;
  int InvalidationCount(WinHandle form) const {
    return static_cast<int>(Invalidations(form).size());
  }
  void ClearInvalidations() { invalidations_.clear(); }

  // Last message that reached a form's default handling.
  const Message& LastDefaultMessage() const { return lastDefault_; }

 private:
  friend class HeadlessPeer;
  struct Posted {
    WinHandle window;
    Message message;
  };
  struct Timer {
    unsigned interval;
    std::uint64_t due;
    std::function<void()> onTick;
  };

  WinHandle NewHandle() { return nextHandle_ += 4; }
  void RegisterForm(WinHandle handle, TForm* form);
  void RegisterWindow(WinHandle handle, Control* control);
  void UnregisterWindow(WinHandle handle);
  void RecordInvalidation(const Control& control, const Rect& rect);

  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Posted> queue_;
  std::map<WinHandle, TForm*> forms_;
  // Every windowed control by handle (forms too): where posted messages go.
  std::map<WinHandle, Control*> windows_;
  WinHandle nextHandle_ = 0x10000;
  Size screen_{1024, 768};
  std::function<void(TForm&)> modalHandler_;
  std::vector<std::string> modalLog_;
  std::uint64_t now_ = 0;
  std::uintptr_t nextTimer_ = 0;
  std::map<std::uintptr_t, Timer> timers_;
  std::map<WinHandle, std::vector<Invalidation>> invalidations_;
  Message lastDefault_;
};

}  // namespace zentra
