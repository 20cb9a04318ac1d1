// Multimedia timers on a virtual clock for tests: nothing fires until the
// test advances the clock; Advance(ms) then runs every due callback in time
// order on the calling thread. Live timers are tracked so a test can prove
// that every timer was killed.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "platform/timer_api.h"

namespace zentra {

class VirtualTimerApi : public TimerApi {
 public:
  static constexpr std::uint32_t kPeriodMin = 1;
  static constexpr std::uint32_t kPeriodMax = 1000000;

  std::uint32_t timeSetEvent(std::uint32_t delay, std::uint32_t resolution,
                             TimerCallback callback, std::uintptr_t user,
                             std::uint32_t flags) override;
  std::uint32_t timeKillEvent(std::uint32_t timerId) override;
  std::uint32_t timeGetDevCaps(TimeCaps* caps, std::uint32_t size) override;

  // Moves the clock forward, firing due timers in order (a periodic timer
  // fires once per period passed). Callbacks may set and kill timers.
  void Advance(std::uint64_t milliseconds);
  std::uint64_t Now() const;

  std::vector<std::uint32_t> LiveTimers() const;
  std::size_t LiveTimerCount() const;
  // Delay and flags of a live timer (false when not live).
  bool TimerInfo(std::uint32_t timerId, std::uint32_t* delay, std::uint32_t* flags) const;

 private:
  struct Timer {
    std::uint32_t delay = 0;
    std::uint32_t flags = 0;
    TimerCallback callback = nullptr;
    std::uintptr_t user = 0;
    std::uint64_t due = 0;
    std::uint64_t order = 0;  // ties fire in the order the timers were set
  };

  mutable std::mutex mutex_;
  std::map<std::uint32_t, Timer> timers_;
  std::uint64_t now_ = 0;
  std::uint32_t nextId_ = 1;
  std::uint64_t nextOrder_ = 0;
};

}  // namespace zentra
