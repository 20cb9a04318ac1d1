#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "platform/text_encoding.h"
#include "platform/win32/win32_platform.h"

namespace zentra {

std::intptr_t Win32ShellApi::ShellExecuteA(WinHandle owner, const char* verb, const char* file,
                                           const char* parameters, const char* directory,
                                           int showCommand) {
  return reinterpret_cast<std::intptr_t>(::ShellExecuteA(
      reinterpret_cast<HWND>(owner), verb, file, parameters, directory, showCommand));
}

bool Win32ShellApi::ShellExecuteExA(ShellExecuteRecord& record) {
  SHELLEXECUTEINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  info.fMask = record.mask;
  info.hwnd = reinterpret_cast<HWND>(record.owner);
  info.lpVerb = record.verb;
  info.lpFile = record.file;
  info.lpParameters = record.parameters;
  info.lpDirectory = record.directory;
  info.nShow = record.show;
  const bool launched = ::ShellExecuteExA(&info) != FALSE;
  record.instApp = reinterpret_cast<std::intptr_t>(info.hInstApp);
  record.process = reinterpret_cast<WinHandle>(info.hProcess);
  return launched;
}

bool Win32ShellApi::Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) {
  NOTIFYICONDATAA data;
  std::memset(&data, 0, sizeof data);
  data.cbSize = record.cbSize;
  data.hWnd = reinterpret_cast<HWND>(record.hWnd);
  data.uID = record.uID;
  data.uFlags = record.uFlags;
  data.uCallbackMessage = record.uCallbackMessage;
  data.hIcon = reinterpret_cast<HICON>(record.hIcon);
  const std::string tip = Utf8ToCp1252(record.szTip);
  std::strncpy(data.szTip, tip.c_str(), sizeof data.szTip - 1);
  return ::Shell_NotifyIconA(message, &data) != FALSE;
}

}  // namespace zentra
