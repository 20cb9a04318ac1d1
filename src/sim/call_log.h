// Every request that reaches the simulated driver, in order: configuration
// commands (with the parameter text and the record as the driver saw it) and
// control messages (handle, message, dw1, dw2 and the block the driver read
// or wrote). Tests use it as the oracle of what the program sent.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win_defs.h"

namespace zentra::sim {

struct CallRecord {
  enum class Kind { ConfigCommand, WaveInMessage, WaveOutMessage, Open, Close };
  Kind kind = Kind::ConfigCommand;
  // Configuration commands: the command name and the full parameter text.
  std::string command;
  std::string parameters;
  // Control messages, opens and closes.
  WinHandle handle = 0;
  std::uint32_t message = 0;
  std::uintptr_t dw1 = 0;
  std::uintptr_t dw2 = 0;
  std::uint32_t result = 0;
  int deviceSlot = -1;  // card index * 6 + pair index, -1 when not a card device
  // The record or block contents: as received (before) and as left (after).
  std::vector<std::uint8_t> blockBefore;
  std::vector<std::uint8_t> blockAfter;
};

class CallLog {
 public:
  void Add(CallRecord record) {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back(std::move(record));
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
};

}  // namespace zentra::sim
