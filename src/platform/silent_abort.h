// An exception that ends the current operation without any report: the
// application's error report shows nothing for it.
#pragma once

#include <exception>

namespace zentra {

class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return ""; }
};

}  // namespace zentra
