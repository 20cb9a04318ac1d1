#include "platform/host/host_kernel_api.h"
#include "platform/plain_text.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace zentra {
namespace {

std::vector<std::string> SplitLines(std::istream& in) {
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void JoinLines(std::ostream& out, const std::vector<std::string>& lines) {
  for (const auto& line : lines) out << line << "\r\n";
}

// "[name]" lines: the section name, or nothing.
bool SectionName(const std::string& line, std::string* name) {
  const std::string t = TrimSpace(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const std::size_t close = t.find(']');
  if (close == std::string::npos) return false;
  *name = TrimSpace(t.substr(1, close - 1));
  return true;
}

// "key=value" lines: key and value, trimmed.
bool KeyValue(const std::string& line, std::string* key, std::string* value) {
  const std::string t = TrimSpace(line);
  if (t.empty() || t[0] == ';') return false;
  const std::size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  *key = TrimSpace(t.substr(0, eq));
  *value = TrimSpace(t.substr(eq + 1));
  return true;
}

// Copies text into the buffer, cut to size - 1 characters; the count copied.
std::uint32_t CopyCut(const std::string& text, char* buffer, std::uint32_t size) {
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

// A list of names, each NUL-terminated, ending with an extra NUL; cut like
// the platform does (the result is then size - 2).
std::uint32_t CopyList(const std::vector<std::string>& names, char* buffer, std::uint32_t size) {
  std::string all;
  for (const auto& n : names) all += n + '\0';
  if (size < 2) {
    if (size == 1) buffer[0] = '\0';
    return 0;
  }
  if (all.size() + 1 <= size) {
    std::memcpy(buffer, all.data(), all.size());
    buffer[all.size()] = '\0';
    return static_cast<std::uint32_t>(all.size());
  }
  std::memcpy(buffer, all.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

}  // namespace

HostKernelApi::HostKernelApi(std::string windowsDirectory)
    : windowsDirectory_(windowsDirectory.empty()
                            ? (std::filesystem::temp_directory_path() / "ZentraWindows").string()
                            : std::move(windowsDirectory)) {}

void HostKernelApi::Sleep(std::uint32_t milliseconds) {
  std::function<void(std::uint32_t)> hook;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    hook = sleepHook_;
  }
  ++sleeps_;
  slept_ += milliseconds;
  if (hook) hook(milliseconds);
  if (virtualSleep_)
    virtuallySlept_ += milliseconds;
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint32_t HostKernelApi::TickCount() {
  const auto real = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - started_)
                        .count();
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(real) + virtuallySlept_.load());
}

void HostKernelApi::SetSleepHook(std::function<void(std::uint32_t)> hook) {
  std::lock_guard<std::mutex> lock(mutex_);
  sleepHook_ = std::move(hook);
}

void HostKernelApi::SetWindowsDirectory(const std::string& directory) {
  std::lock_guard<std::mutex> lock(mutex_);
  windowsDirectory_ = directory;
}

std::string HostKernelApi::WindowsDirectory() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return windowsDirectory_;
}

std::string HostKernelApi::ProfilePath(const std::string& fileName) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return PathInWindowsDirectory(fileName);
}

std::vector<std::string> HostKernelApi::ReadLines(const std::string& path) const {
  if (inMemory_) {
    auto it = memoryFiles_.find(path);
    if (it == memoryFiles_.end()) return {};
    std::istringstream in(it->second);
    return SplitLines(in);
  }
  std::ifstream in(path, std::ios::binary);
  return SplitLines(in);
}

bool HostKernelApi::WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  if (inMemory_) {
    std::ostringstream out;
    JoinLines(out, lines);
    memoryFiles_[path] = out.str();
    return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  JoinLines(out, lines);
  out.flush();
  return static_cast<bool>(out);
}

void HostKernelApi::KeepFilesInMemory() {
  std::lock_guard<std::mutex> lock(mutex_);
  inMemory_ = true;
}

bool HostKernelApi::PutFile(const std::string& fileName, const std::string& bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string path = PathInWindowsDirectory(fileName);
  if (inMemory_) {
    memoryFiles_[path] = bytes;
    return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

std::string HostKernelApi::PathInWindowsDirectory(const std::string& fileName) const {
  if (fileName.find('/') != std::string::npos || fileName.find('\\') != std::string::npos)
    return fileName;
  return (std::filesystem::path(windowsDirectory_) / fileName).string();
}

std::uint32_t HostKernelApi::GetPrivateProfileStringA(const char* section, const char* key,
                                                      const char* defaultValue, char* buffer,
                                                      std::uint32_t size,
                                                      const char* fileName) {
  if (buffer == nullptr || size == 0) return 0;
  std::lock_guard<std::mutex> lock(mutex_);
  const std::vector<std::string> lines = ReadLines(PathInWindowsDirectory(fileName ? fileName : ""));
  std::vector<std::string> names;
  const std::string wantedSection = section ? AsciiLower(section) : std::string();
  bool inSection = false;
  for (const auto& line : lines) {
    std::string name, k, v;
    if (SectionName(line, &name)) {
      if (section == nullptr) names.push_back(name);
      inSection = section != nullptr && AsciiLower(name) == wantedSection;
      continue;
    }
    if (!inSection || !KeyValue(line, &k, &v)) continue;
    if (key == nullptr) {
      names.push_back(k);
    } else if (AsciiLower(k) == AsciiLower(key)) {
      // A value in matching quotes is given without them.
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
      return CopyCut(v, buffer, size);
    }
  }
  if (section == nullptr || key == nullptr) return CopyList(names, buffer, size);
  // The default loses its trailing blanks, as on the platform.
  std::string def = defaultValue ? defaultValue : "";
  while (!def.empty() && def.back() == ' ') def.pop_back();
  return CopyCut(def, buffer, size);
}

bool HostKernelApi::WritePrivateProfileStringA(const char* section, const char* key,
                                               const char* value, const char* fileName) {
  // Every write is on disk already: there is nothing to flush. The answer
  // is false, as Wine gives it for a flush that succeeded: callers must not
  // take it for a failed write.
  if (section == nullptr && key == nullptr && value == nullptr) return false;
  if (section == nullptr || fileName == nullptr) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (writesUntilFailure_ > 0 && --writesUntilFailure_ == 0) {
    writesUntilFailure_ = 1;  // this one and every later one
    return false;
  }
  const std::string path = PathInWindowsDirectory(fileName);
  if (path != fileName && !inMemory_) {  // the Windows directory always exists on the platform
    std::error_code ec;
    std::filesystem::create_directories(windowsDirectory_, ec);
  }
  std::vector<std::string> lines = ReadLines(path);
  const std::string wanted = AsciiLower(section);

  // Find the section's header and the end of its lines.
  std::size_t header = lines.size(), end = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string name;
    if (!SectionName(lines[i], &name)) continue;
    if (header != lines.size()) {
      end = i;
      break;
    }
    if (AsciiLower(name) == wanted) header = i;
  }

  if (key == nullptr) {  // delete the whole section
    if (header == lines.size()) return true;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header),
                lines.begin() + static_cast<std::ptrdiff_t>(end));
    return WriteLines(path, lines);
  }
  const std::string entry = std::string(key) + "=" + (value ? value : "");
  if (header == lines.size()) {
    if (value == nullptr) return true;  // nothing to delete
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(entry);
    return WriteLines(path, lines);
  }
  for (std::size_t i = header + 1; i < end; ++i) {
    std::string k, v;
    if (KeyValue(lines[i], &k, &v) && AsciiLower(k) == AsciiLower(key)) {
      if (value == nullptr)
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      else
        lines[i] = entry;
      return WriteLines(path, lines);
    }
  }
  if (value == nullptr) return true;
  // New key: after the section's last non-blank line.
  std::size_t at = end;
  while (at > header + 1 && TrimSpace(lines[at - 1]).empty()) --at;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
  return WriteLines(path, lines);
}

bool HostKernelApi::DeleteFileA(const char* fileName) {
  if (fileName == nullptr) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (inMemory_) return memoryFiles_.erase(PathInWindowsDirectory(fileName)) != 0;
  std::error_code ec;
  const std::filesystem::path path = PathInWindowsDirectory(fileName);
  return std::filesystem::is_regular_file(path, ec) && std::filesystem::remove(path, ec);
}

bool HostKernelApi::MoveFileA(const char* existingName, const char* newName) {
  if (existingName == nullptr || newName == nullptr) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (inMemory_) {
    auto from = memoryFiles_.find(PathInWindowsDirectory(existingName));
    const std::string to = PathInWindowsDirectory(newName);
    if (from == memoryFiles_.end() || memoryFiles_.count(to) != 0) return false;
    std::string text = std::move(from->second);
    memoryFiles_.erase(from);
    memoryFiles_[to] = std::move(text);
    return true;
  }
  std::error_code ec;
  const std::filesystem::path from = PathInWindowsDirectory(existingName);
  const std::filesystem::path to = PathInWindowsDirectory(newName);
  if (!std::filesystem::exists(from, ec) || std::filesystem::exists(to, ec)) return false;
  std::filesystem::rename(from, to, ec);
  return !ec;
}

std::uint32_t HostKernelApi::GetFileAttributesA(const char* fileName) {
  if (fileName == nullptr) return kInvalidFileAttributes;
  std::lock_guard<std::mutex> lock(mutex_);
  if (inMemory_)
    return memoryFiles_.count(PathInWindowsDirectory(fileName)) != 0 ? 0x20u : kInvalidFileAttributes;
  std::error_code ec;
  const auto status = std::filesystem::status(PathInWindowsDirectory(fileName), ec);
  if (ec || !std::filesystem::exists(status)) return kInvalidFileAttributes;
  return std::filesystem::is_directory(status) ? 0x10u : 0x20u;  // directory, archive
}

std::uint32_t HostKernelApi::GetModuleFileNameA(char* buffer, std::uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  std::lock_guard<std::mutex> lock(mutex_);
  return CopyCut(moduleFileName_, buffer, size);
}

void HostKernelApi::SetModuleFileName(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  moduleFileName_ = path;
}

void HostKernelApi::FailProfileWritesFrom(int n) {
  std::lock_guard<std::mutex> lock(mutex_);
  writesUntilFailure_ = n > 0 ? n : 0;
}

}  // namespace zentra
