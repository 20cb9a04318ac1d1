#include "sim/sim_removal.h"

#include <chrono>

namespace zentra::sim {

DeviceRemovalSource::DeviceRemovalSource(const SimCards& cards) : cards_(cards) {
  for (int card = 0; card < kSimMaxCards; ++card) {
    records_[card] = DevBroadcastDevnode{sizeof(DevBroadcastDevnode), DBT_DEVTYP_DEVNODE, 0,
                                         cards_.Devnode(card)};
  }
}

DeviceRemovalSource::~DeviceRemovalSource() { Cancel(); }

void DeviceRemovalSource::SetCallback(Callback callback) {
  std::lock_guard<std::mutex> lock(mutex_);
  callback_ = std::move(callback);
}

bool DeviceRemovalSource::RaiseRemovalQuery(int card) {
  if (card < 0 || card >= cards_.CardCount()) return false;
  Callback callback;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    callback = callback_;
  }
  if (!callback) return false;
  callback(DBT_DEVICEQUERYREMOVE, &records_[card]);
  return true;
}

void DeviceRemovalSource::ScheduleRemoval(int card, std::uint32_t delayMs) {
  Cancel();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = false;
  }
  thread_ = std::thread([this, card, delayMs] {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (wake_.wait_for(lock, std::chrono::milliseconds(delayMs), [this] { return cancelled_; })) {
        return;
      }
    }
    RaiseRemovalQuery(card);
  });
}

void DeviceRemovalSource::ScheduleFromScenario() {
  const CardScenario& scenario = cards_.Scenario();
  if (scenario.removeCard >= 1) ScheduleRemoval(scenario.removeCard - 1, scenario.removeCardAfterMs);
}

void DeviceRemovalSource::Cancel() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

}  // namespace zentra::sim
