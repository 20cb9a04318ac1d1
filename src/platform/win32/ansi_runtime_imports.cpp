// The static MinGW C runtime looks up two helpers with GetModuleHandleW and
// LoadLibraryW, and its thread layer (the locks of exception handling and of
// static initialisation) makes its semaphores with CreateSemaphoreW. The
// product imports ANSI functions only (Windows 95/98 do not carry these wide
// calls), so on i686 those import slots are filled here with forwards to the
// ANSI calls instead of being imported from kernel32.
#if defined(_WIN32) && !defined(_WIN64)
#include <windows.h>

namespace {

bool ToAnsi(LPCWSTR name, char (&ansi)[MAX_PATH]) {
  return ::WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, MAX_PATH, nullptr, nullptr) != 0;
}

HMODULE WINAPI GetModuleHandleThroughAnsi(LPCWSTR name) {
  if (name == nullptr) return ::GetModuleHandleA(nullptr);
  char ansi[MAX_PATH];
  return ToAnsi(name, ansi) ? ::GetModuleHandleA(ansi) : nullptr;
}

HMODULE WINAPI LoadLibraryThroughAnsi(LPCWSTR name) {
  char ansi[MAX_PATH];
  return name != nullptr && ToAnsi(name, ansi) ? ::LoadLibraryA(ansi) : nullptr;
}

HANDLE WINAPI CreateSemaphoreThroughAnsi(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                         LONG maximumCount, LPCWSTR name) {
  if (name == nullptr) return ::CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
  char ansi[MAX_PATH];
  if (!ToAnsi(name, ansi)) return nullptr;
  return ::CreateSemaphoreA(attributes, initialCount, maximumCount, ansi);
}

}  // namespace

extern "C" {
HMODULE(WINAPI* zentra_imp_GetModuleHandleW)(LPCWSTR) __asm__("__imp__GetModuleHandleW@4") =
    GetModuleHandleThroughAnsi;
HMODULE(WINAPI* zentra_imp_LoadLibraryW)(LPCWSTR) __asm__("__imp__LoadLibraryW@4") =
    LoadLibraryThroughAnsi;
HANDLE(WINAPI* zentra_imp_CreateSemaphoreW)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR) __asm__(
    "__imp__CreateSemaphoreW@16") = CreateSemaphoreThroughAnsi;
}
#endif
