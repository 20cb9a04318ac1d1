// Raises a flag for the length of a scope and clears it again, also when an
// exception leaves the scope: the settings dialog's updating flag, which
// keeps the GSIF bars' change handling quiet while the dialog moves them.
#pragma once

namespace zentra {

class UpdatingScope {
 public:
  explicit UpdatingScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~UpdatingScope() { flag_ = false; }
  UpdatingScope(const UpdatingScope&) = delete;
  UpdatingScope& operator=(const UpdatingScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace zentra
