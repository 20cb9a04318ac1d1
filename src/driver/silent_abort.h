// The silent abort: an exception that ends the current operation and is
// reported to nobody. A control handle that cannot be opened raises it, and
// the control window catches it where it creates a window.
#pragma once

#include <exception>

namespace zentra {

class SilentAbort : public std::exception {
 public:
  // Carries no message; the standard error report shows nothing for it.
  const char* what() const noexcept override { return ""; }
};

}  // namespace zentra
