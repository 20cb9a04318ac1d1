// Level metering of a mixer window: start and stop per card and for the
// whole window, the level poll that reads every metered device into the one
// MeterLevelBlock, and the decay tick. Where each device is metered is its
// route; the messages follow the direction of each handle of the route.
#include <algorithm>
#include <limits>

#include "controls/level_meter.h"
#include "mixer/mixer_window.h"
#include "platform/silent_abort.h"

namespace zentra {
namespace {

// A peak value as the meters take it: the driver's unsigned 32-bit number,
// saturated to the meter's integer range.
int PeakValue(std::uint32_t raw) {
  constexpr auto kMax = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
  return static_cast<int>(std::min(raw, kMax));
}

}  // namespace

std::size_t TMixerWindow::MeteredDeviceCount() const {
  return static_cast<std::size_t>(Cards() * info_.devicesPerCard);
}

MeterRoute TMixerWindow::RouteOf(std::size_t device) const {
  // Two handles per stereo device in the window's own group; the first of
  // them carries the messages.
  return MeterRoute::On(GroupHandle(0, device * 2));
}

std::uint32_t TMixerWindow::StartCardMetering(int card) {
  std::uint32_t result = 0;
  if (!metersRunning_) return result;
  for (int j = 0; j < info_.devicesPerCard; ++j) {
    const MeterRoute route = RouteOf(static_cast<std::size_t>(card * info_.devicesPerCard + j));
    for (const ControlHandle* h : route.started)
      if (h != nullptr) result = h->Send(MeterMessagesOf(h->GetDirection()).start);
  }
  pollTimer_.Start(Handle(), kPollPeriodMs);
  return result;
}

void TMixerWindow::StopCardMetering(int card) {
  if (!metersRunning_) return;
  for (int j = 0; j < info_.devicesPerCard; ++j) {
    const MeterRoute route = RouteOf(static_cast<std::size_t>(card * info_.devicesPerCard + j));
    for (const ControlHandle* h : route.started)
      if (h != nullptr) h->Send(MeterMessagesOf(h->GetDirection()).stop);
  }
  pollTimer_.Kill();
}

void TMixerWindow::StartMetering() {
  if (metersRunning_) return;
  metersRunning_ = true;
  std::uint32_t lastResult = 0;
  for (int card = 0; card < Cards(); ++card) lastResult = StartCardMetering(card);
  // Where the driver's start counts, a refused start on the last card leaves
  // metering marked as not running; the timers run all the same.
  if (info_.runningNeedsLastStart) metersRunning_ = lastResult == MMSYSERR_NOERROR;
  decayTimer_.Start(Handle(), kDecayPeriodMs);
  pollTimer_.Start(Handle(), kPollPeriodMs);
}

void TMixerWindow::StopMetering() {
  if (metersRunning_)
    for (int card = 0; card < Cards(); ++card) StopCardMetering(card);
  decayTimer_.Kill();
  pollTimer_.Kill();
  metersRunning_ = false;
}

void TMixerWindow::LeaveSourceMetering(int card) {
  StopCardMetering(card);
  CloseSourceHandles(card);
  if (SourceHandle(card, 0).IsOpen() || SourceHandle(card, 1).IsOpen()) {
    // The driver still holds them: they go on serving the old source.
    StartCardMetering(card);
    throw SourceHandlesKept{};
  }
}

void TMixerWindow::EnterSourceMetering(int card, int source) {
  SetMeteredSource(card, source);
  try {
    OpenSourceHandles(card, source);
  } catch (const SilentAbort&) {
    CloseSourceHandles(card);
    StartCardMetering(card);  // meters nothing of this card, but the others' go on
    throw;
  }
  StartCardMetering(card);
}

void TMixerWindow::RestoreSourceMetering(int card, int source) {
  StopCardMetering(card);
  CloseSourceHandles(card);
  SetMeteredSource(card, source);
  try {
    OpenSourceHandles(card, source);
  } catch (const SilentAbort&) {
    CloseSourceHandles(card);
  }
  StartCardMetering(card);
}

void TMixerWindow::PollLevels() {
  if (meterLevelBlock_ == nullptr || !meterLevelBlock_->Usable()) return;
  for (std::size_t d = 0; d < MeteredDeviceCount(); ++d) ShowPeaks(RouteOf(d), d);
}

void TMixerWindow::ShowPeaks(const MeterRoute& route, std::size_t device) {
  // A meter reads the handle of its source; two meters on one handle share
  // one request. A refused request leaves its meters as they are (the decay
  // lets them fall) rather than showing another device's values.
  const ControlHandle* lastRead = nullptr;
  bool lastOk = false;
  for (std::size_t side = 0; side < 2; ++side) {
    const MeterRoute::MeterSource& source = route.meters[side];
    if (source.handle == nullptr) continue;
    if (source.handle != lastRead) {
      lastRead = source.handle;
      lastOk = source.handle->Send(MeterMessagesOf(source.handle->GetDirection()).peaks,
                                   meterLevelBlock_->Address()) == MMSYSERR_NOERROR;
    }
    const std::size_t meter = device * 2 + side;
    if (lastOk && meter < meters_.size() && meters_[meter] != nullptr)
      meters_[meter]->SetLevel(PeakValue(meterLevelBlock_->Word32(source.value == 0 ? 0 : 4)));
  }
}

void TMixerWindow::WMLevelPoll(Message& message) {
  PollLevels();
  message.result = 1;
}

void TMixerWindow::WMMeterDecay(Message& message) {
  for (TLevelMeter* meter : meters_) {
    if (meter == nullptr) continue;
    Message tick = message;
    meter->DecayMessage(tick);
  }
  message.result = 1;
}

}  // namespace zentra
