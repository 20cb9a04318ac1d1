// Shell services: launching a program and the notification-area icon.
#pragma once

#include "platform/win_defs.h"

namespace zentra {

class ShellApi {
 public:
  virtual ~ShellApi() = default;
  // Returns a value greater than 32 on success, an error code otherwise.
  virtual std::intptr_t ShellExecuteA(WinHandle owner, const char* verb, const char* file,
                                      const char* parameters, const char* directory,
                                      int showCommand) = 0;
  virtual bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) = 0;
};

}  // namespace zentra
