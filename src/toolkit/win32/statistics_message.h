// The backend's statistics message, for measuring from outside the program:
// any window of the program answers the registered message of this name with
// one figure, chosen by wParam (-1 for a figure it does not know). The Win32
// backend answers it; the end-to-end probe (tools/e2e) asks it.
#pragma once

namespace zentra {

#define ZENTRA_STATISTICS_MESSAGE_NAME "ZentraPaintStatistics"
inline constexpr char kStatisticsMessageName[] = ZENTRA_STATISTICS_MESSAGE_NAME;
inline constexpr wchar_t kStatisticsMessageNameWide[] = L"" ZENTRA_STATISTICS_MESSAGE_NAME;
#undef ZENTRA_STATISTICS_MESSAGE_NAME

// The figures, by wParam.
enum StatisticsFigure : unsigned {
  // What the backend painted since it started.
  kWindowlessPainted = 0,  // windowless controls painted (a meter's segments, not the meter beneath)
  kPaintMessages = 1,      // window paints: WM_PAINT and direct paints of collected repaint requests
  kInvalidations = 2,      // repaint requests made
  // The GDI objects the backend holds, to tell a filling cache from a leak.
  kCachedFonts = 3,
  kCachedBrushes = 4,
  kCachedPens = 5,
  kPendingRepaintRegions = 6,  // regions of repaint requests not yet painted
  // The heaps of the process (-1 where the system cannot tell).
  kHeapBytesInUse = 7,
  kHeapBlocksInUse = 8,
};

}  // namespace zentra
