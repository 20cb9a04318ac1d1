// The static MinGW C runtime looks up two helpers with GetModuleHandleW and
// LoadLibraryW. The product imports ANSI functions only, so on i686 those two
// import slots are filled here with forwards to the ANSI calls instead of
// being imported from kernel32.
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

}  // namespace

extern "C" {
HMODULE(WINAPI* zentra_imp_GetModuleHandleW)(LPCWSTR) __asm__("__imp__GetModuleHandleW@4") =
    GetModuleHandleThroughAnsi;
HMODULE(WINAPI* zentra_imp_LoadLibraryW)(LPCWSTR) __asm__("__imp__LoadLibraryW@4") =
    LoadLibraryThroughAnsi;
}
#endif
