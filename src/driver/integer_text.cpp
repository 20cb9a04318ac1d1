#include "driver/integer_text.h"

#include <string>

#include "driver/driver_errors.h"

namespace zentra {

namespace {

[[noreturn]] void Invalid(std::string_view text) {
  throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

}  // namespace

std::int32_t StrToInt(std::string_view text) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  int base = 10;
  if (pos < text.size() && text[pos] == '$') {
    base = 16;
    ++pos;
  }
  if (pos == text.size()) Invalid(text);
  // Accumulate in 64 bits; stop as soon as the value leaves the 32-bit range.
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const int digit = DigitValue(text[pos], base);
    if (digit < 0) Invalid(text);
    value = value * base + digit;
    if (value > limit) Invalid(text);
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace zentra
