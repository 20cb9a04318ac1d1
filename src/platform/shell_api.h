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
  // Launches as ShellExecuteA does and, where the platform can, hands back
  // the launched program's process to watch. A shell without processes
  // launches with ShellExecuteA and answers no process.
  virtual bool ShellExecuteExA(ShellExecuteRecord& record) {
    record.instApp = ShellExecuteA(record.owner, record.verb, record.file, record.parameters,
                                   record.directory, record.show);
    record.process = 0;
    return record.instApp > 32;
  }
  virtual bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) = 0;
};

}  // namespace zentra
