#include "mixer/posting_timer.h"

#include "platform/platform.h"
#include "toolkit/application.h"

namespace zentra {
namespace {

// Runs on the multimedia timer thread: only posts.
template <std::uint32_t kMessage>
void ZENTRA_TIMER_CALLBACK PostOnTick(std::uint32_t timerId, std::uint32_t, std::uintptr_t window,
                                      std::uintptr_t, std::uintptr_t) {
  PostMessageToWindow(static_cast<WinHandle>(window), kMessage, timerId, 0);
}

TimerCallback CallbackFor(std::uint32_t message) {
  switch (message) {
    case WM_METER_DECAY: return &PostOnTick<WM_METER_DECAY>;
    case WM_LEVEL_POLL: return &PostOnTick<WM_LEVEL_POLL>;
  }
  return nullptr;
}

}  // namespace

void PostingTimer::Start(WinHandle window, std::uint32_t periodMs) {
  if (id_ != 0) return;
  TimerCallback callback = CallbackFor(message_);
  if (callback == nullptr) return;
  id_ = CurrentPlatform().timer->timeSetEvent(periodMs, periodMs, callback, window, TIME_PERIODIC);
}

void PostingTimer::Kill() {
  if (id_ != 0) CurrentPlatform().timer->timeKillEvent(id_);
  id_ = 0;
}

}  // namespace zentra
