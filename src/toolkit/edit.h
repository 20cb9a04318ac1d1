// A single-line edit box.
#pragma once

#include "toolkit/control.h"

namespace zentra {

class TEdit : public Control {
 public:
  explicit TEdit(Component* owner);
  const char* ClassName() const override { return "TEdit"; }

  const std::string& Text() const { return Caption(); }
  // Every change of the text, by code or by the user, runs OnChange.
  void SetText(const std::string& text);
  void SetCaption(const std::string& caption) override { SetText(caption); }
  // Typed text has no accelerators.
  std::string DisplayText() const override { return Caption(); }
  int MaxLength() const { return maxLength_; }
  // 0: no limit. Longer texts typed by the user are cut.
  void SetMaxLength(int length) { maxLength_ = length < 0 ? 0 : length; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);

  NotifyEvent OnChange;

  // The user edited the text (the whole new text).
  void UserTextChanged(const std::string& text);

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
};

}  // namespace zentra
