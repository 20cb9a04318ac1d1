#include "platform/host/host_shell_api.h"

#include <algorithm>

namespace zentra {

bool HostShellApi::Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back({message, record});
  auto same = [&record](const NotifyIconRecord& r) {
    return r.hWnd == record.hWnd && r.uID == record.uID;
  };
  auto it = std::find_if(icons_.begin(), icons_.end(), same);
  // The platform refuses a record whose size it does not know.
  if (record.cbSize != kNotifyIconV1Size) return false;
  switch (message) {
    case NIM_ADD:
      if (failNextAdd_) {
        failNextAdd_ = false;
        return false;
      }
      if (it != icons_.end()) return false;
      icons_.push_back(record);
      return true;
    case NIM_MODIFY:
      if (it == icons_.end()) return false;
      *it = record;
      return true;
    case NIM_DELETE:
      if (it == icons_.end()) return false;
      icons_.erase(it);
      return true;
    default:
      return false;
  }
}

void HostShellApi::RestartShell() {
  std::lock_guard<std::mutex> lock(mutex_);
  icons_.clear();
}

std::vector<HostShellApi::TrayCall> HostShellApi::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

std::vector<NotifyIconRecord> HostShellApi::Icons() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return icons_;
}

}  // namespace zentra
