// Multimedia timers. Callbacks run on a timer thread and must only post.
#pragma once

#include "platform/win_defs.h"

namespace zentra {

// Same calling convention as the platform's TIMECALLBACK.
#if defined(_WIN32) && !defined(_WIN64)
#define ZENTRA_TIMER_CALLBACK __attribute__((stdcall))
#else
#define ZENTRA_TIMER_CALLBACK
#endif

using TimerCallback = void(ZENTRA_TIMER_CALLBACK*)(std::uint32_t timerId, std::uint32_t message, std::uintptr_t user,
                               std::uintptr_t dw1, std::uintptr_t dw2);

struct TimeCaps {
  std::uint32_t wPeriodMin;
  std::uint32_t wPeriodMax;
};

class TimerApi {
 public:
  virtual ~TimerApi() = default;
  // Returns the timer's identifier, 0 on failure.
  virtual std::uint32_t timeSetEvent(std::uint32_t delay, std::uint32_t resolution,
                                     TimerCallback callback, std::uintptr_t user,
                                     std::uint32_t flags) = 0;
  virtual std::uint32_t timeKillEvent(std::uint32_t timerId) = 0;
  virtual std::uint32_t timeGetDevCaps(TimeCaps* caps, std::uint32_t size) = 0;
};

}  // namespace zentra
