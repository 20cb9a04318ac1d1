#include "platform/host/host_user_api.h"

namespace zentra {
namespace {

constexpr std::uintptr_t kScSize = 0xF000;
constexpr std::uintptr_t kScMove = 0xF010;
constexpr std::uintptr_t kScMinimize = 0xF020;
constexpr std::uintptr_t kScMaximize = 0xF030;
constexpr std::uintptr_t kScClose = 0xF060;
constexpr std::uintptr_t kScRestore = 0xF120;

}  // namespace

std::vector<MenuItem> HostUserApi::StandardMenu() {
  return {{MF_STRING, kScRestore, "&Wiederherstellen"}, {MF_STRING, kScMove, "&Verschieben"},
          {MF_STRING, kScSize, "&Größe ändern"},       {MF_STRING, kScMinimize, "Mi&nimieren"},
          {MF_STRING, kScMaximize, "Ma&ximieren"},      {MF_SEPARATOR, 0, ""},
          {MF_STRING, kScClose, "&Schließen"}};
}

int HostUserApi::MessageBoxA(WinHandle owner, const char* text, const char* caption,
                             std::uint32_t style) {
  MessageBoxCall call{owner, text ? text : "", caption ? caption : "", style};
  std::function<int(const MessageBoxCall&)> handler;
  int answer = IDOK;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.push_back(call);
    handler = handler_;
    if (!handler && !answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
    }
  }
  // The handler may call back into this object, so it runs unlocked.
  return handler ? handler(call) : answer;
}

bool HostUserApi::MessageBeep(std::uint32_t type) {
  std::lock_guard<std::mutex> lock(mutex_);
  beeps_.push_back(type);
  return true;
}

WinHandle HostUserApi::LoadIconA(const char* resourceName) {
  std::lock_guard<std::mutex> lock(mutex_);
  iconNames_.push_back(resourceName ? resourceName : "");
  if (iconLoadFails_ || resourceName == nullptr) return 0;
  const WinHandle icon = nextHandle_++;
  liveIcons_.insert(icon);
  return icon;
}

bool HostUserApi::DestroyIcon(WinHandle icon) {
  std::lock_guard<std::mutex> lock(mutex_);
  return liveIcons_.erase(icon) != 0;
}

bool HostUserApi::SetWindowPos(WinHandle window, WinHandle insertAfter, int, int, int, int,
                               std::uint32_t) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++setWindowPosCount_;
  if (insertAfter == HWND_TOPMOST) topmost_[window] = true;
  if (insertAfter == HWND_NOTOPMOST) topmost_[window] = false;
  return true;
}

WinHandle HostUserApi::GetSystemMenu(WinHandle window, bool revert) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = menuOfWindow_.find(window);
  if (revert) {
    // Back to the standard menu; like the platform, no handle is returned.
    if (it != menuOfWindow_.end()) menus_[it->second] = StandardMenu();
    return 0;
  }
  if (it != menuOfWindow_.end()) return it->second;
  const WinHandle menu = nextHandle_++;
  menuOfWindow_[window] = menu;
  menus_[menu] = StandardMenu();
  return menu;
}

bool HostUserApi::AppendMenuA(WinHandle menu, std::uint32_t flags, std::uintptr_t id,
                              const char* text) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = menus_.find(menu);
  if (it == menus_.end()) return false;
  it->second.push_back({flags, id, (flags & MF_SEPARATOR) || !text ? "" : text});
  return true;
}

bool HostUserApi::ModifyMenuA(WinHandle menu, std::uint32_t position, std::uint32_t flags,
                              std::uintptr_t id, const char* text) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = menus_.find(menu);
  if (it == menus_.end()) return false;
  auto& items = it->second;
  MenuItem* item = nullptr;
  if (flags & kMfByPosition) {
    if (position < items.size()) item = &items[position];
  } else {
    for (auto& candidate : items)
      if (!(candidate.flags & MF_SEPARATOR) && candidate.id == position) {
        item = &candidate;
        break;
      }
  }
  if (item == nullptr) return false;
  *item = {flags & ~kMfByPosition, id, (flags & MF_SEPARATOR) || !text ? "" : text};
  return true;
}

std::vector<MessageBoxCall> HostUserApi::MessageBoxes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

void HostUserApi::ClearMessageBoxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  boxes_.clear();
}

void HostUserApi::QueueMessageBoxAnswer(int answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(answer);
}

void HostUserApi::SetMessageBoxHandler(std::function<int(const MessageBoxCall&)> handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  handler_ = std::move(handler);
}

std::vector<std::uint32_t> HostUserApi::Beeps() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return beeps_;
}

std::vector<std::string> HostUserApi::LoadedIconNames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return iconNames_;
}

std::set<WinHandle> HostUserApi::LiveIcons() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return liveIcons_;
}

void HostUserApi::SetIconLoadFails(bool fails) {
  std::lock_guard<std::mutex> lock(mutex_);
  iconLoadFails_ = fails;
}

bool HostUserApi::IsTopmost(WinHandle window) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = topmost_.find(window);
  return it != topmost_.end() && it->second;
}

int HostUserApi::SetWindowPosCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return setWindowPosCount_;
}

std::vector<MenuItem> HostUserApi::SystemMenuItems(WinHandle window) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto w = menuOfWindow_.find(window);
  if (w == menuOfWindow_.end()) return {};
  return menus_.at(w->second);
}

std::uint32_t HostUserApi::RegisterWindowMessageA(const char* name) {
  if (name == nullptr || *name == 0) return 0;
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = registeredMessages_.find(name);
  if (it != registeredMessages_.end()) return it->second;
  const auto number = static_cast<std::uint32_t>(0xC000 + registeredMessages_.size());
  registeredMessages_.emplace(name, number);
  return number;
}

}  // namespace zentra
