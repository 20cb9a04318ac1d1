#include "support/call_sequence.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace zentra::testing {
namespace {

using Kind = sim::CallRecord::Kind;

std::string Hex(std::uintptr_t value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::WaveInMessage: return "in";
    case Kind::WaveOutMessage: return "out";
    case Kind::Open: return "open";
    case Kind::Close: return "close";
    case Kind::ConfigCommand: return "cmd";
  }
  return "?";
}

bool StartsWith(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& head) {
  return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
}

bool IsMessage(const sim::CallRecord& r) {
  return r.kind == Kind::WaveInMessage || r.kind == Kind::WaveOutMessage;
}

}  // namespace

Call Call::Command(const std::string& name) {
  Call call(Kind::ConfigCommand, 0);
  call.command_ = name;
  return call;
}

bool Call::Matches(const sim::CallRecord& r) const {
  if (r.kind != kind_) return false;
  if (kind_ == Kind::ConfigCommand && r.command != command_) return false;
  if (IsMessage(r) && r.message != message_) return false;
  if (slot_ && r.deviceSlot != *slot_) return false;
  if (handle_ && r.handle != *handle_) return false;
  if (dw1_ && r.dw1 != *dw1_) return false;
  if (dw2_ && r.dw2 != *dw2_) return false;
  if (result_ && r.result != *result_) return false;
  if (block_ && !StartsWith(r.blockAfter, *block_)) return false;
  if (sent_ && !StartsWith(r.blockBefore, *sent_)) return false;
  return true;
}

std::string Call::Describe() const {
  std::ostringstream out;
  out << KindName(kind_);
  if (kind_ == Kind::ConfigCommand) out << " " << command_;
  if (kind_ == Kind::WaveInMessage || kind_ == Kind::WaveOutMessage) out << " " << Hex(message_, 4);
  out << " slot " << (slot_ ? std::to_string(*slot_) : "*");
  if (handle_) out << " handle " << Hex(*handle_, 8);
  out << " dw1 " << (dw1_ ? Hex(*dw1_, 8) : "*");
  out << " dw2 " << (dw2_ ? Hex(*dw2_, 8) : "*");
  if (result_) out << " result " << *result_;
  if (sent_) out << " sent " << HexBytes(*sent_) << "...";
  if (block_) out << " block " << HexBytes(*block_) << "...";
  if (optional_) out << " (optional)";
  return out.str();
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  char pair[3];
  for (std::uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", b);
    out += pair;
  }
  return out;
}

std::string DescribeRecord(const sim::CallRecord& r) {
  std::ostringstream out;
  out << KindName(r.kind);
  if (r.kind == Kind::ConfigCommand) out << " " << r.command;
  if (IsMessage(r)) out << " " << Hex(r.message, 4);
  out << " slot " << r.deviceSlot << " handle " << Hex(r.handle, 8) << " dw1 " << Hex(r.dw1, 8)
      << " dw2 " << Hex(r.dw2, 8) << " result " << r.result;
  if (!r.blockBefore.empty()) out << " sent " << HexBytes(r.blockBefore);
  if (!r.blockAfter.empty()) out << " block " << HexBytes(r.blockAfter);
  return out.str();
}

namespace {

// Both sequences written out in full beneath a failure, so that a reader
// sees the whole conversation and not only where it first went wrong.
std::string BothSequences(const std::vector<sim::CallRecord>& actual, const std::vector<Call>& expected) {
  std::string out = "\n  the table (" + std::to_string(expected.size()) + " entries):";
  for (std::size_t e = 0; e < expected.size(); ++e)
    out += "\n    #" + std::to_string(e) + " " + expected[e].Describe();
  out += "\n  the calls (" + std::to_string(actual.size()) + "):";
  for (std::size_t a = 0; a < actual.size(); ++a)
    out += "\n    #" + std::to_string(a) + " " + DescribeRecord(actual[a]);
  return out;
}

}  // namespace

::testing::AssertionResult CallsAre(const std::vector<sim::CallRecord>& actual,
                                    const std::vector<Call>& expected) {
  std::size_t e = 0;
  for (std::size_t a = 0; a < actual.size(); ++a) {
    while (e < expected.size() && expected[e].IsOptional() && !expected[e].Matches(actual[a])) ++e;
    if (e == expected.size()) {
      return ::testing::AssertionFailure()
             << "call #" << a << " was not expected (all " << expected.size()
             << " expected calls were seen): " << DescribeRecord(actual[a]) << BothSequences(actual, expected);
    }
    if (!expected[e].Matches(actual[a])) {
      return ::testing::AssertionFailure() << "first difference at call #" << a << " (entry #" << e
                                           << " of the table)\n  expected: " << expected[e].Describe()
                                           << "\n  actual:   " << DescribeRecord(actual[a])
                                           << BothSequences(actual, expected);
    }
    ++e;
  }
  for (; e < expected.size(); ++e) {
    if (!expected[e].IsOptional()) {
      return ::testing::AssertionFailure() << "missing after the last of " << actual.size()
                                           << " calls (entry #" << e << " of the table): "
                                           << expected[e].Describe() << BothSequences(actual, expected);
    }
  }
  return ::testing::AssertionSuccess();
}

std::vector<sim::CallRecord> ControlMessages(const std::vector<sim::CallRecord>& records,
                                             std::initializer_list<std::uint32_t> only) {
  std::vector<sim::CallRecord> out;
  for (const sim::CallRecord& r : records) {
    if (!IsMessage(r)) continue;
    if (only.size() != 0 && std::find(only.begin(), only.end(), r.message) == only.end()) continue;
    out.push_back(r);
  }
  return out;
}

std::vector<sim::CallRecord> DeviceCallsExcept(const std::vector<sim::CallRecord>& records,
                                               std::initializer_list<std::uint32_t> left_out) {
  std::vector<sim::CallRecord> out;
  for (const sim::CallRecord& r : records) {
    if (r.kind == sim::CallRecord::Kind::ConfigCommand) continue;
    if (IsMessage(r) && std::find(left_out.begin(), left_out.end(), r.message) != left_out.end()) continue;
    out.push_back(r);
  }
  return out;
}

std::vector<sim::CallRecord> ControlMessagesExcept(const std::vector<sim::CallRecord>& records,
                                                   std::initializer_list<std::uint32_t> left_out) {
  std::vector<sim::CallRecord> out;
  for (const sim::CallRecord& r : records)
    if (IsMessage(r) && std::find(left_out.begin(), left_out.end(), r.message) == left_out.end())
      out.push_back(r);
  return out;
}

std::vector<std::uint8_t> Bytes32(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

}  // namespace zentra::testing
