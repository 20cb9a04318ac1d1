// Gives a flag a value for the length of a scope and puts back the value it
// had, also when an exception or a silent abort leaves the scope: the
// windows' "busy with this" flags that keep a handler from running again
// while it runs, or quiet another handler meanwhile.
#pragma once

namespace zentra {

class FlagScope {
 public:
  FlagScope(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
  ~FlagScope() { flag_ = saved_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

}  // namespace zentra
