// The toolkit's timer component: runs OnTimer every Interval milliseconds on
// the user-interface thread while Enabled (driven by the backend; in the
// headless backend by its virtual clock).
#pragma once

#include <cstdint>

#include "toolkit/component.h"
#include "toolkit/events.h"

namespace zentra {

class TTimer : public Component {
 public:
  explicit TTimer(Component* owner);
  ~TTimer() override;
  const char* ClassName() const override { return "TTimer"; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned interval);
  bool Running() const { return timerId_ != 0; }

  NotifyEvent OnTimer;

 protected:
  void Loaded() override;

 private:
  void Update();
  void Stop();

  bool enabled_ = true;
  unsigned interval_ = 1000;
  std::uintptr_t timerId_ = 0;
};

}  // namespace zentra
