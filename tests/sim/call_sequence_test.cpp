// The sequence helper itself: it must fail on every kind of difference, or
// the window tests that rely on it would pass on a wrong conversation.
#include "support/call_sequence.h"

#include <gtest/gtest.h>

namespace zentra::testing {
namespace {

sim::CallRecord Message(std::uint32_t message, int slot, std::uintptr_t dw1,
                        std::vector<std::uint8_t> after = {}) {
  sim::CallRecord r;
  r.kind = sim::CallRecord::Kind::WaveInMessage;
  r.message = message;
  r.deviceSlot = slot;
  r.dw1 = dw1;
  r.blockAfter = std::move(after);
  return r;
}

const std::vector<sim::CallRecord> kLog = {
    Message(0x4034, 0, 0x10000), Message(0x4034, 6, 0x20000), Message(0x4035, 6, 0x00010201),
    Message(0x403A, 0, 0x30000, {1, 2, 3, 4, 5, 6, 7, 8})};

TEST(CallSequence, AcceptsTheSameConversationAndOmittedFields) {
  EXPECT_TRUE(CallsAre(kLog, {In(0x4034).Slot(0), In(0x4034).Slot(6), In(0x4035).Dw1(0x00010201),
                              In(0x403A).Block({1, 2, 3, 4})}));
}

TEST(CallSequence, NamesTheFirstDifferenceOfAnyKind) {
  // Reordered.
  auto r = CallsAre(kLog, {In(0x4034).Slot(6), In(0x4034).Slot(0), In(0x4035), In(0x403A)});
  EXPECT_FALSE(r);
  EXPECT_NE(std::string(r.message()).find("call #0"), std::string::npos) << r.message();
  // A wrong value, direction or block.
  EXPECT_FALSE(CallsAre(kLog, {In(0x4034), In(0x4034), In(0x4035).Dw1(0x00010202), In(0x403A)}));
  EXPECT_FALSE(CallsAre(kLog, {Out(0x4034), In(0x4034), In(0x4035), In(0x403A)}));
  EXPECT_FALSE(CallsAre(kLog, {In(0x4034), In(0x4034), In(0x4035), In(0x403A).Block({1, 2, 3, 5})}));
  // Missing and extra calls.
  auto missing = CallsAre(kLog, {In(0x4034), In(0x4034), In(0x4035), In(0x403A), In(0x4039)});
  EXPECT_FALSE(missing);
  EXPECT_NE(std::string(missing.message()).find("missing"), std::string::npos);
  auto extra = CallsAre(kLog, {In(0x4034), In(0x4034), In(0x4035)});
  EXPECT_FALSE(extra);
  EXPECT_NE(std::string(extra.message()).find("not expected"), std::string::npos);
}

TEST(CallSequence, OptionalEntriesMayBeThereOrNot) {
  EXPECT_TRUE(CallsAre(kLog, {In(0x4034), In(0x4039).Optional(), In(0x4034), In(0x4035), In(0x403A),
                              In(0x403A).Optional()}));
  EXPECT_TRUE(CallsAre(kLog, {In(0x4034), In(0x4034).Optional(), In(0x4035), In(0x403A)}));
}

TEST(CallSequence, FiltersControlMessagesByNumber) {
  EXPECT_EQ(ControlMessages(kLog, {0x4034}).size(), 2u);
  EXPECT_EQ(ControlMessagesExcept(kLog, {0x403A}).size(), 3u);
  EXPECT_EQ(Bytes32(0x04030201), (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace zentra::testing
