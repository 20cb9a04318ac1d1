#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/win32_platform.h"

namespace zentra {

std::uint32_t Win32WaveApi::waveInGetNumDevs() { return ::waveInGetNumDevs(); }
std::uint32_t Win32WaveApi::waveOutGetNumDevs() { return ::waveOutGetNumDevs(); }
std::uint32_t Win32WaveApi::waveInGetDevCapsA(std::uint32_t deviceId, WaveInCaps* caps,
                                              std::uint32_t size) {
  return ::waveInGetDevCapsA(deviceId, reinterpret_cast<WAVEINCAPSA*>(caps), size);
}
std::uint32_t Win32WaveApi::waveOutGetDevCapsA(std::uint32_t deviceId, WaveOutCaps* caps,
                                               std::uint32_t size) {
  return ::waveOutGetDevCapsA(deviceId, reinterpret_cast<WAVEOUTCAPSA*>(caps), size);
}
std::uint32_t Win32WaveApi::waveInOpen(WinHandle* handle, std::uint32_t deviceId,
                                       const WaveFormatEx* format, std::uintptr_t callback,
                                       std::uintptr_t instance, std::uint32_t flags) {
  return ::waveInOpen(reinterpret_cast<HWAVEIN*>(handle), deviceId,
                      reinterpret_cast<const WAVEFORMATEX*>(format), callback, instance, flags);
}
std::uint32_t Win32WaveApi::waveOutOpen(WinHandle* handle, std::uint32_t deviceId,
                                        const WaveFormatEx* format, std::uintptr_t callback,
                                        std::uintptr_t instance, std::uint32_t flags) {
  return ::waveOutOpen(reinterpret_cast<HWAVEOUT*>(handle), deviceId,
                       reinterpret_cast<const WAVEFORMATEX*>(format), callback, instance, flags);
}
std::uint32_t Win32WaveApi::waveInClose(WinHandle handle) {
  return ::waveInClose(reinterpret_cast<HWAVEIN>(handle));
}
std::uint32_t Win32WaveApi::waveOutClose(WinHandle handle) {
  return ::waveOutClose(reinterpret_cast<HWAVEOUT>(handle));
}
std::uint32_t Win32WaveApi::waveInMessage(WinHandle handle, std::uint32_t message,
                                          std::uintptr_t dw1, std::uintptr_t dw2) {
  return ::waveInMessage(reinterpret_cast<HWAVEIN>(handle), message, dw1, dw2);
}
std::uint32_t Win32WaveApi::waveOutMessage(WinHandle handle, std::uint32_t message,
                                           std::uintptr_t dw1, std::uintptr_t dw2) {
  return ::waveOutMessage(reinterpret_cast<HWAVEOUT>(handle), message, dw1, dw2);
}

}  // namespace zentra
