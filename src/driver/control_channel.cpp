#include "driver/control_channel.h"

#include <stdexcept>

#include "platform/silent_abort.h"

namespace zentra {

const ControlFormatRecord ControlFormat = {
    {1 /* WAVE_FORMAT_PCM */, 2, 44100, 176400, 4, 16, 4}, {'C', 'T', 'R', 'L'}, '\0'};

WinHandle OpenControlHandle(WaveApi& wave, WinHandle callbackWindow, int slot, Direction direction) {
  const std::int32_t deviceId = DeviceIdOfSlot(slot, direction);
  if (deviceId == kNoDevice) throw SilentAbort();

  const std::uintptr_t callback = callbackWindow;
  const std::uint32_t flags = callbackWindow != 0 ? CALLBACK_WINDOW : CALLBACK_NULL;
  const auto id = static_cast<std::uint32_t>(deviceId);
  WinHandle handle = kNoHandle;
  const std::uint32_t result =
      direction == Direction::Record
          ? wave.waveInOpen(&handle, id, &ControlFormat.format, callback, 0, flags)
          : wave.waveOutOpen(&handle, id, &ControlFormat.format, callback, 0, flags);
  if (result != MMSYSERR_NOERROR) throw SilentAbort();
  return handle;
}

void OpenControlHandles(WaveApi& wave, WinHandle callbackWindow, int kind, Direction direction,
                        int firstChannel, int lastChannel, int firstCard, int lastCard,
                        WinHandle* handles, std::size_t capacity) {
  if (firstCard > lastCard || firstChannel > lastChannel) return;
  const auto needed = static_cast<std::size_t>(lastCard - firstCard + 1) *
                      static_cast<std::size_t>(lastChannel - firstChannel + 1);
  if (needed > capacity) {
    throw std::logic_error("OpenControlHandles: handle array too small");
  }
  const int base = FirstPairIndexOfKind(kind, direction);
  std::size_t entry = 0;
  for (int card = firstCard; card <= lastCard; ++card) {
    for (int channel = firstChannel; channel <= lastChannel; ++channel) {
      handles[entry++] =
          OpenControlHandle(wave, callbackWindow, DeviceSlot(card, base + channel / 2), direction);
    }
  }
}

void CloseControlHandles(WaveApi& wave, Direction direction, std::size_t count, WinHandle* handles) {
  for (std::size_t i = 0; i < count; ++i) {
    if (handles[i] == kNoHandle) continue;
    const std::uint32_t result = direction == Direction::Record ? wave.waveInClose(handles[i])
                                                                : wave.waveOutClose(handles[i]);
    if (result == MMSYSERR_NOERROR) handles[i] = kNoHandle;
  }
}

std::uint32_t SendControlMessage(WaveApi& wave, Direction direction, WinHandle handle,
                                 std::uint32_t message, std::uintptr_t dw1, std::uintptr_t dw2) {
  return direction == Direction::Record ? wave.waveInMessage(handle, message, dw1, dw2)
                                        : wave.waveOutMessage(handle, message, dw1, dw2);
}

}  // namespace zentra
