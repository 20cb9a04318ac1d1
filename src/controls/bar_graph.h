// A vertical column of LED segments driven by an integer level. Segment 0
// is the lowest; the level operation only lights segments, the decay step
// of the level meter turns them off again. The bar has no window of its
// own: the window it lies in paints it with its segments, so that segments
// changing on many meters at once cost one repaint of that window.
#pragma once

#include <vector>

#include "controls/lumi.h"
#include "toolkit/containers.h"

namespace zentra {

class TBarGraph : public TPanel {
 public:
  explicit TBarGraph(Component* owner);
  // A bar whose segments wait for its loading to end (BeginLoading, set it
  // up, EndLoading): a copy of a loaded bar is built once, for its size.
  struct SegmentsWhenLoaded {};
  TBarGraph(Component* owner, SegmentsWhenLoaded);
  const char* ClassName() const override { return "TBarGraph"; }
  bool AcceptsChildren() const override { return true; }
  bool IsWindowed() const override { return false; }
  bool CanFocus() const override { return false; }

  // The last accepted bar level.
  int BarLevel() const { return barLevel_; }
  int Level() const { return barLevel_; }
  // Full-scale bar level.
  int BarLevelMax() const { return barLevelMax_; }

  // Bar level m: ignored above full scale; otherwise lights the segments
  // from the current top up to the segment that m maps to.
  virtual void SetLevel(int level);
  // The published LevelMax (the bar's full scale here; a meter's raw scale).
  virtual void SetLevelMax(int levelMax);
  virtual int GetLevelMax() const;
  // Creates SegmentCount = Height div (LumiHeight - 1) segments.
  virtual void BuildSegments();
  // Frees every child control.
  virtual void FreeSegments();

  int LumiHeight() const { return lumiHeight_; }
  // Rebuilds the segments with the new height.
  void SetLumiHeight(int height);
  Color LumiColor() const { return lumiColor_; }
  // On colour of segments built from now on.
  void SetLumiColor(Color color) { lumiColor_ = color; }
  // All-on switch: true lights every segment, false turns nothing off.
  bool AllOn() const { return allOn_; }
  void SetAllOn(bool on);

  int SegmentCount() const { return static_cast<int>(segments_.size()); }
  TLumi* Segment(int index) const;
  int TopIndex() const { return topIndex_; }

 protected:
  void Loaded() override;
  void Resized() override;
  // Frees and builds the segments, then shows the bar (and peak) that the
  // indices describe again, since fresh segments are dark.
  void Rebuild();
  // Re-lights what the indices describe after a rebuild; indices beyond the
  // new segments are pulled back onto the top segment.
  virtual void RelightAfterRebuild();
  void SetSegment(int index, bool on);
  void PlaceSegments();
  // While the bar or its window is being read, size changes and the
  // segment height only take note; loading builds the segments once.
  bool SegmentsDeferred() const;
  void SetBarLevelMax(int value) { barLevelMax_ = value; }

  int topIndex_ = 0;

 private:
  TBarGraph(Component* owner, bool deferred);

  std::vector<TLumi*> segments_;
  int barLevel_ = 0;
  int barLevelMax_ = 0xFFFF;
  int lumiHeight_ = 6;
  Color lumiColor_ = clLime;
  bool allOn_ = false;
  bool rebuilding_ = false;
  bool deferred_ = false;
};

}  // namespace zentra
