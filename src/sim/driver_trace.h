// The driver trace: every call the simulated driver answers, one text line
// per call in a file, written and flushed the moment the call is logged
// (line formats in docs/scenario.md). It is fed by the call log, so trace
// and log never disagree. Tracing never blocks or fails the driver: a file
// that cannot be opened or written is reported once and tracing stops.
// Thread-safe: configuration commands are traced from the driver's thread.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "sim/call_log.h"

namespace zentra::sim {

class DriverTrace {
 public:
  // Milliseconds since the driver started.
  using Clock = std::function<std::uint64_t()>;

  // Starts a fresh trace in path (an existing file is replaced); an empty
  // path traces nothing.
  DriverTrace(const std::string& path, Clock clock);

  bool Active() const;
  void Write(const CallRecord& record);
  std::vector<std::string> Problems() const;

  // The line of one call, without the line end.
  static std::string Line(std::uint64_t ms, const CallRecord& record);

 private:
  void Fail(const std::string& what);  // with mutex_ held

  std::string path_;
  Clock clock_;
  mutable std::mutex mutex_;
  std::ofstream out_;
  bool active_ = false;
  std::vector<std::string> problems_;
};

}  // namespace zentra::sim
