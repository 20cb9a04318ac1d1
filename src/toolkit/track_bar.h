// A track bar: a position between Min and Max.
#pragma once

#include "toolkit/control.h"

namespace zentra {

enum class TrackBarOrientation { Horizontal, Vertical };
enum class TickMarks { BottomRight, TopLeft, Both };
enum class TickStyle { None, Auto, Manual };

class TTrackBar : public Control {
 public:
  explicit TTrackBar(Component* owner);
  const char* ClassName() const override { return "TTrackBar"; }

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // A new Min above Max raises Max (and a new Max below Min lowers Min);
  // the position is kept within the range.
  void SetMin(int min);
  void SetMax(int max);
  // Clamped to Min .. Max. OnChange runs only when the position changes.
  void SetPosition(int position);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int size);
  int LineSize() const { return lineSize_; }
  void SetLineSize(int size);
  int Frequency() const { return frequency_; }
  void SetFrequency(int frequency);
  TrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TrackBarOrientation orientation);
  TickMarks GetTickMarks() const { return tickMarks_; }
  void SetTickMarks(TickMarks marks);
  TickStyle GetTickStyle() const { return tickStyle_; }
  void SetTickStyle(TickStyle style);

  NotifyEvent OnChange;

  // The user moved the thumb.
  void UserMove(int position);

 private:
  void SetRange(int min, int max, int position);

  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
  int pageSize_ = 2;
  int lineSize_ = 1;
  int frequency_ = 1;
  TrackBarOrientation orientation_ = TrackBarOrientation::Horizontal;
  TickMarks tickMarks_ = TickMarks::BottomRight;
  TickStyle tickStyle_ = TickStyle::Auto;
};

}  // namespace zentra
