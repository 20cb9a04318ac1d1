// Fuzzes the private-profile reader and writer of the host platform and the
// program's typed reader on top of it (ProfileSection) with arbitrary
// "Zudovodiv.ini" contents: the first bytes choose a buffer size, a section
// and a key, the rest is the file. Every answer must stay inside its buffer
// and be NUL-terminated; a value written must read back as written.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "platform/host/host_kernel_api.h"
#include "winutil/profile_section.h"

namespace {

const std::string& Directory() {
  static const std::string dir = [] {
    const auto path = std::filesystem::temp_directory_path() /
                      ("zentra-fuzz-ini-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path.string();
  }();
  return dir;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

// One read into a buffer with guard bytes on both sides.
void ReadInto(zentra::HostKernelApi& kernel, const char* section, const char* key,
              std::uint32_t size) {
  std::vector<char> storage(size + 16, '\x5A');
  char* buffer = storage.data() + 8;
  const std::uint32_t n =
      kernel.GetPrivateProfileStringA(section, key, "default ", buffer, size, "Zudovodiv.ini");
  for (int i = 0; i < 8; ++i) Check(storage[i] == '\x5A' && storage[size + 8 + i] == '\x5A');
  if (size == 0) {
    Check(n == 0);
    return;
  }
  Check(n < size);
  Check(buffer[n] == '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const auto bufferSize = in.ConsumeIntegralInRange<std::uint32_t>(0, 300);
  const std::string section = in.ConsumeRandomLengthString(24);
  const std::string key = in.ConsumeRandomLengthString(24);
  const std::string value = in.ConsumeRandomLengthString(40);
  const std::string file = in.ConsumeRemainingBytesAsString();

  zentra::HostKernelApi kernel(Directory());
  const std::string path = kernel.ProfilePath("Zudovodiv.ini");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << file;

  ReadInto(kernel, section.c_str(), key.c_str(), bufferSize);
  ReadInto(kernel, section.c_str(), nullptr, bufferSize);  // the keys of a section
  ReadInto(kernel, nullptr, nullptr, bufferSize);          // the section names

  zentra::ProfileSection typed(&kernel, "Zudovodiv.ini", section);
  (void)typed.ReadInteger(key, -1);
  (void)typed.ReadBool(key, true);
  (void)typed.ReadString(key, "x");

  // A plain value under a plain key and section reads back as written, and
  // writing leaves the other sections readable.
  auto plain = [](const std::string& s) {
    if (s.empty() || s.front() == ' ' || s.back() == ' ' || s.front() == '"' ||
        s.front() == '\'' || s.front() == ';' || s.front() == '[')
      return false;
    for (char c : s)
      if (c == '\0' || c == '\r' || c == '\n' || c == '=' || c == ']' || c == '\t' ||
          c == '\v' || c == '\f')
        return false;
    return true;
  };
  if (plain(section) && plain(key) && (value.empty() || plain(value))) {
    Check(kernel.WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                            "Zudovodiv.ini"));
    char back[64];
    kernel.GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", back, sizeof back,
                                    "Zudovodiv.ini");
    Check(value == back);
    ReadInto(kernel, nullptr, nullptr, bufferSize);
  }
  return 0;
}
