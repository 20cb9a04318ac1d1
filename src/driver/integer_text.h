// Conversion of text to a signed 32-bit integer, as the user-visible
// conversions of the program do it: optional sign, decimal digits, or "$"
// followed by hexadecimal digits; no blanks. Anything else, or a value out of
// range, raises ConversionError "'<text>' is not a valid integer value".
#pragma once

#include <cstdint>
#include <string_view>

namespace zentra {

std::int32_t StrToInt(std::string_view text);

}  // namespace zentra
