// A periodic multimedia timer whose callback only posts one window message
// (its identifier as wParam) to the window it was started for; it kills
// itself when it is destroyed, so no timer outlives its window.
#pragma once

#include <cstdint>

#include "platform/win_defs.h"

namespace zentra {

class PostingTimer {
 public:
  explicit PostingTimer(std::uint32_t message) : message_(message) {}
  ~PostingTimer() { Kill(); }
  PostingTimer(const PostingTimer&) = delete;
  PostingTimer& operator=(const PostingTimer&) = delete;

  // timeSetEvent(period, period, ..., window, TIME_PERIODIC) when not running.
  void Start(WinHandle window, std::uint32_t periodMs);
  // timeKillEvent when running.
  void Kill();

  bool Running() const { return id_ != 0; }
  std::uint32_t Id() const { return id_; }

 private:
  std::uint32_t message_;
  std::uint32_t id_ = 0;
};

}  // namespace zentra
