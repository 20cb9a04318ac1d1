// Errors raised by the driver access layer that the application's standard
// error report shows to the user with their message.
#pragma once

#include <stdexcept>
#include <string>

namespace zentra {

// A text that should have been a number, or a device name whose number part
// is missing. The message is shown as it stands.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zentra
