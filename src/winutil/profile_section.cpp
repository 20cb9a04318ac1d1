#include "winutil/profile_section.h"

#include <cctype>
#include <vector>

#include "platform/kernel_api.h"

namespace zentra {

std::optional<std::int32_t> ParseProfileInteger(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  if (begin == end) return std::nullopt;
  bool negative = false;
  if (text[begin] == '+' || text[begin] == '-') {
    negative = text[begin] == '-';
    ++begin;
  }
  int base = 10;
  if (begin < end && text[begin] == '$') {
    base = 16;
    ++begin;
  } else if (end - begin > 2 && text[begin] == '0' && (text[begin + 1] == 'x' || text[begin + 1] == 'X')) {
    base = 16;
    begin += 2;
  }
  if (begin == end) return std::nullopt;
  // Accumulate as a magnitude and reject anything beyond 32 bits.
  std::uint64_t magnitude = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const int c = static_cast<unsigned char>(text[i]);
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && std::isxdigit(c))
      digit = std::tolower(c) - 'a' + 10;
    else
      return std::nullopt;
    magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (magnitude > 0x100000000ull) return std::nullopt;
  }
  if (base == 16 && !negative && magnitude <= 0xFFFFFFFFull) {
    // Hexadecimal values name the 32-bit pattern ("$FFFFFFFF" is -1).
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
  }
  if (negative) {
    if (magnitude > 0x80000000ull) return std::nullopt;
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
  }
  if (magnitude > 0x7FFFFFFFull) return std::nullopt;
  return static_cast<std::int32_t>(magnitude);
}

ProfileSection::ProfileSection(KernelApi* kernel, std::string fileName, std::string section)
    : kernel_(kernel), fileName_(std::move(fileName)), section_(std::move(section)) {}

std::string ProfileSection::ReadString(const std::string& key,
                                       const std::string& defaultValue) const {
  if (kernel_ == nullptr) return defaultValue;
  std::vector<char> buffer(kValueBufferSize, '\0');
  const std::uint32_t n =
      kernel_->GetPrivateProfileStringA(section_.c_str(), key.c_str(), defaultValue.c_str(),
                                        buffer.data(), kValueBufferSize, fileName_.c_str());
  return std::string(buffer.data(), n < kValueBufferSize ? n : kValueBufferSize - 1);
}

std::int32_t ProfileSection::ReadInteger(const std::string& key, std::int32_t defaultValue) const {
  const std::optional<std::int32_t> value = ParseProfileInteger(ReadString(key, ""));
  return value ? *value : defaultValue;
}

bool ProfileSection::ReadBool(const std::string& key, bool defaultValue) const {
  return ReadInteger(key, defaultValue ? 1 : 0) != 0;
}

bool ProfileSection::WriteString(const std::string& key, const std::string& value) {
  if (kernel_ == nullptr) return false;
  return kernel_->WritePrivateProfileStringA(section_.c_str(), key.c_str(), value.c_str(),
                                             fileName_.c_str());
}

bool ProfileSection::WriteInteger(const std::string& key, std::int32_t value) {
  return WriteString(key, std::to_string(value));
}

bool ProfileSection::WriteBool(const std::string& key, bool value) {
  return WriteString(key, value ? "1" : "0");
}

}  // namespace zentra
