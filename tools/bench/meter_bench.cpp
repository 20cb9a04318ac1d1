// Feeds 32 level meters of 40 segments (the ADAT window on four cards) with a
// generated peak sequence at the windows' rates -- levels every 100 ms, decay
// every 40 ms -- on the headless backend, and prints per tick: segment state
// changes, segment repaints requested, invalidated area against the changed
// segments' area, and the CPU time of each poll and decay tick for all meters.
//
// Usage: zentra_meter_bench [seconds of simulated metering, default 600]
//                           [--trace: one line per tick]
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "controls/level_meter.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/headless/headless_backend.h"

using namespace zentra;

namespace {

constexpr int kMeters = 32;
constexpr int kPollMs = 100;
constexpr int kDecayMs = 40;

double ThreadCpuMicros() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

// Deterministic peak readings: per channel a slowly varying programme level
// with transients, silence now and then, and occasional full-scale peaks.
class PeakSource {
 public:
  explicit PeakSource(std::uint32_t start) : state_(start) {}
  int Next(int channel, int tick) {
    const double t = tick * 0.1;
    double level = 0.35 + 0.3 * std::sin(t * (0.7 + channel * 0.05) + channel);
    if ((tick / 50 + channel) % 11 == 0) level = 0.0;  // a quiet passage
    const double r = Random();
    if (r > 0.97) level = 1.0;             // a full-scale peak
    else if (r > 0.8) level *= 1.6;        // a transient
    level *= 0.85 + 0.3 * Random();
    return static_cast<int>(std::clamp(level, 0.0, 1.0) * 32767.0);
  }

 private:
  double Random() {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) / 16777216.0;
  }
  std::uint32_t state_;
};

struct TickFigures {
  long changes = 0;
  long repaints = 0;
  long invalidatedArea = 0;
  long changedArea = 0;
  double cpuMicros = 0;
};

struct Summary {
  const char* name;
  std::vector<TickFigures> ticks;

  void Print() const {
    if (ticks.empty()) return;
    long changes = 0, repaints = 0, invalidated = 0, changed = 0;
    std::vector<double> cpu;
    for (const TickFigures& t : ticks) {
      changes += t.changes;
      repaints += t.repaints;
      invalidated += t.invalidatedArea;
      changed += t.changedArea;
      cpu.push_back(t.cpuMicros);
    }
    std::sort(cpu.begin(), cpu.end());
    const double n = static_cast<double>(ticks.size());
    double sum = 0;
    for (double c : cpu) sum += c;
    std::printf("%-6s ticks %6zu | per tick: changes %6.2f  repaints %6.2f  ratio %4.2f | "
                "area invalidated %8.1f px  changed %8.1f px  ratio %4.2f | "
                "CPU us mean %6.2f  p50 %6.2f  p99 %6.2f  max %7.2f\n",
                name, ticks.size(), changes / n, repaints / n,
                changes ? static_cast<double>(repaints) / changes : 1.0, invalidated / n,
                changed / n, changed ? static_cast<double>(invalidated) / changed : 1.0, sum / n,
                cpu[cpu.size() / 2], cpu[static_cast<std::size_t>(cpu.size() * 0.99)], cpu.back());
  }
};

std::vector<std::uint8_t> States(const std::vector<TLevelMeter*>& meters) {
  std::vector<std::uint8_t> s;
  for (const TLevelMeter* m : meters)
    for (int i = 0; i < m->SegmentCount(); ++i) s.push_back(m->Segment(i)->On() ? 1 : 0);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 600;
  bool trace = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--trace") == 0)
      trace = true;
    else
      seconds = std::max(1, std::atoi(argv[i]));
  }

  auto backendOwner = std::make_unique<HeadlessBackend>();
  HeadlessBackend& backend = *backendOwner;
  Application::Instance().SetBackend(std::move(backendOwner));

  auto* window = new TForm(nullptr);
  window->SetBounds(0, 0, 1272, 289);
  window->Show();
  std::vector<TLevelMeter*> meters;
  for (int i = 0; i < kMeters; ++i) {
    auto* meter = new TLevelMeter(window);
    meter->SetBounds(6 + i * 39, 6, 18, 163);
    meter->SetLumiHeight(5);
    meter->SetNumLumisRed(1);
    meter->SetNumLumisOrange(12);
    meter->SetTimerInterval(40);
    meter->SetLevelMaxHold(3000);
    meter->SetParent(window);
    meters.push_back(meter);
  }
  const WinHandle handle = window->Handle();
  const int segmentArea = meters[0]->Segment(0)->Width() * meters[0]->Segment(0)->Height();

  PeakSource source(0x5EED5u);
  Summary poll{"poll", {}};
  Summary decay{"decay", {}};
  std::vector<std::uint8_t> before = States(meters);
  int pollTick = 0;
  for (int now = 1; now <= seconds * 1000; ++now) {
    const bool isDecay = now % kDecayMs == 0;
    const bool isPoll = now % kPollMs == 0;
    for (int kind = 0; kind < 2; ++kind) {
      if ((kind == 0 && !isDecay) || (kind == 1 && !isPoll)) continue;
      std::vector<int> levels;
      if (kind == 1) {
        for (int m = 0; m < kMeters; ++m) levels.push_back(source.Next(m, pollTick));
        ++pollTick;
      }
      backend.ClearInvalidations();
      const double start = ThreadCpuMicros();
      if (kind == 0) {
        for (TLevelMeter* m : meters) {
          Message message{WM_METER_DECAY, 0, 0, 0};
          m->DecayMessage(message);
        }
      } else {
        for (int m = 0; m < kMeters; ++m) meters[static_cast<std::size_t>(m)]->SetLevel(levels[static_cast<std::size_t>(m)]);
      }
      TickFigures f;
      f.cpuMicros = ThreadCpuMicros() - start;
      const std::vector<std::uint8_t> after = States(meters);
      for (std::size_t i = 0; i < after.size(); ++i) f.changes += after[i] != before[i];
      before = after;
      f.changedArea = f.changes * segmentArea;
      for (const auto& inv : backend.Invalidations(handle)) {
        ++f.repaints;
        f.invalidatedArea += static_cast<long>(inv.rect.Width()) * inv.rect.Height();
      }
      if (trace) {
        std::printf("%7d ms %-5s changes %3ld repaints %3ld area %5ld/%5ld cpu %7.2f us\n", now,
                    kind == 0 ? "decay" : "poll", f.changes, f.repaints, f.invalidatedArea,
                    f.changedArea, f.cpuMicros);
      }
      (kind == 0 ? decay : poll).ticks.push_back(f);
    }
  }
  std::printf("%d meters x %d segments, %d s of metering (levels every %d ms, decay every %d ms)\n",
              kMeters, meters[0]->SegmentCount(), seconds, kPollMs, kDecayMs);
  poll.Print();
  decay.Print();
  Free(window);
  Application::Instance().SetBackend(nullptr);
  return 0;
}
