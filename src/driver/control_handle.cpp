#include "driver/control_handle.h"

#include <utility>

#include "platform/silent_abort.h"

namespace zentra {

ControlHandle::ControlHandle(ControlHandle&& other) noexcept
    : wave_(other.wave_), handle_(other.handle_), direction_(other.direction_), slot_(other.slot_) {
  other.handle_ = kNoHandle;
}

ControlHandle& ControlHandle::operator=(ControlHandle&& other) noexcept {
  if (this != &other) {
    Close();
    wave_ = other.wave_;
    handle_ = std::exchange(other.handle_, kNoHandle);
    direction_ = other.direction_;
    slot_ = other.slot_;
  }
  return *this;
}

void ControlHandle::Open(WaveApi& wave, WinHandle callbackWindow, int slot, Direction direction) {
  Close();
  // The old one would not close: keep it rather than lose it, and fail as
  // a refused open does (the driver still holds it, so nothing changed).
  if (IsOpen()) throw SilentAbort();
  wave_ = &wave;
  direction_ = direction;
  slot_ = slot;
  handle_ = OpenControlHandle(wave, callbackWindow, slot, direction);
}

void ControlHandle::Close() {
  if (!IsOpen() || wave_ == nullptr) return;
  CloseControlHandles(*wave_, direction_, 1, &handle_);
}

std::uint32_t ControlHandle::Send(std::uint32_t message, std::uintptr_t dw1, std::uintptr_t dw2) const {
  if (!IsOpen() || wave_ == nullptr) return MMSYSERR_INVALHANDLE;
  return SendControlMessage(*wave_, direction_, handle_, message, dw1, dw2);
}

}  // namespace zentra
