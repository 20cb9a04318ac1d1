// User-interface services for tests and the headless build: message boxes
// are recorded and answered from a script, icons and topmost placement are
// tracked, and each window has a simple system menu model.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/user_api.h"

namespace zentra {

constexpr std::uint32_t kMfByPosition = 0x0400;  // MF_BYPOSITION

struct MessageBoxCall {
  WinHandle owner = 0;
  std::string text;
  std::string caption;
  std::uint32_t style = 0;
};

struct MenuItem {
  std::uint32_t flags = 0;
  std::uintptr_t id = 0;
  std::string text;
};

class HostUserApi : public UserApi {
 public:
  // The items a fresh system menu holds (restore, move, size, minimise,
  // maximise, separator, close).
  static constexpr std::size_t kStandardSystemMenuItems = 7;

  int MessageBoxA(WinHandle owner, const char* text, const char* caption,
                  std::uint32_t style) override;
  bool MessageBeep(std::uint32_t type) override;
  WinHandle LoadIconA(const char* resourceName) override;
  bool DestroyIcon(WinHandle icon) override;
  bool SetWindowPos(WinHandle window, WinHandle insertAfter, int x, int y, int cx, int cy,
                    std::uint32_t flags) override;
  WinHandle GetSystemMenu(WinHandle window, bool revert) override;
  bool AppendMenuA(WinHandle menu, std::uint32_t flags, std::uintptr_t id,
                   const char* text) override;
  bool ModifyMenuA(WinHandle menu, std::uint32_t position, std::uint32_t flags,
                   std::uintptr_t id, const char* text) override;
  // Numbers from 0xC000 up, one per name, the same for every request.
  std::uint32_t RegisterWindowMessageA(const char* name) override;

  // Message boxes: every call in order; answers are taken from the script
  // queue, IDOK when it is empty. A handler, when set, answers instead (it
  // runs while the "modal" box is up, like a user would act).
  std::vector<MessageBoxCall> MessageBoxes() const;
  void ClearMessageBoxes();
  void QueueMessageBoxAnswer(int answer);
  void SetMessageBoxHandler(std::function<int(const MessageBoxCall&)> handler);
  std::vector<std::uint32_t> Beeps() const;

  // Icons: names asked for, and handles loaded but not destroyed.
  std::vector<std::string> LoadedIconNames() const;
  std::set<WinHandle> LiveIcons() const;
  void SetIconLoadFails(bool fails);

  // Topmost placement as last set for each window (false when never set).
  bool IsTopmost(WinHandle window) const;
  int SetWindowPosCount() const;

  // The system menu of a window as it stands; empty when never asked for.
  std::vector<MenuItem> SystemMenuItems(WinHandle window) const;

 private:
  static std::vector<MenuItem> StandardMenu();

  mutable std::mutex mutex_;
  std::vector<MessageBoxCall> boxes_;
  std::deque<int> answers_;
  std::function<int(const MessageBoxCall&)> handler_;
  std::vector<std::uint32_t> beeps_;
  std::vector<std::string> iconNames_;
  std::set<WinHandle> liveIcons_;
  bool iconLoadFails_ = false;
  WinHandle nextHandle_ = 0x10000;
  std::map<WinHandle, bool> topmost_;
  int setWindowPosCount_ = 0;
  std::map<WinHandle, WinHandle> menuOfWindow_;
  std::map<WinHandle, std::vector<MenuItem>> menus_;
  std::map<std::string, std::uint32_t> registeredMessages_;
};

}  // namespace zentra
