// One section of a private-profile (INI) file, read and written through the
// platform's profile calls: every value goes to the file at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zentra {

class KernelApi;

// A profile integer: optional blanks around it, an optional sign, then
// decimal digits or "$" / "0x" and hexadecimal digits, within 32 bits.
std::optional<std::int32_t> ParseProfileInteger(const std::string& text);

class ProfileSection {
 public:
  // Longest value read back; longer values are cut.
  static constexpr std::uint32_t kValueBufferSize = 4096;

  ProfileSection(KernelApi* kernel, std::string fileName, std::string section);

  // The stored value, or the default when the file, section or key is missing.
  std::string ReadString(const std::string& key, const std::string& defaultValue) const;
  // The default also when the value is empty or does not parse.
  std::int32_t ReadInteger(const std::string& key, std::int32_t defaultValue) const;
  // Stored as an integer; non-zero is true.
  bool ReadBool(const std::string& key, bool defaultValue) const;

  // False when the value could not be written.
  bool WriteString(const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& key, std::int32_t value);
  bool WriteBool(const std::string& key, bool value);

  const std::string& Section() const { return section_; }

 private:
  KernelApi* kernel_;
  std::string fileName_;
  std::string section_;
};

}  // namespace zentra
