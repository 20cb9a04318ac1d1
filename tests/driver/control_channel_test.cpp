// Control handles and shared 16-bit blocks on the simulated cards: which
// device each handle is opened on, how failures leave the handle array, and
// that blocks are released the way the 16-bit memory expects.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "driver/control_channel.h"
#include "driver/control_messages.h"
#include "driver/device_tables.h"
#include "driver/discovery.h"
#include "driver/shared16_block.h"
#include "platform/silent_abort.h"
#include "sim/sim_card_rig.h"

namespace zentra {
namespace {

using sim::CallRecord;
using sim::SimCardRig;

constexpr WinHandle kWindow = 0x00C0FFEE;

class ControlChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDeviceTables();
    Discover(rig.platform);
    ASSERT_EQ(CardCount, 2);
    rig.log.Clear();
  }
  void TearDown() override { ResetDeviceTables(); }

  std::vector<int> SlotsOf(const WinHandle* handles, std::size_t count) const {
    std::vector<int> slots;
    for (std::size_t i = 0; i < count; ++i) {
      const auto open = rig.wave.FindHandle(handles[i]);
      slots.push_back(open ? open->slot : -1);
    }
    return slots;
  }

  SimCardRig rig{"", 2};
};

TEST(ControlFormatTest, TwentyTwoBytesAndANul) {
  const std::uint8_t expected[23] = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 0x02, 0,
                                     4, 0, 16, 0, 4, 0, 'C', 'T', 'R', 'L', 0};
  EXPECT_EQ(std::memcmp(&ControlFormat, expected, sizeof expected), 0);
}

TEST_F(ControlChannelTest, AdatKindOpensTwoHandlesPerPairCardMajor) {
  std::array<WinHandle, 16> handles{};
  OpenControlHandles(rig.wave, kWindow, kKindAdat, Direction::Playback, 0, 7, 0, 1,
                     handles.data(), handles.size());
  EXPECT_EQ(SlotsOf(handles.data(), handles.size()),
            (std::vector<int>{2, 2, 3, 3, 4, 4, 5, 5, 8, 8, 9, 9, 10, 10, 11, 11}));
  for (WinHandle h : handles) {
    const auto open = rig.wave.FindHandle(h);
    ASSERT_TRUE(open);
    EXPECT_FALSE(open->record);
    EXPECT_EQ(open->callback, kWindow);
    EXPECT_EQ(open->instance, 0u);
    EXPECT_EQ(open->flags, CALLBACK_WINDOW);
  }
  CloseControlHandles(rig.wave, Direction::Playback, handles.size(), handles.data());
  for (WinHandle h : handles) EXPECT_EQ(h, kNoHandle);
  EXPECT_TRUE(rig.wave.OpenHandles().empty());
}

TEST_F(ControlChannelTest, StereoKindForOneCardAndWithoutCallbackWindow) {
  std::array<WinHandle, 2> handles{};
  OpenControlHandles(rig.wave, 0, kKindDigital, Direction::Record, 0, 1, 1, 1, handles.data(),
                     handles.size());
  EXPECT_EQ(SlotsOf(handles.data(), 2), (std::vector<int>{7, 7}));
  EXPECT_NE(handles[0], handles[1]);
  for (WinHandle h : handles) {
    const auto open = rig.wave.FindHandle(h);
    ASSERT_TRUE(open);
    EXPECT_TRUE(open->record);
    EXPECT_EQ(open->callback, 0u);
    EXPECT_EQ(open->flags, CALLBACK_NULL);
  }
  CloseControlHandles(rig.wave, Direction::Record, 2, handles.data());
  EXPECT_TRUE(rig.wave.OpenHandles().empty());
}

TEST_F(ControlChannelTest, EmptyRangesOpenNothing) {
  WinHandle handle = kNoHandle;
  OpenControlHandles(rig.wave, kWindow, kKindAnalog, Direction::Playback, 0, 1, 1, 0, &handle, 0);
  EXPECT_EQ(handle, kNoHandle);
  EXPECT_TRUE(rig.log.Records().empty());
}

TEST_F(ControlChannelTest, TooSmallArrayIsRefusedBeforeAnyOpen) {
  std::array<WinHandle, 3> handles{};
  EXPECT_THROW(OpenControlHandles(rig.wave, kWindow, kKindAnalog, Direction::Playback, 0, 1, 0, 1,
                                  handles.data(), handles.size()),
               std::logic_error);
  EXPECT_TRUE(rig.log.Records().empty());
}

TEST_F(ControlChannelTest, MissingDeviceAbortsWithoutSystemCallAndKeepsEarlierHandles) {
  PlaybackDeviceTable[9] = kNoDevice;
  std::array<WinHandle, 16> handles{};
  EXPECT_THROW(OpenControlHandles(rig.wave, kWindow, kKindAdat, Direction::Playback, 0, 7, 0, 1,
                                  handles.data(), handles.size()),
               SilentAbort);
  // Slots 2..5 and 8 are open (ten handles); the open of slot 9 never
  // reached the system.
  EXPECT_EQ(rig.Records(CallRecord::Kind::Open).size(), 10u);
  EXPECT_EQ(rig.wave.OpenHandles().size(), 10u);
  for (int i = 0; i < 10; ++i) EXPECT_NE(handles[i], kNoHandle) << i;
  for (int i = 10; i < 16; ++i) EXPECT_EQ(handles[i], kNoHandle) << i;

  CloseControlHandles(rig.wave, Direction::Playback, handles.size(), handles.data());
  EXPECT_EQ(rig.Records(CallRecord::Kind::Close).size(), 10u);  // empty entries skipped
  EXPECT_TRUE(rig.wave.OpenHandles().empty());
}

TEST_F(ControlChannelTest, SlotsOutsideTheTablesAbortWithoutSystemCall) {
  EXPECT_THROW(OpenControlHandle(rig.wave, 0, 24, Direction::Record), SilentAbort);
  EXPECT_THROW(OpenControlHandle(rig.wave, 0, -1, Direction::Playback), SilentAbort);
  EXPECT_TRUE(rig.log.Records().empty());
}

TEST(ControlChannelRefusalTest, RefusedOpenAbortsAfterTheSystemCall) {
  ResetDeviceTables();
  SimCardRig rig("[Card1]\nRefuseOpen=AnalogIn\n", 1);
  Discover(rig.platform);
  ASSERT_EQ(CardCount, 1);
  rig.log.Clear();
  std::array<WinHandle, 2> handles{};
  EXPECT_THROW(OpenControlHandles(rig.wave, kWindow, kKindAnalog, Direction::Record, 0, 1, 0, 0,
                                  handles.data(), handles.size()),
               SilentAbort);
  const auto opens = rig.Records(CallRecord::Kind::Open);
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_NE(opens[0].result, 0u);
  EXPECT_EQ(handles[0], kNoHandle);
  EXPECT_TRUE(rig.wave.OpenHandles().empty());
  ResetDeviceTables();
}

TEST_F(ControlChannelTest, FailedCloseKeepsItsHandle) {
  std::array<WinHandle, 4> handles{};
  OpenControlHandles(rig.wave, kWindow, kKindAnalog, Direction::Playback, 0, 1, 0, 0,
                     handles.data(), 2);
  handles[2] = 0xBAD;  // not a handle of the wave layer
  const WinHandle first = handles[0];
  // Closed once already behind the array's back: its close now fails.
  ASSERT_EQ(rig.wave.waveOutClose(first), 0u);
  CloseControlHandles(rig.wave, Direction::Playback, handles.size(), handles.data());
  EXPECT_EQ(handles[0], first);
  EXPECT_EQ(handles[1], kNoHandle);
  EXPECT_EQ(handles[2], 0xBADu);
  EXPECT_EQ(handles[3], kNoHandle);
  EXPECT_TRUE(rig.wave.OpenHandles().empty());
}

TEST_F(ControlChannelTest, MessagesTakeTheCallOfTheirDirection) {
  WinHandle in = OpenControlHandle(rig.wave, 0, DeviceSlot(1, 1), Direction::Record);
  WinHandle out = OpenControlHandle(rig.wave, 0, DeviceSlot(1, 0), Direction::Playback);
  EXPECT_EQ(SendControlMessage(rig.wave, Direction::Record, in, CTL_IN_METER_START, 0), 0u);
  EXPECT_EQ(SendControlMessage(rig.wave, Direction::Playback, out, CTL_OUT_METER_START, 0), 0u);
  // The wrong call for a handle is refused by the wave layer.
  EXPECT_NE(SendControlMessage(rig.wave, Direction::Playback, in, CTL_OUT_METER_STOP, 0), 0u);
  const auto records = rig.log.Records();
  ASSERT_GE(records.size(), 5u);
  EXPECT_EQ(records[2].kind, CallRecord::Kind::WaveInMessage);
  EXPECT_EQ(records[2].deviceSlot, 7);
  EXPECT_EQ(records[3].kind, CallRecord::Kind::WaveOutMessage);
  EXPECT_EQ(records[3].deviceSlot, 6);
  WinHandle ins[] = {in};
  WinHandle outs[] = {out};
  CloseControlHandles(rig.wave, Direction::Record, 1, ins);
  CloseControlHandles(rig.wave, Direction::Playback, 1, outs);
  EXPECT_TRUE(rig.wave.OpenHandles().empty());
  EXPECT_EQ(rig.cards.MeteringHandleCount(), 0);
}

TEST(Shared16BlockTest, FixedBlockLivesUntilReleaseAndIsUnfixedFirst) {
  sim::Arena16 arena;
  {
    Shared16Block block;
    ASSERT_NE(block.AllocateFixed(arena, 8, kWindowBlockFlags), nullptr);
    EXPECT_TRUE(block.IsFixed());
    EXPECT_NE(block.Address(), 0u);
    EXPECT_NE(block.Handle(), 0u);
    const auto live = arena.LiveBlocks();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].flags, 0x42);
    EXPECT_EQ(live[0].size, 8u);
    EXPECT_EQ(live[0].fixCount, 1);

    block.SetWord32(0, 0x11223344);
    block.SetWord16(4, 0xFFFF);
    block.SetByte(7, 0x7F);
    std::uint8_t raw[8] = {};
    ASSERT_TRUE(arena.Read(block.Address(), raw, 8));
    const std::uint8_t expected[8] = {0x44, 0x33, 0x22, 0x11, 0xFF, 0xFF, 0x00, 0x7F};
    EXPECT_EQ(std::memcmp(raw, expected, 8), 0);
    EXPECT_EQ(block.Word32(0), 0x11223344u);
    EXPECT_EQ(block.Word16(4), 0xFFFFu);
    EXPECT_THROW(block.Word32(6), std::out_of_range);
    EXPECT_THROW(block.SetByte(8, 0), std::out_of_range);
  }
  EXPECT_TRUE(arena.LiveBlocks().empty());
  EXPECT_TRUE(arena.Misuse().empty());
}

TEST(Shared16BlockTest, FailuresLeaveNothingToReleaseOrReleaseWithoutUnfix) {
  sim::Arena16 arena;
  {
    Shared16Block never;
    arena.FailNextAllocations(1);
    EXPECT_EQ(never.AllocateFixed(arena, 4, kQueryBlockFlags), nullptr);
    EXPECT_EQ(never.Address(), 0u);
    never.Release();  // nothing allocated: skipped
  }
  {
    Shared16Block unmapped;
    arena.SetMappingFails(true);
    EXPECT_EQ(unmapped.AllocateFixed(arena, 4, kQueryBlockFlags), nullptr);
    EXPECT_NE(unmapped.Address(), 0u);
    EXPECT_FALSE(unmapped.IsFixed());
    arena.SetMappingFails(false);
  }
  {
    Shared16Block mapped;
    ASSERT_NE(mapped.AllocateMapped(arena, 4, kQueryBlockFlags), nullptr);
    EXPECT_FALSE(mapped.IsFixed());
  }
  EXPECT_TRUE(arena.LiveBlocks().empty());
  EXPECT_TRUE(arena.Misuse().empty());
}

TEST(Shared16BlockTest, MovedBlockIsReleasedOnce) {
  sim::Arena16 arena;
  {
    std::vector<Shared16Block> blocks;
    for (int i = 0; i < 4; ++i) {
      Shared16Block block;
      ASSERT_NE(block.AllocateFixed(arena, 4, kWindowBlockFlags), nullptr);
      blocks.push_back(std::move(block));
      EXPECT_EQ(block.Address(), 0u);
    }
    EXPECT_EQ(arena.LiveBlocks().size(), 4u);
    blocks[1] = std::move(blocks[2]);  // releases the block it held
    EXPECT_EQ(arena.LiveBlocks().size(), 3u);
  }
  EXPECT_TRUE(arena.LiveBlocks().empty());
  EXPECT_TRUE(arena.Misuse().empty());
}

}  // namespace
}  // namespace zentra
