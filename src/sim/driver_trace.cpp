#include "sim/driver_trace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "sim/driver_config.h"

namespace zentra::sim {
namespace {

std::string Hex(unsigned long long value, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, value);
  return text;
}

std::string Bytes(const std::vector<std::uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

const char* Direction(bool in) { return in ? "in" : "out"; }

const char* CommandEnding(const CallRecord& record) {
  if (record.blockAfter.empty()) return "refused";
  return record.result != 0 ? "completed" : "never";
}

}  // namespace

DriverTrace::DriverTrace(const std::string& path, Clock clock)
    : path_(path), clock_(std::move(clock)) {
  if (path_.empty()) return;
  errno = 0;
  out_.open(std::filesystem::path(path_), std::ios::binary | std::ios::trunc);
  if (!out_) {
    const std::string reason = errno != 0 ? std::string(" (") + std::strerror(errno) + ")" : "";
    Fail("cannot be opened for writing" + reason + "; no trace is written");
    return;
  }
  active_ = true;
}

bool DriverTrace::Active() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return active_;
}

std::string DriverTrace::Line(std::uint64_t ms, const CallRecord& r) {
  std::string line = std::to_string(ms) + " ";
  const std::string handle = Hex(r.handle, 8);
  const std::string result = std::to_string(r.result);
  switch (r.kind) {
    case CallRecord::Kind::Open:
      return line + "open " + Direction(r.waveIn) + " " + std::to_string(r.deviceSlot) + " " +
             handle + " " + result;
    case CallRecord::Kind::Close:
      return line + "close " + Direction(r.waveIn) + " " + handle + " " + result;
    case CallRecord::Kind::WaveInMessage:
    case CallRecord::Kind::WaveOutMessage:
      line += std::string("msg ") + Direction(r.kind == CallRecord::Kind::WaveInMessage) + " " +
              handle + " " + std::to_string(r.deviceSlot) + " " + Hex(r.message, 4) + " " +
              Hex(r.dw1, 8) + " " + Hex(r.dw2, 8) + " " + result;
      break;
    case CallRecord::Kind::ConfigCommand:
      line += "cmd " + r.command + " " + std::to_string(ConfigRecordSize(r.command)) + " " +
              CommandEnding(r);
      break;
  }
  if (!r.blockAfter.empty()) line += " " + Bytes(r.blockAfter);
  return line;
}

void DriverTrace::Write(const CallRecord& record) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!active_) return;
  out_ << Line(clock_(), record) << '\n';
  out_.flush();
  if (!out_) Fail("could not be written; tracing stopped");
}

void DriverTrace::Fail(const std::string& what) {
  active_ = false;
  out_.close();
  problems_.push_back("[Driver] TraceFile " + path_ + ": " + what);
}

std::vector<std::string> DriverTrace::Problems() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return problems_;
}

}  // namespace zentra::sim
