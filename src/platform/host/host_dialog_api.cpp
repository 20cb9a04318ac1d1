#include "platform/host/host_dialog_api.h"

namespace zentra {

bool HostDialogApi::GetSaveFileNameA(FileDialogRecord& record) { return Answer(record, true); }

bool HostDialogApi::GetOpenFileNameA(FileDialogRecord& record) { return Answer(record, false); }

bool HostDialogApi::Answer(FileDialogRecord& record, bool save) {
  std::function<void()> whileUp;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    whileUp = whileUp_;
  }
  if (whileUp) whileUp();
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back({save, record});
  if (answers_.empty()) return false;
  const std::optional<std::string> answer = answers_.front();
  answers_.pop_front();
  if (!answer) return false;
  record.fileName = *answer;
  return true;
}

void HostDialogApi::QueueAnswer(std::optional<std::string> path) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(std::move(path));
}

void HostDialogApi::SetWhileUp(std::function<void()> whileUp) {
  std::lock_guard<std::mutex> lock(mutex_);
  whileUp_ = std::move(whileUp);
}

std::vector<HostDialogApi::DialogCall> HostDialogApi::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

}  // namespace zentra
