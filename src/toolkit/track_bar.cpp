#include "toolkit/track_bar.h"

#include <algorithm>

#include "toolkit/application.h"

namespace zentra {

TTrackBar::TTrackBar(Component* owner) : Control(owner) {
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
}

void TTrackBar::SetRange(int min, int max, int position) {
  position = std::clamp(position, min, max);
  const bool rangeChanged = min != min_ || max != max_;
  const bool moved = position != position_;
  min_ = min;
  max_ = max;
  position_ = position;
  if (rangeChanged || moved) Changed(Change::Range);
  if (moved && OnChange && EventsAllowed()) OnChange(this);
}

void TTrackBar::SetMin(int min) { SetRange(min, std::max(min, max_), position_); }

void TTrackBar::SetMax(int max) { SetRange(std::min(min_, max), max, position_); }

void TTrackBar::SetPosition(int position) { SetRange(min_, max_, position); }

void TTrackBar::SetPageSize(int size) {
  if (size == pageSize_) return;
  pageSize_ = size;
  Changed(Change::Range);
}

void TTrackBar::SetLineSize(int size) {
  if (size == lineSize_) return;
  lineSize_ = size;
  Changed(Change::Range);
}

void TTrackBar::SetFrequency(int frequency) {
  if (frequency == frequency_) return;
  frequency_ = frequency;
  Changed(Change::Range);
}

void TTrackBar::SetOrientation(TrackBarOrientation orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  Changed(Change::Look);
}

void TTrackBar::SetTickMarks(TickMarks marks) {
  if (marks == tickMarks_) return;
  tickMarks_ = marks;
  Changed(Change::Look);
}

void TTrackBar::SetTickStyle(TickStyle style) {
  if (style == tickStyle_) return;
  tickStyle_ = style;
  Changed(Change::Look);
}

void TTrackBar::UserMove(int position) {
  RunGuarded([&] {
    if (Enabled()) SetPosition(position);
  }, this);
}

}  // namespace zentra
