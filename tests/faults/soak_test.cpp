// Many openings and closings of each mixer window and of the settings
// dialog through the control window, with the meters running and both
// clocks ticking in between: the 16-bit blocks, the control handles, the
// timers and the live components must come back to the same figures after
// every cycle. ZENTRA_SOAK_CYCLES sets the number of cycles (50 by default;
// tools/soak/host_soak.sh runs 1000).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "faults/program_session.h"

namespace zentra::testing {
namespace {

int Cycles() {
  const char* text = std::getenv("ZENTRA_SOAK_CYCLES");
  const int n = text != nullptr ? std::atoi(text) : 0;
  return n > 0 ? n : 50;
}

struct Figures {
  std::size_t blocks, handles, mmTimers;
  int toolkitTimers, components;
  bool operator==(const Figures& o) const {
    return blocks == o.blocks && handles == o.handles && mmTimers == o.mmTimers &&
           toolkitTimers == o.toolkitTimers && components == o.components;
  }
};

Figures Now(ProgramSession& s) {
  return {s.rig.driver().arena().LiveBlocks().size(), s.rig.driver().wave().OpenHandles().size(),
          s.rig.timer().LiveTimerCount(), s.rig.backend().ActiveTimerCount(),
          Component::LiveCount()};
}

void Print(const char* window, int cycles, const Figures& before, const Figures& after,
           const Figures& open) {
  std::printf("soak %-14s %5d cycles | open: %zu blocks %zu handles %zu mm timers %d timers "
              "%d components | closed before/after: blocks %zu/%zu handles %zu/%zu "
              "mm timers %zu/%zu timers %d/%d components %d/%d\n",
              window, cycles, open.blocks, open.handles, open.mmTimers, open.toolkitTimers,
              open.components, before.blocks, after.blocks, before.handles, after.handles,
              before.mmTimers, after.mmTimers, before.toolkitTimers, after.toolkitTimers,
              before.components, after.components);
}

TEST(Soak, EveryWindowOpenedAndClosedAgainLeavesTheFiguresFlat) {
  const int cycles = Cycles();
  ProgramSession s("[Cards]\nCount=4\n");
  s.Run([&](ProgramSession& p) {
    p.ShowControl();
    for (const WindowBox& entry : AllWindowBoxes()) {
      // One cycle first: what a window loads once (its description, its
      // classes) is not counted as growth.
      p.Set(entry, true);
      p.Advance(50);
      p.Set(entry, false);
      Application::Instance().ProcessMessages();
      const Figures before = Now(p);
      Figures open{};
      for (int i = 0; i < cycles; ++i) {
        p.Set(entry, true);
        ASSERT_NE(p.WindowOf(entry), nullptr) << entry.className << " cycle " << i;
        // Meter ticks posted and handled, some still queued at the close.
        p.Advance(i % 2 == 0 ? 60 : 35);
        p.rig.timer().Advance(10);
        if (i == 0) open = Now(p);
        p.Set(entry, false);
        Application::Instance().ProcessMessages();
        p.Advance(10);
        ASSERT_EQ(Now(p), before) << entry.className << " cycle " << i;
      }
      Print(entry.className, cycles, before, Now(p), open);
      if (std::string(entry.className) != "TdlgCfg") {
        EXPECT_GT(open.handles, before.handles) << entry.className << " ran without its devices";
        EXPECT_GT(open.mmTimers, before.mmTimers) << entry.className << " ran without meters";
      }
    }
  });
  const Leftovers left = s.Collect();
  EXPECT_TRUE(left.None()) << left.Describe();
}

}  // namespace
}  // namespace zentra::testing
