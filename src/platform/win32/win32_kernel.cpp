#include <windows.h>

#include <cstring>

#include "platform/text_encoding.h"
#include "platform/win32/win32_platform.h"

namespace zentra {

void Win32KernelApi::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::uint32_t Win32KernelApi::TickCount() { return ::GetTickCount(); }

std::uint32_t Win32KernelApi::WaitForSingleObject(WinHandle handle, std::uint32_t milliseconds) {
  return ::WaitForSingleObject(reinterpret_cast<HANDLE>(handle), milliseconds);
}

bool Win32KernelApi::CloseHandle(WinHandle handle) {
  return ::CloseHandle(reinterpret_cast<HANDLE>(handle)) != FALSE;
}

std::uint32_t Win32KernelApi::GetPrivateProfileStringA(const char* section, const char* key,
                                                       const char* defaultValue, char* buffer,
                                                       std::uint32_t size,
                                                       const char* fileName) {
  if (buffer == nullptr || size == 0) return 0;
  std::string ansi(size, '\0');
  const DWORD n = ::GetPrivateProfileStringA(
      Utf8ToCp1252(section).c_str(), key ? Utf8ToCp1252(key).c_str() : nullptr,
      Utf8ToCp1252(defaultValue ? defaultValue : "").c_str(), &ansi[0], size, fileName);
  // The UTF-8 form may be longer than the ANSI one: cut it to the buffer.
  const std::string utf8 = Cp1252ToUtf8(ansi.substr(0, n));
  const std::size_t copied = utf8.size() < size ? utf8.size() : size - 1;
  std::memcpy(buffer, utf8.data(), copied);
  buffer[copied] = '\0';
  return static_cast<std::uint32_t>(copied);
}

bool Win32KernelApi::WritePrivateProfileStringA(const char* section, const char* key,
                                                const char* value, const char* fileName) {
  if (section == nullptr && key == nullptr && value == nullptr)
    return ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, fileName) != FALSE;  // flush
  const std::string s = Utf8ToCp1252(section);
  const std::string k = key ? Utf8ToCp1252(key) : std::string();
  const std::string v = value ? Utf8ToCp1252(value) : std::string();
  return ::WritePrivateProfileStringA(s.c_str(), key ? k.c_str() : nullptr,
                                      value ? v.c_str() : nullptr, fileName) != FALSE;
}

bool Win32KernelApi::DeleteFileA(const char* fileName) {
  return ::DeleteFileA(Utf8ToCp1252(fileName ? fileName : "").c_str()) != FALSE;
}

bool Win32KernelApi::MoveFileA(const char* existingName, const char* newName) {
  return ::MoveFileA(Utf8ToCp1252(existingName ? existingName : "").c_str(),
                     Utf8ToCp1252(newName ? newName : "").c_str()) != FALSE;
}

std::uint32_t Win32KernelApi::GetFileAttributesA(const char* fileName) {
  return ::GetFileAttributesA(Utf8ToCp1252(fileName ? fileName : "").c_str());
}

std::uint32_t Win32KernelApi::GetModuleFileNameA(char* buffer, std::uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  char ansi[MAX_PATH + 1] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, ansi, MAX_PATH);
  const std::string utf8 = Cp1252ToUtf8(std::string(ansi, n < MAX_PATH ? n : 0));
  const std::size_t copied = utf8.size() < size ? utf8.size() : size - 1;
  std::memcpy(buffer, utf8.data(), copied);
  buffer[copied] = '\0';
  return static_cast<std::uint32_t>(copied);
}

}  // namespace zentra
