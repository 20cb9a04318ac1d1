// Costs of the mixer windows on the host with four simulated cards:
// building and showing them, and the host CPU of one level poll and of one
// decay tick, with the number of driver requests a poll makes (for the
// analog output window by the source its cards play; 16 for the ADAT input
// window's 32 meters).
#include <chrono>
#include <cstdio>
#include <ctime>

#include "app/control_window.h"
#include "app/program_windows.h"
#include "controls/audio_control_classes.h"
#include "controls/bilingual.h"
#include "driver/control_messages.h"
#include "mixer/analog_input_window.h"
#include "mixer/analog_output_window.h"
#include "mixer/mixer_window.h"
#include "mixer/mixer_windows.h"
#include "support/program_rig.h"
#include "toolkit/std_controls.h"

namespace {

using zentra::testing::ProgramRig;

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// The level requests (both directions) the driver has logged.
std::size_t LevelRequests(ProgramRig& rig) {
  std::size_t n = 0;
  for (const auto& r : rig.driver().callLog().Records())
    if (r.message == zentra::CTL_IN_GET_PEAKS || r.message == zentra::CTL_OUT_GET_PEAKS) ++n;
  return n;
}

struct Timing {
  double wallMs = 0;
  double cpuMs = 0;
};

// The mean time of ticking a box of the control window (the window built
// and shown); the box is cleared again after each.
Timing TimeOpenings(ProgramRig& rig, zentra::TExtCheckBox& box, int openings) {
  Timing sum;
  for (int i = 0; i < openings; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = CpuSeconds();
    box.SetChecked(true);
    sum.cpuMs += 1000 * (CpuSeconds() - c0);
    sum.wallMs += 1000 * std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    box.SetChecked(false);
    rig.driver().callLog().Clear();
  }
  return {sum.wallMs / openings, sum.cpuMs / openings};
}

// CPU seconds of one level poll and of one decay tick on lit meters (a poll
// before every third tick, as the two timers interleave; only the ticks
// are timed), over that many of each.
struct TickCost {
  double poll = 0;
  double decay = 0;
};
TickCost TimeTicks(ProgramRig& rig, zentra::TMixerWindow& w, int ticks) {
  using namespace zentra;
  const double c0 = CpuSeconds();
  for (int i = 0; i < ticks; ++i) {
    w.Perform(WM_LEVEL_POLL, 0, 0);
    if (i % 500 == 499) rig.driver().callLog().Clear();  // keep the log small
  }
  TickCost cost;
  cost.poll = (CpuSeconds() - c0) / ticks;
  double decaySeconds = 0;
  for (int i = 0; i < ticks; ++i) {
    if (i % 3 == 0) w.Perform(WM_LEVEL_POLL, 0, 0);
    if (i % 500 == 499) rig.driver().callLog().Clear();
    const auto t0 = std::chrono::steady_clock::now();
    w.Perform(WM_METER_DECAY, 0, 0);
    decaySeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  cost.decay = decaySeconds / ticks;
  return cost;
}

// The analog output window on every card: opening, then per source the
// requests of one poll and the CPU of a poll and of a decay tick. False when
// a poll asks the driver for more or less than one request per card (two
// for ADAT input).
bool BenchAnalogOutput(ProgramRig& rig, zentra::TMixControlWnd& control, int cards) {
  using namespace zentra;
  constexpr int kOpenings = 50;
  constexpr int kTicks = 5000;
  const Timing open = TimeOpenings(rig, *control.chkAnalogOutputs, kOpenings);
  control.chkAnalogOutputs->SetChecked(true);
  auto* w = dynamic_cast<TfrmAnalogOut*>(control.WindowOf("TfrmAnalogOut"));
  if (w == nullptr) {
    std::fprintf(stderr, "the analog output window did not open\n");
    return false;
  }
  std::printf("analog output window, %d simulated cards (host, headless)\n", cards);
  std::printf("  construct and show:     %8.3f ms wall, %8.3f ms CPU (mean of %d)\n", open.wallMs,
              open.cpuMs, kOpenings);
  bool ok = true;
  const char* names[] = {"program", "digital output", "analog input", "digital input", "ADAT input"};
  for (int source = 0; source < TfrmAnalogOut::kSourceCount; ++source) {
    for (int card = 0; card < cards; ++card) w->SourceButton(card, source)->SetChecked(true);
    rig.driver().callLog().Clear();
    w->Perform(WM_LEVEL_POLL, 0, 0);
    const std::size_t perPoll = LevelRequests(rig);
    const std::size_t wanted = static_cast<std::size_t>(cards * (source == kSourceAdatInput ? 2 : 1));
    ok = ok && perPoll == wanted;
    const TickCost cost = TimeTicks(rig, *w, kTicks);
    std::printf("  source %d %-15s requests a poll: %zu (wanted %zu) %s, CPU per poll %6.2f us, per decay tick %6.2f us\n",
                source, names[source], perPoll, wanted, perPoll == wanted ? "ok" : "WRONG", 1e6 * cost.poll,
                1e6 * cost.decay);
  }
  control.chkAnalogOutputs->SetChecked(false);
  return ok;
}

// A meter window on its control window box: opening, the requests of one
// poll, the CPU of a poll and of a decay tick. False when a poll does not
// make the expected number of requests.
struct MeterWindowBench {
  const char* title;
  zentra::TExtCheckBox* zentra::TMixControlWnd::*box;
  const char* className;
  std::size_t requestsPerPoll;
};

bool BenchMeterWindow(ProgramRig& rig, zentra::TMixControlWnd& control, const MeterWindowBench& bench, int cards) {
  using namespace zentra;
  constexpr int kOpenings = 100;
  constexpr int kTicks = 20000;
  TExtCheckBox& box = *(control.*bench.box);
  const Timing open = TimeOpenings(rig, box, kOpenings);
  box.SetChecked(true);
  auto* w = dynamic_cast<TMixerWindow*>(control.WindowOf(bench.className));
  if (w == nullptr) {
    std::fprintf(stderr, "the %s did not open\n", bench.title);
    return false;
  }
  rig.driver().callLog().Clear();
  w->Perform(WM_LEVEL_POLL, 0, 0);
  const std::size_t perPoll = LevelRequests(rig);
  const TickCost cost = TimeTicks(rig, *w, kTicks);
  const std::size_t meters = w->MeterTable().size();
  box.SetChecked(false);  // frees the window
  const bool ok = perPoll == bench.requestsPerPoll;
  std::printf("%s, %d simulated cards, %zu meters (host, headless)\n", bench.title, cards, meters);
  std::printf("  construct and show:     %8.3f ms wall, %8.3f ms CPU (mean of %d)\n", open.wallMs,
              open.cpuMs, kOpenings);
  std::printf("  driver requests a poll: %zu (wanted %zu) %s\n", perPoll, bench.requestsPerPoll, ok ? "ok" : "WRONG");
  std::printf("  CPU per level poll:     %8.2f us (every 100 ms: %.4f %% of one core)\n", 1e6 * cost.poll,
              100 * cost.poll / 0.100);
  std::printf("  time per decay tick:    %8.2f us (every 40 ms: %.4f %% of one core)\n", 1e6 * cost.decay,
              100 * cost.decay / 0.040);
  return ok;
}

}  // namespace

int main() {
  using namespace zentra;
  constexpr int kCards = 4;

  ProgramRig rig("[Cards]\nCount=4\n");
  rig.user().SetMessageBoxHandler([](const MessageBoxCall&) { return 1; });
  RegisterBilingualClasses();
  RegisterAudioControlClasses();
  RegisterMixerWindows();
  auto* control = new TMixControlWnd(nullptr);
  Windows().MixControlWnd = control;

  const bool inputOk = BenchMeterWindow(
      rig, *control, {"analog input window", &TMixControlWnd::chkAnalogInputs, "TfrmAnalogInp", kCards}, kCards);
  const bool outputOk = BenchAnalogOutput(rig, *control, kCards);
  const bool adatOk = BenchMeterWindow(
      rig, *control, {"ADAT input window", &TMixControlWnd::chkAdatInputs, "TfrmAdatInp", 4 * kCards}, kCards);

  Windows().MixControlWnd = nullptr;
  FreeAndNil(control);
  return inputOk && outputOk && adatOk ? 0 : 1;
}
