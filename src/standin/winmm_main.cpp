// The stand-in "winmm.dll": put beside the unchanged product (and loaded in
// place of the system's with the Wine override winmm=n,b), it offers the
// simulated cards' wave devices and answers their control handles and
// messages from the simulated driver in this process. The multimedia timers
// are the system's: those calls go on to the system's winmm, loaded by its
// full path.
#include <windows.h>

#include <cstdint>
#include <string>

#include "sim/win32/standin_driver.h"

namespace {

using zentra::sim::StandInDriver;
using zentra::WaveFormatEx;
using zentra::WaveInCaps;
using zentra::WaveOutCaps;
using zentra::WinHandle;

using TimerCallback = void(CALLBACK*)(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);
using TimeSetEventFn = UINT(WINAPI*)(UINT, UINT, TimerCallback, DWORD_PTR, UINT);
using TimeKillEventFn = UINT(WINAPI*)(UINT);
using TimeGetDevCapsFn = UINT(WINAPI*)(void*, UINT);

constexpr UINT kMmsyserrError = 1;

FARPROC SystemWinmm(const char* name) {
  static const HMODULE module = [] {
    char path[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryA(path, MAX_PATH);
    return ::LoadLibraryA((std::string(path, n) + "\\winmm.dll").c_str());
  }();
  return module != nullptr ? ::GetProcAddress(module, name) : nullptr;
}

template <typename Fn>
Fn SystemFunction(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemWinmm(name)));
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) zentra::sim::StartStandInDriverThread();
  return TRUE;
}

__declspec(dllexport) UINT WINAPI waveInGetNumDevs() {
  return StandInDriver().wave().waveInGetNumDevs();
}
__declspec(dllexport) UINT WINAPI waveOutGetNumDevs() {
  return StandInDriver().wave().waveOutGetNumDevs();
}
__declspec(dllexport) UINT WINAPI waveInGetDevCapsA(UINT_PTR id, WaveInCaps* caps, UINT size) {
  return StandInDriver().wave().waveInGetDevCapsA(static_cast<std::uint32_t>(id), caps, size);
}
__declspec(dllexport) UINT WINAPI waveOutGetDevCapsA(UINT_PTR id, WaveOutCaps* caps, UINT size) {
  return StandInDriver().wave().waveOutGetDevCapsA(static_cast<std::uint32_t>(id), caps, size);
}
__declspec(dllexport) UINT WINAPI waveInOpen(WinHandle* handle, UINT id, const WaveFormatEx* format,
                                             DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
  return StandInDriver().wave().waveInOpen(handle, id, format, callback, instance, flags);
}
__declspec(dllexport) UINT WINAPI waveOutOpen(WinHandle* handle, UINT id,
                                              const WaveFormatEx* format, DWORD_PTR callback,
                                              DWORD_PTR instance, DWORD flags) {
  return StandInDriver().wave().waveOutOpen(handle, id, format, callback, instance, flags);
}
__declspec(dllexport) UINT WINAPI waveInClose(WinHandle handle) {
  return StandInDriver().wave().waveInClose(handle);
}
__declspec(dllexport) UINT WINAPI waveOutClose(WinHandle handle) {
  return StandInDriver().wave().waveOutClose(handle);
}
__declspec(dllexport) UINT WINAPI waveInMessage(WinHandle handle, UINT message, DWORD_PTR dw1,
                                                DWORD_PTR dw2) {
  return StandInDriver().wave().waveInMessage(handle, message, dw1, dw2);
}
__declspec(dllexport) UINT WINAPI waveOutMessage(WinHandle handle, UINT message, DWORD_PTR dw1,
                                                 DWORD_PTR dw2) {
  return StandInDriver().wave().waveOutMessage(handle, message, dw1, dw2);
}

__declspec(dllexport) UINT WINAPI timeSetEvent(UINT delay, UINT resolution, TimerCallback callback,
                                               DWORD_PTR user, UINT flags) {
  const auto fn = SystemFunction<TimeSetEventFn>("timeSetEvent");
  return fn != nullptr ? fn(delay, resolution, callback, user, flags) : 0;
}
__declspec(dllexport) UINT WINAPI timeKillEvent(UINT id) {
  const auto fn = SystemFunction<TimeKillEventFn>("timeKillEvent");
  return fn != nullptr ? fn(id) : kMmsyserrError;
}
__declspec(dllexport) UINT WINAPI timeGetDevCaps(void* caps, UINT size) {
  const auto fn = SystemFunction<TimeGetDevCapsFn>("timeGetDevCaps");
  return fn != nullptr ? fn(caps, size) : kMmsyserrError;
}

}  // extern "C"
