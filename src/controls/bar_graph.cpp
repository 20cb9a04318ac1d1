#include "controls/bar_graph.h"

#include <cmath>

namespace zentra {

TBarGraph::TBarGraph(Component* owner) : TBarGraph(owner, owner != nullptr && owner->Loading()) {}

TBarGraph::TBarGraph(Component* owner, SegmentsWhenLoaded) : TBarGraph(owner, true) {}

TBarGraph::TBarGraph(Component* owner, bool deferred) : TPanel(owner), deferred_(deferred) {
  // A bar created while its window is read gets its segments once, when the
  // window is loaded; one made in code has them at once.
  SetBevelOuter(BevelCut::Lowered);
  SetBounds(Left(), Top(), 18, 164);
}

bool TBarGraph::SegmentsDeferred() const { return deferred_ || Loading(); }

TLumi* TBarGraph::Segment(int index) const {
  if (index < 0 || index >= SegmentCount()) return nullptr;
  return segments_[static_cast<std::size_t>(index)];
}

void TBarGraph::SetSegment(int index, bool on) {
  if (TLumi* lumi = Segment(index)) lumi->SetOn(on);
}

// --- segments -------------------------------------------------------------

void TBarGraph::BuildSegments() {
  // A segment needs two pixels at least: one of its own and the one it
  // shares with its neighbour.
  if (lumiHeight_ < 2) return;
  const int step = lumiHeight_ - 1;
  const int count = Height() / step;
  segments_.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    auto* lumi = new TLumi(this);
    lumi->SetBounds(1, Height() - lumiHeight_ - 2 - i * step, Width() - 3, lumiHeight_);
    lumi->SetColorOn(lumiColor_);
    lumi->SetParent(this);
    segments_.push_back(lumi);
  }
}

void TBarGraph::FreeSegments() {
  segments_.clear();
  while (!Children().empty()) Free(Children().back());
}

void TBarGraph::Rebuild() {
  rebuilding_ = true;
  FreeSegments();
  BuildSegments();
  rebuilding_ = false;
  RelightAfterRebuild();
}

void TBarGraph::RelightAfterRebuild() {
  const int count = SegmentCount();
  if (topIndex_ >= count) topIndex_ = count > 0 ? count - 1 : 0;
  for (int i = 0; i <= topIndex_ && topIndex_ > 0; ++i) SetSegment(i, true);
}

void TBarGraph::PlaceSegments() {
  const int step = lumiHeight_ - 1;
  for (int i = 0; i < SegmentCount(); ++i) {
    TLumi* lumi = segments_[static_cast<std::size_t>(i)];
    lumi->SetBounds(lumi->Left(), Height() - lumiHeight_ - 2 - i * step, lumi->Width(),
                    lumi->Height());
  }
}

void TBarGraph::SetLumiHeight(int height) {
  lumiHeight_ = height;
  if (!SegmentsDeferred()) Rebuild();
}

void TBarGraph::Loaded() {
  TPanel::Loaded();
  deferred_ = false;
  Rebuild();
  if (allOn_) SetLevel(GetLevelMax());
}

void TBarGraph::Resized() {
  TPanel::Resized();
  if (rebuilding_ || SegmentsDeferred()) return;
  const int step = lumiHeight_ - 1;
  const int count = SegmentCount();
  if (Height() >= (count + 1) * step + 2 || Height() < count * step + 2) {
    Rebuild();
    if (allOn_) SetLevel(GetLevelMax());
  } else {
    PlaceSegments();
  }
  for (TLumi* lumi : segments_) lumi->SetWidth(Width() - 3);
}

// --- level ----------------------------------------------------------------

void TBarGraph::SetLevel(int level) {
  if (level > barLevelMax_) return;
  barLevel_ = level;
  const int count = SegmentCount();
  if (count == 0 || barLevelMax_ <= 0) return;
  const long double exact =
      static_cast<long double>(level) / barLevelMax_ * static_cast<long double>(count - 1);
  const long s = std::lrint(exact);  // to nearest, halves to even
  if (s <= topIndex_) return;
  for (long i = topIndex_; i <= s; ++i) SetSegment(static_cast<int>(i), true);
  topIndex_ = static_cast<int>(s);
}

void TBarGraph::SetLevelMax(int levelMax) { barLevelMax_ = levelMax; }

int TBarGraph::GetLevelMax() const { return barLevelMax_; }

void TBarGraph::SetAllOn(bool on) {
  allOn_ = on;
  SetLevel(on ? GetLevelMax() : 0);
}

}  // namespace zentra
