// One control handle owned by whoever holds it: it remembers its direction
// and device slot, so every message and the close go to the right half of the
// wave layer (a record handle never gets waveOutMessage), and it closes
// itself when it is destroyed.
#pragma once

#include <cstdint>

#include "driver/control_channel.h"

namespace zentra {

class ControlHandle {
 public:
  ControlHandle() = default;
  ~ControlHandle() { Close(); }
  ControlHandle(const ControlHandle&) = delete;
  ControlHandle& operator=(const ControlHandle&) = delete;
  ControlHandle(ControlHandle&& other) noexcept;
  ControlHandle& operator=(ControlHandle&& other) noexcept;

  // Opens on the device of slot (OpenControlHandle: SilentAbort on failure,
  // leaving this handle empty). A handle still open is closed first; when
  // that close fails, the handle keeps it and the open fails with
  // SilentAbort as a refused one does.
  void Open(WaveApi& wave, WinHandle callbackWindow, int slot, Direction direction);
  // waveInClose or waveOutClose; a handle whose close fails stays open, as
  // the driver still holds it, and is closed again next time.
  void Close();

  // The message on this handle; MMSYSERR_INVALHANDLE without calling the
  // system when the handle is not open.
  std::uint32_t Send(std::uint32_t message, std::uintptr_t dw1 = 0, std::uintptr_t dw2 = 0) const;

  bool IsOpen() const { return handle_ != kNoHandle; }
  WinHandle Get() const { return handle_; }
  Direction GetDirection() const { return direction_; }
  int Slot() const { return slot_; }

 private:
  WaveApi* wave_ = nullptr;
  WinHandle handle_ = kNoHandle;
  Direction direction_ = Direction::Record;
  int slot_ = -1;
};

}  // namespace zentra
