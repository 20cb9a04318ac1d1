#include "toolkit/property_value.h"

#include <limits>

namespace zentra {

std::string PropertyValue::Describe() const {
  switch (kind) {
    case Kind::Integer: return "the integer " + std::to_string(integer);
    case Kind::String: return "the string '" + text + "'";
    case Kind::Identifier: return "the identifier " + text;
    case Kind::Set: return "a set";
    case Kind::List: return "a list";
  }
  return "a value";
}

std::int32_t AsInt(const PropertyValue& value) {
  if (value.kind != PropertyValue::Kind::Integer)
    throw PropertyError("expected an integer, found " + value.Describe());
  if (value.integer < std::numeric_limits<std::int32_t>::min() ||
      value.integer > std::numeric_limits<std::uint32_t>::max())
    throw PropertyError("integer out of range: " + std::to_string(value.integer));
  // Values up to 0xFFFFFFFF are accepted and taken as their 32-bit pattern.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value.integer));
}

unsigned AsUnsigned(const PropertyValue& value) {
  if (value.kind != PropertyValue::Kind::Integer || value.integer < 0 ||
      value.integer > std::numeric_limits<std::uint32_t>::max())
    throw PropertyError("expected a non-negative integer, found " + value.Describe());
  return static_cast<unsigned>(value.integer);
}

std::string AsString(const PropertyValue& value) {
  if (value.kind != PropertyValue::Kind::String)
    throw PropertyError("expected a string, found " + value.Describe());
  return value.text;
}

bool AsBool(const PropertyValue& value) {
  if (value.kind == PropertyValue::Kind::Identifier) {
    if (value.text == "True") return true;
    if (value.text == "False") return false;
  }
  throw PropertyError("expected True or False, found " + value.Describe());
}

std::string AsIdentifier(const PropertyValue& value) {
  if (value.kind != PropertyValue::Kind::Identifier)
    throw PropertyError("expected an identifier, found " + value.Describe());
  return value.text;
}

std::vector<std::string> AsSet(const PropertyValue& value,
                               std::initializer_list<const char*> allowed) {
  if (value.kind != PropertyValue::Kind::Set)
    throw PropertyError("expected a set [...], found " + value.Describe());
  for (const std::string& item : value.items) {
    bool ok = false;
    for (const char* a : allowed) ok = ok || item == a;
    if (!ok) throw PropertyError("unknown set member " + item);
  }
  return value.items;
}

std::vector<std::string> AsStringList(const PropertyValue& value) {
  if (value.kind != PropertyValue::Kind::List)
    throw PropertyError("expected a list of strings ('a' 'b'), found " + value.Describe());
  return value.items;
}

Color AsColor(const PropertyValue& value) {
  if (value.kind == PropertyValue::Kind::Integer) return static_cast<Color>(AsInt(value));
  static const std::pair<const char*, Color> kNames[] = {
      {"clBlack", clBlack},     {"clNavy", clNavy},       {"clBlue", clBlue},
      {"clRed", clRed},         {"clLime", clLime},       {"clGreen", clGreen},
      {"clYellow", clYellow},   {"clWhite", clWhite},     {"clGray", clGray},
      {"clSilver", clSilver},   {"clMaroon", clMaroon},   {"clOlive", clOlive},
      {"clPurple", clPurple},   {"clTeal", clTeal},       {"clFuchsia", clFuchsia},
      {"clAqua", clAqua},       {"clBtnFace", clBtnFace}, {"clWindow", clWindow},
      {"clWindowText", clWindowText}, {"clBtnShadow", clBtnShadow},
      {"clBtnHighlight", clBtnHighlight}, {"clNone", clNone},
  };
  const std::string id = AsIdentifier(value);
  for (const auto& [name, color] : kNames)
    if (id == name) return color;
  throw PropertyError("unknown colour " + id);
}

}  // namespace zentra
