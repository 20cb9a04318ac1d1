#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/win32_platform.h"

namespace zentra {

std::uint32_t Win32TimerApi::timeSetEvent(std::uint32_t delay, std::uint32_t resolution,
                                          TimerCallback callback, std::uintptr_t user,
                                          std::uint32_t flags) {
  return ::timeSetEvent(delay, resolution, reinterpret_cast<LPTIMECALLBACK>(callback), user, flags);
}
std::uint32_t Win32TimerApi::timeKillEvent(std::uint32_t timerId) {
  return ::timeKillEvent(timerId);
}
std::uint32_t Win32TimerApi::timeGetDevCaps(TimeCaps* caps, std::uint32_t size) {
  return ::timeGetDevCaps(reinterpret_cast<LPTIMECAPS>(caps), size);
}

}  // namespace zentra
