// The wave audio layer as the program uses it: device enumeration and
// control handles carrying the driver's private messages.
#pragma once

#include "platform/win_defs.h"

namespace zentra {

class WaveApi {
 public:
  virtual ~WaveApi() = default;
  virtual std::uint32_t waveInGetNumDevs() = 0;
  virtual std::uint32_t waveOutGetNumDevs() = 0;
  virtual std::uint32_t waveInGetDevCapsA(std::uint32_t deviceId, WaveInCaps* caps,
                                          std::uint32_t size) = 0;
  virtual std::uint32_t waveOutGetDevCapsA(std::uint32_t deviceId, WaveOutCaps* caps,
                                           std::uint32_t size) = 0;
  virtual std::uint32_t waveInOpen(WinHandle* handle, std::uint32_t deviceId,
                                   const WaveFormatEx* format, std::uintptr_t callback,
                                   std::uintptr_t instance, std::uint32_t flags) = 0;
  virtual std::uint32_t waveOutOpen(WinHandle* handle, std::uint32_t deviceId,
                                    const WaveFormatEx* format, std::uintptr_t callback,
                                    std::uintptr_t instance, std::uint32_t flags) = 0;
  virtual std::uint32_t waveInClose(WinHandle handle) = 0;
  virtual std::uint32_t waveOutClose(WinHandle handle) = 0;
  virtual std::uint32_t waveInMessage(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                                      std::uintptr_t dw2) = 0;
  virtual std::uint32_t waveOutMessage(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                                       std::uintptr_t dw2) = 0;
};

}  // namespace zentra
