// Every request that reaches the simulated driver, in order: configuration
// commands (with the parameter text and the record as the driver saw it) and
// control messages (handle, message, dw1, dw2 and the block the driver read
// or wrote). Tests use it as the oracle of what the program sent; the
// driver trace writes each record out as it is added.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win_defs.h"

namespace zentra::sim {

struct CallRecord {
  enum class Kind { ConfigCommand, WaveInMessage, WaveOutMessage, Open, Close };
  Kind kind = Kind::ConfigCommand;
  // Configuration commands: the command name and the full parameter text.
  // result is 1 when the driver completed the command; blockAfter stays
  // empty when it refused it (nothing performed, no record written back).
  std::string command;
  std::string parameters;
  // Control messages, opens and closes.
  WinHandle handle = 0;
  std::uint32_t message = 0;
  std::uintptr_t dw1 = 0;
  std::uintptr_t dw2 = 0;
  std::uint32_t result = 0;
  int deviceSlot = -1;  // card index * 6 + pair index, -1 when not a card device
  bool waveIn = false;  // opens and closes: of a record device (waveInOpen, waveInClose)
  // The record or block contents: as received (before) and as left (after).
  std::vector<std::uint8_t> blockBefore;
  std::vector<std::uint8_t> blockAfter;
};

class CallLog {
 public:
  // Sees every record as it is added, in the log's order (under its lock).
  using Observer = std::function<void(const CallRecord&)>;

  void Add(CallRecord record) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (observer_) observer_(record);
    if (keep_) records_.push_back(std::move(record));
  }
  // Whether the log keeps its records (default) or only hands each to the
  // observer: a program that runs on the simulated driver for hours polls
  // the meters ten times a second per device, and kept records would grow
  // without end.
  void SetKeepRecords(bool keep) {
    std::lock_guard<std::mutex> lock(mutex_);
    keep_ = keep;
    if (!keep_) std::vector<CallRecord>().swap(records_);
  }
  void SetObserver(Observer observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observer_ = std::move(observer);
  }
  std::vector<CallRecord> Records() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<CallRecord> records_;
  Observer observer_;
  bool keep_ = true;
};

}  // namespace zentra::sim
