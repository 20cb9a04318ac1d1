#include "platform/host/virtual_timer_api.h"

namespace zentra {
namespace {

constexpr std::uint32_t kTimerNoError = 0;
constexpr std::uint32_t kTimerNoCanDo = 97;  // TIMERR_NOCANDO

}  // namespace

std::uint32_t VirtualTimerApi::timeSetEvent(std::uint32_t delay, std::uint32_t /*resolution*/,
                                            TimerCallback callback, std::uintptr_t user,
                                            std::uint32_t flags) {
  if (callback == nullptr || delay < kPeriodMin || delay > kPeriodMax) return 0;
  std::lock_guard<std::mutex> lock(mutex_);
  const std::uint32_t id = nextId_++;
  if (nextId_ == 0) nextId_ = 1;
  timers_[id] = Timer{delay, flags, callback, user, now_ + delay, nextOrder_++};
  return id;
}

std::uint32_t VirtualTimerApi::timeKillEvent(std::uint32_t timerId) {
  std::lock_guard<std::mutex> lock(mutex_);
  return timers_.erase(timerId) != 0 ? kTimerNoError : MMSYSERR_INVALPARAM;
}

std::uint32_t VirtualTimerApi::timeGetDevCaps(TimeCaps* caps, std::uint32_t size) {
  if (caps == nullptr || size < sizeof(TimeCaps)) return kTimerNoCanDo;
  caps->wPeriodMin = kPeriodMin;
  caps->wPeriodMax = kPeriodMax;
  return kTimerNoError;
}

void VirtualTimerApi::Advance(std::uint64_t milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  const std::uint64_t target = now_ + milliseconds;
  while (true) {
    // The earliest due timer within reach.
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->second.due > target) continue;
      if (next == timers_.end() || it->second.due < next->second.due ||
          (it->second.due == next->second.due && it->second.order < next->second.order))
        next = it;
    }
    if (next == timers_.end()) break;
    const std::uint32_t id = next->first;
    const Timer timer = next->second;
    now_ = timer.due;
    if (timer.flags & TIME_PERIODIC) {
      next->second.due += timer.delay;
      next->second.order = nextOrder_++;
    } else {
      timers_.erase(next);  // a one-shot timer ends with its callback
    }
    lock.unlock();
    timer.callback(id, 0, timer.user, 0, 0);
    lock.lock();
  }
  now_ = target;
}

std::uint64_t VirtualTimerApi::Now() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return now_;
}

std::vector<std::uint32_t> VirtualTimerApi::LiveTimers() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::uint32_t> ids;
  for (const auto& entry : timers_) ids.push_back(entry.first);
  return ids;
}

std::size_t VirtualTimerApi::LiveTimerCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return timers_.size();
}

bool VirtualTimerApi::TimerInfo(std::uint32_t timerId, std::uint32_t* delay,
                                std::uint32_t* flags) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = timers_.find(timerId);
  if (it == timers_.end()) return false;
  if (delay) *delay = it->second.delay;
  if (flags) *flags = it->second.flags;
  return true;
}

}  // namespace zentra
