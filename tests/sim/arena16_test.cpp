#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "sim/arena16.h"

namespace zentra::sim {
namespace {

bool AnyMisuseContains(const Arena16& arena, const std::string& part) {
  for (const auto& m : arena.Misuse())
    if (m.find(part) != std::string::npos) return true;
  return false;
}

TEST(Arena16, AllocationGivesDistinctSelectorAddressesAndHandles) {
  Arena16 arena;
  std::set<std::uint32_t> addresses;
  std::set<std::uint16_t> handles;
  for (int i = 0; i < 50; ++i) {
    std::uint16_t handle = 0;
    const std::uint32_t address = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 16, &handle);
    ASSERT_NE(address, 0u);
    EXPECT_EQ(address & 0xFFFFu, 0u) << "blocks start at offset 0";
    EXPECT_NE(handle, 0);
    addresses.insert(address);
    handles.insert(handle);
  }
  EXPECT_EQ(addresses.size(), 50u);
  EXPECT_EQ(handles.size(), 50u);
  EXPECT_EQ(arena.LiveBlocks().size(), 50u);
  EXPECT_TRUE(arena.Misuse().empty());

  // A block is found by its start address only, and only while it lives.
  const std::uint32_t first = *addresses.begin();
  ASSERT_TRUE(arena.LiveBlockAt(first).has_value());
  EXPECT_EQ(arena.LiveBlockAt(first)->size, 16u);
  EXPECT_FALSE(arena.LiveBlockAt(first + 4).has_value());
  arena.WOWGlobalUnlockFree16(first);
  EXPECT_FALSE(arena.LiveBlockAt(first).has_value());
}

TEST(Arena16, ZeroInitZeroesAndOtherBlocksAreNotZero) {
  Arena16 arena;
  const std::uint32_t zeroed = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 64, nullptr);
  const std::uint32_t plain = arena.WOWGlobalAllocLock16(GMEM_MOVEABLE, 64, nullptr);
  auto* z = static_cast<std::uint8_t*>(arena.WOWGetVDMPointer(zeroed, 64, true));
  auto* p = static_cast<std::uint8_t*>(arena.WOWGetVDMPointer(plain, 64, true));
  ASSERT_NE(z, nullptr);
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(z[i], 0) << i;
  EXPECT_NE(p[0], 0) << "memory without GMEM_ZEROINIT must not look zeroed";
}

TEST(Arena16, MappingSharesMemoryWithTheDriverSide) {
  Arena16 arena;
  const std::uint32_t a = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 32, nullptr);
  auto* flat = static_cast<std::uint8_t*>(arena.WOWGetVDMPointer(a, 32, true));
  ASSERT_NE(flat, nullptr);
  const std::uint8_t bytes[4] = {1, 2, 3, 4};
  ASSERT_TRUE(arena.Write(a + 8, bytes, 4));
  EXPECT_EQ(std::memcmp(flat + 8, bytes, 4), 0);
  EXPECT_EQ(arena.Resolve(a + 8, 4), flat + 8);
  EXPECT_EQ(arena.Resolve(a + 30, 4), nullptr) << "range past the end";
  EXPECT_FALSE(arena.Write(a + 30, bytes, 4));
  EXPECT_TRUE(arena.StoreWord32(a, 7));
  EXPECT_EQ(flat[0], 7);
}

TEST(Arena16, MisuseIsRefusedAndRecorded) {
  Arena16 arena;
  const std::uint32_t a = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 16, nullptr);

  EXPECT_EQ(arena.WOWGetVDMPointer(a, 17, true), nullptr);
  EXPECT_TRUE(AnyMisuseContains(arena, "past the end"));

  arena.WOWGetVDMPointerUnfix(a);
  EXPECT_TRUE(AnyMisuseContains(arena, "without a fix"));

  EXPECT_NE(arena.WOWGlobalUnlockFree16(0x12340000), 0);
  EXPECT_TRUE(AnyMisuseContains(arena, "free of 12340000: unknown address"));

  EXPECT_EQ(arena.WOWGlobalUnlockFree16(a), 0);
  EXPECT_NE(arena.WOWGlobalUnlockFree16(a), 0);
  EXPECT_TRUE(AnyMisuseContains(arena, "already freed"));
  EXPECT_EQ(arena.WOWGetVDMPointer(a, 4, true), nullptr);
  EXPECT_TRUE(AnyMisuseContains(arena, "the block was freed"));
  EXPECT_EQ(arena.Resolve(a, 4), nullptr);

  EXPECT_EQ(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 0, nullptr), 0u);
  EXPECT_EQ(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, Arena16::kMaxBlockSize + 1, nullptr), 0u);
  EXPECT_TRUE(arena.LiveBlocks().empty());
}

TEST(Arena16, FixAndUnfixAreCountedAndAFixedBlockIsNotFreed) {
  Arena16 arena;
  const std::uint32_t a = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 16, nullptr);
  ASSERT_NE(arena.WOWGetVDMPointerFix(a, 16, true), nullptr);
  ASSERT_NE(arena.WOWGetVDMPointerFix(a, 16, true), nullptr);
  EXPECT_EQ(arena.LiveBlocks()[0].fixCount, 2);
  arena.WOWGetVDMPointerUnfix(a);
  EXPECT_NE(arena.WOWGlobalUnlockFree16(a), 0) << "still fixed once";
  EXPECT_TRUE(AnyMisuseContains(arena, "still fixed"));
  arena.WOWGetVDMPointerUnfix(a);
  EXPECT_EQ(arena.WOWGlobalUnlockFree16(a), 0);
  EXPECT_TRUE(arena.LiveBlocks().empty());
}

TEST(Arena16, FreedSelectorsAreNotReusedSoon) {
  Arena16 arena;
  const std::uint32_t first = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
  ASSERT_EQ(arena.WOWGlobalUnlockFree16(first), 0);
  for (int i = 0; i < 1000; ++i) {
    const std::uint32_t a = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
    ASSERT_NE(a, first) << "after " << i << " allocations";
    ASSERT_EQ(arena.WOWGlobalUnlockFree16(a), 0);
  }
}

TEST(Arena16, SelectorsWrapAfterTheRangeSkippingLiveOnes) {
  Arena16 arena;
  arena.SetNextSelector(0xFFF7);
  const std::uint32_t last = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
  const std::uint32_t high = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
  EXPECT_EQ(last, 0xFFF70000u);
  EXPECT_EQ(high, 0xFFFF0000u);
  const std::uint32_t wrapped = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
  EXPECT_NE(wrapped, 0u);
  EXPECT_LT(wrapped, last) << "wrapped to the low end of the range";
  // Wrap again onto the live blocks: they are skipped.
  arena.SetNextSelector(0xFFF7);
  const std::uint32_t next = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
  EXPECT_NE(next, last);
  EXPECT_NE(next, high);
  EXPECT_NE(next, wrapped);
}

TEST(Arena16, PinnedSelectorsAndFaults) {
  Arena16 arena;
  arena.PinNextSelectors({0x1A37, 0x1A2F});
  EXPECT_EQ(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr), 0x1A370000u);
  EXPECT_EQ(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr), 0x1A2F0000u);

  arena.FailNextAllocations(1);
  EXPECT_EQ(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr), 0u);
  const std::uint32_t a = arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr);
  EXPECT_NE(a, 0u);
  arena.SetMappingFails(true);
  EXPECT_EQ(arena.WOWGetVDMPointer(a, 4, true), nullptr);
  arena.SetMappingFails(false);
  EXPECT_NE(arena.WOWGetVDMPointer(a, 4, true), nullptr);
}

TEST(Arena16, TheNthAllocationFromNowIsRefusedAndOnlyThatOne) {
  Arena16 arena;
  ASSERT_NE(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr), 0u);
  arena.FailAllocation(3);
  arena.FailAllocation(1);
  std::vector<std::uint32_t> addresses;
  std::vector<std::uint16_t> handles;
  for (int i = 0; i < 4; ++i) {
    std::uint16_t handle = 0x5555;
    addresses.push_back(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, &handle));
    handles.push_back(handle);
  }
  // The first and third from the moment of asking fail as an exhausted heap
  // answers: address 0 and handle 0; the others are ordinary blocks.
  EXPECT_EQ(addresses[0], 0u);
  EXPECT_EQ(handles[0], 0);
  EXPECT_NE(addresses[1], 0u);
  EXPECT_EQ(addresses[2], 0u);
  EXPECT_EQ(handles[2], 0);
  EXPECT_NE(addresses[3], 0u);
  EXPECT_EQ(arena.LiveBlocks().size(), 3u);
  EXPECT_TRUE(arena.Misuse().empty()) << "a refused allocation is no misuse";

  // A refused allocation counts: of the next two, the second is refused even
  // when the first asks for an impossible size.
  arena.FailAllocation(2);
  EXPECT_EQ(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 0, nullptr), 0u);
  EXPECT_EQ(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr), 0u);
  EXPECT_NE(arena.WOWGlobalAllocLock16(GMEM_ZEROINIT, 4, nullptr), 0u);
}

}  // namespace
}  // namespace zentra::sim
