// Control handles: wave devices of a card opened with the ControlFormat, whose
// "CTRL" extension tells the driver the open is for control, not audio. They
// carry the driver's control messages (control_messages.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/device_tables.h"
#include "platform/wave_api.h"

namespace zentra {

#pragma pack(push, 1)
struct ControlFormatRecord {
  WaveFormatEx format;  // PCM, 2 channels, 44100 Hz, 16 bit, cbSize 4
  char extra[4];        // 'C', 'T', 'R', 'L'
  char terminator;      // NUL, not counted by cbSize
};
#pragma pack(pop)
static_assert(sizeof(ControlFormatRecord) == 23, "ControlFormat is 22 bytes and a NUL");

extern const ControlFormatRecord ControlFormat;

// An empty entry of a handle array.
constexpr WinHandle kNoHandle = 0;

// Opens a control handle on the device of slot in the table of the direction,
// with CALLBACK_WINDOW when a callback window is given, else without callback.
// A slot without a device fails without calling the system. Any failure
// raises SilentAbort.
WinHandle OpenControlHandle(WaveApi& wave, WinHandle callbackWindow, int slot, Direction direction);

// Fills consecutive entries of handles, card-major and channel-minor: entry for
// card b and channel i is opened on slot b * 6 + first pair of kind + i / 2.
// The first failure raises SilentAbort; entries opened before it stay in the
// array for the caller to close. Opening more entries than capacity is a
// programming error (std::logic_error, before anything is opened).
void OpenControlHandles(WaveApi& wave, WinHandle callbackWindow, int kind, Direction direction,
                        int firstChannel, int lastChannel, int firstCard, int lastCard,
                        WinHandle* handles, std::size_t capacity);

// Closes the non-empty entries among the first count; an entry whose close
// succeeds becomes empty, one whose close fails keeps its handle.
void CloseControlHandles(WaveApi& wave, Direction direction, std::size_t count, WinHandle* handles);

// waveInMessage on a record handle, waveOutMessage on a playback handle.
// 0 when the driver accepted the message.
std::uint32_t SendControlMessage(WaveApi& wave, Direction direction, WinHandle handle,
                                 std::uint32_t message, std::uintptr_t dw1, std::uintptr_t dw2 = 0);

}  // namespace zentra
