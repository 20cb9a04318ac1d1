// A peak level meter: a bar graph with a logarithmic level scale, green,
// orange and red zones, a bar that falls one segment per decay tick and a
// held peak segment. The decay step is message 1025 (WM_USER+1), delivered
// by the owning window's timer or by the meter's own multimedia timer.
#pragma once

#include <cstdint>

#include "controls/bar_graph.h"

namespace zentra {

class TLevelMeter : public TBarGraph {
 public:
  static constexpr Color kRed = 0x0000FF;
  static constexpr Color kOrange = 0x0080FF;
  static constexpr Color kGreen = 0x00FF00;
  // Full scale of the mapped bar level.
  static constexpr int kBarFullScale = 511;

  explicit TLevelMeter(Component* owner);
  TLevelMeter(Component* owner, SegmentsWhenLoaded);
  ~TLevelMeter() override;
  const char* ClassName() const override { return "TLevelMeter"; }

  // Raw level (0 .. LevelMax), mapped logarithmically onto the bar.
  int Level() const { return level_; }
  void SetLevel(int level) override;
  void SetLevelMax(int levelMax) override;
  int GetLevelMax() const override { return levelMax_; }
  void BuildSegments() override;

  int NumLumisRed() const { return numRed_; }
  void SetNumLumisRed(int count);
  int NumLumisOrange() const { return numOrange_; }
  void SetNumLumisOrange(int count);
  std::uint16_t LevelMaxHold() const { return levelMaxHold_; }
  void SetLevelMaxHold(std::uint16_t ms) { levelMaxHold_ = ms; }

  // Own decay timer.
  bool TimerEnable() const { return timerEnable_; }
  void SetTimerEnable(bool enable);
  std::uint16_t TimerInterval() const { return timerInterval_; }
  void SetTimerInterval(std::uint16_t ms);
  std::uint32_t TimerId() const { return timerId_; }

  // The decay step (message 1025 with the timer identifier in wParam).
  // While the own timer runs, a tick of another timer is left unanswered.
  void DecayMessage(Message& message);
  // Messages posted for the meter (to the window it lies in): 1025 with the
  // identifier of its own running timer is its decay step.
  void DispatchMessage(Message& message) override;
  // The raw level mapped onto the bar scale 0..511 (values that do not map
  // give a number above it, so the bar ignores them).
  int MapLevel(int raw) const;

  int PeakIndex() const { return peakIndex_; }
  int HoldTicks() const { return holdTicks_; }
  double LevelScale() const { return levelScale_; }
  double LevelDivisor() const { return levelDivisor_; }

 protected:
  void BeforeDestruction() override;
  void RelightAfterRebuild() override;

 private:
  void ColourSegments();
  void SetUp();
  void StartTimer();
  void StopTimer();
  int HoldTicksPerPeak() const;

  int numRed_ = 2;
  int numOrange_ = 10;
  bool timerEnable_ = false;
  std::uint16_t timerInterval_ = 50;
  int level_ = 0;
  int levelMax_ = 0x7FFF;
  std::uint16_t levelMaxHold_ = 2000;
  double levelScale_ = 0;
  double levelDivisor_ = 0;
  int peakIndex_ = 0;
  int holdTicks_ = 0;
  std::uint32_t timerId_ = 0;
};

}  // namespace zentra
