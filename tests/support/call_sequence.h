// The conversation with the driver as a table: a test states the calls it
// expects (control messages, opens, closes, configuration commands) and
// compares them in order with what the simulated driver logged. An extra,
// missing or reordered call fails, and the message names the first
// difference with both calls written out.
//
//   EXPECT_TRUE(CallsAre(rig.Messages(), {
//       In(CTL_GET_INPUT_STATE).Slot(0),
//       In(CTL_SET_INPUT_STATE).Slot(0).Dw1(0x00010201),
//       In(CTL_IN_METER_START).Slot(0).Dw1(0).Dw2(0),
//   }));
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "sim/call_log.h"

namespace zentra::testing {

class Call {
 public:
  using Kind = sim::CallRecord::Kind;

  // waveInMessage / waveOutMessage with that message.
  static Call In(std::uint32_t message) { return Call(Kind::WaveInMessage, message); }
  static Call Out(std::uint32_t message) { return Call(Kind::WaveOutMessage, message); }
  // A control handle opened or closed (the direction is not logged).
  static Call Open(int slot) { return Call(Kind::Open, 0).Slot(slot); }
  static Call Close(int slot) { return Call(Kind::Close, 0).Slot(slot); }
  // A configuration command by name ("getconfig", "setconfig", ...).
  static Call Command(const std::string& name);

  Call& Slot(int slot) { slot_ = slot; return *this; }
  Call& Handle(WinHandle handle) { handle_ = handle; return *this; }
  Call& Dw1(std::uintptr_t value) { dw1_ = value; return *this; }
  Call& Dw2(std::uintptr_t value) { dw2_ = value; return *this; }
  Call& Result(std::uint32_t value) { result_ = value; return *this; }
  // The block (or command record) as the driver left it, from its start.
  Call& Block(std::vector<std::uint8_t> bytes) { block_ = std::move(bytes); return *this; }
  // The block as the program handed it over, from its start.
  Call& Sent(std::vector<std::uint8_t> bytes) { sent_ = std::move(bytes); return *this; }
  // May be missing from the conversation at this place.
  Call& Optional() { optional_ = true; return *this; }

  bool IsOptional() const { return optional_; }
  bool Matches(const sim::CallRecord& record) const;
  std::string Describe() const;

 private:
  Call(Kind kind, std::uint32_t message) : kind_(kind), message_(message) {}

  Kind kind_;
  std::uint32_t message_;
  std::string command_;
  std::optional<int> slot_;
  std::optional<WinHandle> handle_;
  std::optional<std::uintptr_t> dw1_;
  std::optional<std::uintptr_t> dw2_;
  std::optional<std::uint32_t> result_;
  std::optional<std::vector<std::uint8_t>> block_;
  std::optional<std::vector<std::uint8_t>> sent_;
  bool optional_ = false;
};

inline Call In(std::uint32_t message) { return Call::In(message); }
inline Call Out(std::uint32_t message) { return Call::Out(message); }

// One logged call written out for a failure message.
std::string DescribeRecord(const sim::CallRecord& record);

// The logged calls compared in order with the table.
::testing::AssertionResult CallsAre(const std::vector<sim::CallRecord>& actual,
                                    const std::vector<Call>& expected);

// The control messages of a log (both directions), in order; only those
// with one of the given message numbers when any are given.
std::vector<sim::CallRecord> ControlMessages(const std::vector<sim::CallRecord>& records,
                                             std::initializer_list<std::uint32_t> only = {});
// The same without the given message numbers (for example the level polls).
std::vector<sim::CallRecord> ControlMessagesExcept(const std::vector<sim::CallRecord>& records,
                                                   std::initializer_list<std::uint32_t> left_out);

// Opens, closes and control messages, in order, without the configuration
// commands and without the given message numbers (the level polls).
std::vector<sim::CallRecord> DeviceCallsExcept(const std::vector<sim::CallRecord>& records,
                                               std::initializer_list<std::uint32_t> left_out);

// Bytes as lower-case hex digits without blanks ("01ff").
std::string HexBytes(const std::vector<std::uint8_t>& bytes);

// Little-endian bytes of a 32-bit value, for Block() and Sent().
std::vector<std::uint8_t> Bytes32(std::uint32_t value);

}  // namespace zentra::testing
