// Turns an error id that the driver reports into a message box: the
// driver's German text, a caption that says what kind of problem it is, and
// an icon. Some texts are completed by a card number or by the description
// of the device that could not be opened.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace zentra {

// The device a device or rate message is about.
struct DriverErrorDevice {
  std::string name;
  std::int32_t requestedRate = 0;  // Hz
  std::int32_t rateInForce = 0;    // Hz: the clock generator's or the external clock's
};

// What completes a message: a card number (0 for the driver as a whole), a
// device, or nothing.
class DriverErrorContext {
 public:
  DriverErrorContext() = default;
  DriverErrorContext(std::int32_t value) : value_(value) {}  // NOLINT: a card number reads naturally
  DriverErrorContext(DriverErrorDevice device) : device_(std::move(device)) {}  // NOLINT

  // The number card texts show: the value, or 0 without one.
  std::int32_t Value() const { return value_.value_or(0); }
  const DriverErrorDevice* Device() const { return device_ ? &*device_ : nullptr; }

 private:
  std::optional<std::int32_t> value_;
  std::optional<DriverErrorDevice> device_;
};

struct DriverErrorMessage {
  std::string text;  // UTF-8
  std::string caption;
  std::uint32_t style = 0;
};

// The message for an error id, or nothing for the ids that are not shown
// (1 no error, 0 and -50).
std::optional<DriverErrorMessage> DriverErrorMessageFor(std::int32_t errorId,
                                                        const DriverErrorContext& context);

// Shows the message (MessageBoxA without an owner) and returns after the
// user closed it: true when a message was shown, false for 1, 0 and -50.
bool ReportDriverError(const Platform& platform, std::int32_t errorId,
                       const DriverErrorContext& context = {});

}  // namespace zentra
