// The stand-in "Zentra.DRV": the configuration entry point that the system's
// launcher calls ("rundll.exe Zentra.DRV,DriverConfig <command text>"). It
// runs in the launcher's process and hands the command to the simulated
// driver inside the program's process (see driver_relay.h), returning once
// the driver has finished with it. Without a simulated driver running it
// does nothing, as a driver module that cannot reach its card.
#include <windows.h>

#include <string>

#include "sim/win32/driver_relay.h"

namespace {

// The relay window exists from the moment the stand-in wave layer is
// loaded, long before the launcher gets here; a short look is enough.
constexpr unsigned kRelayWaitMs = 2000;

void Run(const char* text) {
  if (text != nullptr) zentra::sim::RelayConfigCommand(text, kRelayWaitMs);
}

}  // namespace

extern "C" {

__declspec(dllexport) void CALLBACK DriverConfig(HWND, HINSTANCE, LPSTR commandLine, int) {
  Run(commandLine);
}
__declspec(dllexport) void CALLBACK DriverConfigA(HWND, HINSTANCE, LPSTR commandLine, int) {
  Run(commandLine);
}
__declspec(dllexport) void CALLBACK DriverConfigW(HWND, HINSTANCE, LPWSTR commandLine, int) {
  if (commandLine == nullptr) return;
  char text[512] = {};
  ::WideCharToMultiByte(CP_ACP, 0, commandLine, -1, text, sizeof text - 1, nullptr, nullptr);
  Run(text);
}

}  // extern "C"
