#include "toolkit/timer.h"

#include "toolkit/application.h"

namespace zentra {

TTimer::TTimer(Component* owner) : Component(owner) {}

TTimer::~TTimer() { Stop(); }

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Update();
}

void TTimer::Loaded() {
  Component::Loaded();
  Update();
}

void TTimer::Stop() {
  if (timerId_ == 0) return;
  if (Backend* backend = Application::Instance().GetBackend()) backend->StopTimer(timerId_);
  timerId_ = 0;
}

void TTimer::Update() {
  Stop();
  if (!enabled_ || interval_ == 0 || Loading()) return;
  Backend* backend = Application::Instance().GetBackend();
  if (backend == nullptr) return;
  timerId_ = backend->StartTimer(interval_, [this] {
    RunGuarded([this] {
      if (OnTimer) OnTimer(this);
    }, this);
  });
}

}  // namespace zentra
