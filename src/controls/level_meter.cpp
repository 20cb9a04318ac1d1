#include "controls/level_meter.h"

#include <climits>
#include <cmath>

#include "controls/numeric.h"
#include "platform/platform.h"
#include "toolkit/application.h"

namespace zentra {
namespace {

// Runs on the multimedia timer thread: touches no meter state, only posts
// the decay message to the meter's window.
void ZENTRA_TIMER_CALLBACK MeterTimerTick(std::uint32_t timerId, std::uint32_t, std::uintptr_t user,
                                          std::uintptr_t, std::uintptr_t) {
  PostMessageToWindow(static_cast<WinHandle>(user), WM_METER_DECAY, timerId, 0);
}

}  // namespace

TLevelMeter::TLevelMeter(Component* owner) : TBarGraph(owner) { SetUp(); }

TLevelMeter::TLevelMeter(Component* owner, SegmentsWhenLoaded later) : TBarGraph(owner, later) {
  SetUp();
}

void TLevelMeter::SetUp() {
  // The segments the bar graph built (if any yet) are coloured with the
  // zones already set.
  ColourSegments();
  levelScale_ = kBarFullScale / LogBase(10, 26);
  SetBarLevelMax(kBarFullScale);
  SetLevelMax(0x7FFF);
  SetTimerInterval(50);
  SetLevelMaxHold(2000);
}

TLevelMeter::~TLevelMeter() { StopTimer(); }

void TLevelMeter::BeforeDestruction() {
  SetTimerEnable(false);
  TBarGraph::BeforeDestruction();
}

// --- segments -------------------------------------------------------------

void TLevelMeter::BuildSegments() {
  TBarGraph::BuildSegments();
  ColourSegments();
}

void TLevelMeter::ColourSegments() {
  const int count = SegmentCount();
  for (int k = 0; k < count; ++k) {
    // k counts down from the top segment.
    Color color = kGreen;
    if (k < numRed_)
      color = kRed;
    else if (k < numRed_ + numOrange_)
      color = kOrange;
    Segment(count - 1 - k)->SetColorOn(color);
  }
}

void TLevelMeter::SetNumLumisRed(int count) {
  numRed_ = count;
  ColourSegments();
}

void TLevelMeter::SetNumLumisOrange(int count) {
  numOrange_ = count;
  ColourSegments();
}

void TLevelMeter::RelightAfterRebuild() {
  TBarGraph::RelightAfterRebuild();
  const int count = SegmentCount();
  if (peakIndex_ >= count) peakIndex_ = count > 0 ? count - 1 : 0;
  if (peakIndex_ != 0 && holdTicks_ > 0) SetSegment(peakIndex_, true);
}

// --- level ----------------------------------------------------------------

int TLevelMeter::MapLevel(int raw) const {
  if (raw <= 0) return raw;
  const double mapped = LogBase(10, raw / levelDivisor_ + 1) * levelScale_;
  // A level that maps to nothing sensible (a LevelMax of 0 or below) is
  // treated as beyond full scale and ignored by the bar.
  if (!(mapped >= 0) || mapped > INT_MAX) return INT_MAX;
  return static_cast<int>(std::nearbyint(mapped));  // halves to even
}

void TLevelMeter::SetLevel(int level) {
  level_ = level;
  TBarGraph::SetLevel(MapLevel(level));
  if (topIndex_ >= peakIndex_) {
    peakIndex_ = topIndex_;
    holdTicks_ = HoldTicksPerPeak();
  }
}

int TLevelMeter::HoldTicksPerPeak() const {
  return timerInterval_ > 0 ? levelMaxHold_ / timerInterval_ : levelMaxHold_;
}

void TLevelMeter::SetLevelMax(int levelMax) {
  levelMax_ = levelMax;
  levelDivisor_ = levelMax / 25.0;
}

// --- decay ----------------------------------------------------------------

void TLevelMeter::DecayMessage(Message& message) {
  if (timerEnable_ && message.wParam != timerId_) return;
  message.result = 1;
  if (topIndex_ > 0) {
    if (peakIndex_ != 0 && peakIndex_ <= topIndex_)
      SetSegment(topIndex_ - 1, false);  // the peak segment stays lit
    else
      SetSegment(topIndex_, false);
    --topIndex_;
  } else {
    SetSegment(0, false);
    topIndex_ = 0;
  }
  if (holdTicks_ > 0 && --holdTicks_ == 0) {
    SetSegment(peakIndex_, false);
    peakIndex_ = 0;
  }
}

void TLevelMeter::DispatchMessage(Message& message) {
  // The meter's window is shared with the controls around it: only the
  // ticks of its own timer are its own.
  if (message.msg == WM_METER_DECAY && timerEnable_ && timerId_ != 0 &&
      message.wParam == timerId_)
    DecayMessage(message);
}

// --- own timer --------------------------------------------------------------

void TLevelMeter::SetTimerEnable(bool enable) {
  if (enable)
    StartTimer();
  else
    StopTimer();
  timerEnable_ = enable;
}

void TLevelMeter::SetTimerInterval(std::uint16_t ms) {
  timerInterval_ = ms;
  if (timerEnable_) {
    StopTimer();
    StartTimer();
  }
}

void TLevelMeter::StartTimer() {
  if (timerId_ != 0 || ParentForm() == nullptr) return;
  TimerApi* timer = CurrentPlatform().timer;
  if (timer == nullptr) return;
  const WinHandle window = MessageWindow();
  if (window == 0) return;
  timerId_ = timer->timeSetEvent(timerInterval_, timerInterval_, &MeterTimerTick, window,
                                 TIME_PERIODIC);
}

void TLevelMeter::StopTimer() {
  if (timerId_ == 0) return;
  if (TimerApi* timer = CurrentPlatform().timer) timer->timeKillEvent(timerId_);
  timerId_ = 0;
}

}  // namespace zentra
