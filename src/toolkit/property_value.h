// Values of window-description properties and their conversions. A
// conversion that does not fit throws PropertyError; the loader adds the
// file and line.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/types.h"

namespace zentra {

class PropertyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PropertyValue {
  enum class Kind { Integer, String, Identifier, Set, List };
  Kind kind = Kind::Integer;
  std::int64_t integer = 0;         // Integer
  std::string text;                 // String, Identifier
  std::vector<std::string> items;   // Set: identifiers; List: strings

  // A short description for error messages ("the identifier alTop").
  std::string Describe() const;
};

std::int32_t AsInt(const PropertyValue& value);
unsigned AsUnsigned(const PropertyValue& value);
std::string AsString(const PropertyValue& value);
bool AsBool(const PropertyValue& value);
std::string AsIdentifier(const PropertyValue& value);
// Set members, each one of the allowed identifiers.
std::vector<std::string> AsSet(const PropertyValue& value, std::initializer_list<const char*> allowed);
// A list of strings: ('a' 'b').
std::vector<std::string> AsStringList(const PropertyValue& value);
// An integer (0x00BBGGRR) or a colour name (clNavy, clBtnFace...).
Color AsColor(const PropertyValue& value);

template <class E>
E AsEnum(const PropertyValue& value, std::initializer_list<std::pair<const char*, E>> names) {
  const std::string id = AsIdentifier(value);
  for (const auto& [name, e] : names)
    if (id == name) return e;
  std::string expected;
  for (const auto& entry : names) expected += (expected.empty() ? "" : ", ") + std::string(entry.first);
  throw PropertyError("unknown value " + id + " (expected one of " + expected + ")");
}

}  // namespace zentra
