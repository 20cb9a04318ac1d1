// The common dialogs of the host build: a test scripts each dialog's answer
// (a path, or cancelled) and reads back what every dialog was asked.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_api.h"

namespace zentra {

class HostDialogApi : public DialogApi {
 public:
  struct DialogCall {
    bool save;
    FileDialogRecord record;  // as the program asked
  };

  bool GetSaveFileNameA(FileDialogRecord& record) override;
  bool GetOpenFileNameA(FileDialogRecord& record) override;

  // The next dialog's answer: the path chosen, or nullopt for cancelled. A
  // dialog without an answer queued is cancelled.
  void QueueAnswer(std::optional<std::string> path);
  std::vector<DialogCall> Calls() const;
  // Runs while a dialog is up, as the messages the system's dialog lets
  // through would (a window closed, a card removed); null: nothing.
  void SetWhileUp(std::function<void()> whileUp);

 private:
  bool Answer(FileDialogRecord& record, bool save);

  mutable std::mutex mutex_;
  std::deque<std::optional<std::string>> answers_;
  std::vector<DialogCall> calls_;
  std::function<void()> whileUp_;
};

}  // namespace zentra
