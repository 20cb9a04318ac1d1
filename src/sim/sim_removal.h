// The simulated driver's source of device-removal queries: it asks whether a
// card may be removed, as the system does before a card goes away. It hands
// the program a DEV_BROADCAST_DEVNODE record (device type 1, the card's
// device node) through a callback that the program wires to post
// WM_DEVICECHANGE / DBT_DEVICEQUERYREMOVE to its main window. The records
// live as long as this object, so a posted pointer to one stays valid.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/win_defs.h"
#include "sim/sim_cards.h"

namespace zentra::sim {

class DeviceRemovalSource {
 public:
  // Runs on the thread that raises the query (the caller's for
  // RaiseRemovalQuery, a thread of its own for a scheduled removal); it must
  // only post.
  using Callback = std::function<void(std::uint32_t event, const DevBroadcastDevnode* record)>;

  explicit DeviceRemovalSource(const SimCards& cards);
  ~DeviceRemovalSource();  // cancels a scheduled removal and waits for its thread
  DeviceRemovalSource(const DeviceRemovalSource&) = delete;
  DeviceRemovalSource& operator=(const DeviceRemovalSource&) = delete;

  void SetCallback(Callback callback);

  // Raises the query for card (0..3) at once. False when the card is not
  // present or no callback is set.
  bool RaiseRemovalQuery(int card);

  // Raises the query for card after delayMs on a thread of its own; a later
  // call replaces an earlier one. Cancel() or destruction stops it.
  void ScheduleRemoval(int card, std::uint32_t delayMs);
  // Schedules what the scenario asks for ([Driver] RemoveCard, RemoveCardAfterMs).
  void ScheduleFromScenario();
  void Cancel();

  // The record a query for card carries.
  const DevBroadcastDevnode& RecordOf(int card) const { return records_[card]; }

 private:
  const SimCards& cards_;
  std::array<DevBroadcastDevnode, kSimMaxCards> records_{};
  std::mutex mutex_;
  std::condition_variable wake_;
  Callback callback_;
  bool cancelled_ = false;
  std::thread thread_;
};

}  // namespace zentra::sim
