#include "sim/scenario_file.h"
#include "platform/plain_text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zentra::sim {
namespace {

// A ';' after white space starts a comment at the end of a value line.
std::string StripTrailingComment(const std::string& value) {
  for (std::size_t i = 1; i < value.size(); ++i)
    if (value[i] == ';' && std::isspace(static_cast<unsigned char>(value[i - 1])))
      return TrimSpace(value.substr(0, i));
  return value;
}

}  // namespace

bool ParseInt32(const std::string& text, std::int32_t* value) {
  const std::string t = TrimSpace(text);
  if (t.empty()) return false;
  std::size_t i = 0;
  bool negative = false;
  if (t[0] == '+' || t[0] == '-') {
    negative = t[0] == '-';
    i = 1;
  }
  int base = 10;
  if (t.size() > i + 1 && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size()) return false;
  std::int64_t v = 0;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    v = v * base + digit;
    if (v > 0xFFFFFFFFLL) return false;
  }
  if (negative) v = -v;
  // Hexadecimal values may give all 32 bits (0xFFFFFFFF is -1).
  if (base == 16 && !negative && v > INT32_MAX) v -= 0x100000000LL;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  *value = static_cast<std::int32_t>(v);
  return true;
}

ScenarioFile::ScenarioFile() = default;

ScenarioFile::ScenarioFile(const ScenarioFile& other)
    : name_(other.name_), present_(other.present_), sections_(other.sections_),
      problems_(other.Problems()) {}

ScenarioFile& ScenarioFile::operator=(const ScenarioFile& other) {
  if (this != &other) {
    std::vector<std::string> problems = other.Problems();
    name_ = other.name_;
    present_ = other.present_;
    sections_ = other.sections_;
    std::lock_guard<std::mutex> lock(problemsMutex_);
    problems_ = std::move(problems);
  }
  return *this;
}

ScenarioFile ScenarioFile::FromPath(const std::string& path) {
  ScenarioFile file;
  file.name_ = path;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return file;  // no file: the defaults
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  if (!in || in.bad()) {
    file.AddProblem(path + ": the file could not be read; using the defaults");
    return file;
  }
  file.present_ = true;
  file.Parse(text.str());
  return file;
}

ScenarioFile ScenarioFile::FromText(const std::string& text, const std::string& name) {
  ScenarioFile file;
  file.name_ = name;
  file.present_ = true;
  file.Parse(text);
  return file;
}

void ScenarioFile::Parse(const std::string& input) {
  std::string text = input;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);  // UTF-8 byte order mark
  std::istringstream lines(text);
  std::string raw;
  std::string section;
  std::string sectionName;
  bool haveSection = false;
  int lineNo = 0;
  while (std::getline(lines, raw)) {
    ++lineNo;
    const std::string line = TrimSpace(raw);
    const std::string at = name_ + ", line " + std::to_string(lineNo) + ": ";
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const std::size_t close = line.find(']');
      const std::string rest = close == std::string::npos ? "" : TrimSpace(line.substr(close + 1));
      if (close == std::string::npos || TrimSpace(line.substr(1, close - 1)).empty() ||
          (!rest.empty() && rest[0] != ';')) {
        AddProblem(at + "malformed section header \"" + line + "\"; its keys are ignored");
        haveSection = false;
        continue;
      }
      sectionName = TrimSpace(line.substr(1, close - 1));
      section = AsciiLower(sectionName);
      haveSection = true;
      sections_[section];
      continue;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || TrimSpace(line.substr(0, eq)).empty()) {
      AddProblem(at + "expected key=value, found \"" + line + "\"");
      continue;
    }
    const std::string key = TrimSpace(line.substr(0, eq));
    if (!haveSection) {
      AddProblem(at + "key " + key + " stands outside a section and is ignored");
      continue;
    }
    auto& keys = sections_[section];
    const std::string lowerKey = AsciiLower(key);
    if (keys.count(lowerKey) != 0) {
      AddProblem(at + "key " + key + " repeats line " + std::to_string(keys[lowerKey].line) +
                 "; the first value is used");
      continue;
    }
    keys[lowerKey] = Entry{StripTrailingComment(TrimSpace(line.substr(eq + 1))), lineNo, key, sectionName};
  }
}

const ScenarioFile::Entry* ScenarioFile::Find(const std::string& section,
                                              const std::string& key) const {
  auto s = sections_.find(AsciiLower(section));
  if (s == sections_.end()) return nullptr;
  auto k = s->second.find(AsciiLower(key));
  if (k == s->second.end()) return nullptr;
  k->second.read = true;  // a key asked for is a known one
  return &k->second;
}

void ScenarioFile::ReportUnreadKeys() const {
  std::vector<const Entry*> unread;
  for (const auto& [section, keys] : sections_)
    for (const auto& [lower, entry] : keys)
      if (!entry.read) unread.push_back(&entry);
  std::sort(unread.begin(), unread.end(), [](const Entry* a, const Entry* b) { return a->line < b->line; });
  for (const Entry* entry : unread)
    AddProblem(name_ + ", line " + std::to_string(entry->line) + ", [" + entry->section + "] " +
               entry->key + ": unknown key; ignored");
}

std::string ScenarioFile::PathBeside(const std::string& path) const {
  const std::filesystem::path given(path);
  if (path.empty() || given.is_absolute()) return path;
  return (std::filesystem::path(name_).parent_path() / given).string();
}

bool ScenarioFile::HasSection(const std::string& section) const {
  return sections_.count(AsciiLower(section)) != 0;
}

bool ScenarioFile::HasKey(const std::string& section, const std::string& key) const {
  return Find(section, key) != nullptr;
}

std::optional<std::string> ScenarioFile::Raw(const std::string& section,
                                              const std::string& key) const {
  const Entry* e = Find(section, key);
  if (e == nullptr) return std::nullopt;
  return e->value;
}

int ScenarioFile::LineOf(const std::string& section, const std::string& key) const {
  const Entry* e = Find(section, key);
  return e == nullptr ? 0 : e->line;
}

std::string ScenarioFile::Where(const std::string& section, const std::string& key) const {
  const int line = LineOf(section, key);
  std::string where = name_;
  if (line > 0) where += ", line " + std::to_string(line);
  return where + ", [" + section + "] " + key;
}

void ScenarioFile::AddProblem(std::string text) const {
  std::lock_guard<std::mutex> lock(problemsMutex_);
  for (const auto& p : problems_)
    if (p == text) return;  // the same key read twice reports once
  problems_.push_back(std::move(text));
}

void ScenarioFile::ReportProblem(const std::string& section, const std::string& key,
                                 const std::string& what) const {
  AddProblem(Where(section, key) + ": " + what);
}

std::vector<std::string> ScenarioFile::Problems() const {
  std::lock_guard<std::mutex> lock(problemsMutex_);
  return problems_;
}

std::int32_t ScenarioFile::GetInt(const std::string& section, const std::string& key,
                                  std::int32_t def, std::int32_t min, std::int32_t max) const {
  const Entry* e = Find(section, key);
  if (e == nullptr) return def;
  std::int32_t v = 0;
  if (!ParseInt32(e->value, &v)) {
    ReportProblem(section, key, "\"" + e->value + "\" is not a whole number; using " +
                                    std::to_string(def));
    return def;
  }
  if (v < min || v > max) {
    ReportProblem(section, key, std::to_string(v) + " is outside " + std::to_string(min) +
                                    ".." + std::to_string(max) + "; using " +
                                    std::to_string(def));
    return def;
  }
  return v;
}

bool ScenarioFile::GetBool(const std::string& section, const std::string& key, bool def) const {
  const Entry* e = Find(section, key);
  if (e == nullptr) return def;
  const std::string v = AsciiLower(e->value);
  if (v == "1" || v == "true" || v == "yes" || v == "on") return true;
  if (v == "0" || v == "false" || v == "no" || v == "off") return false;
  ReportProblem(section, key, "\"" + e->value + "\" is not 1 or 0; using " + (def ? "1" : "0"));
  return def;
}

std::vector<std::int32_t> ScenarioFile::GetIntList(const std::string& section,
                                                   const std::string& key,
                                                   const std::vector<std::int32_t>& def,
                                                   std::int32_t min, std::int32_t max,
                                                   std::size_t maxCount) const {
  const Entry* e = Find(section, key);
  if (e == nullptr) return def;
  std::vector<std::int32_t> out;
  if (TrimSpace(e->value).empty()) return out;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = e->value.find(',', start);
    const std::string item = TrimSpace(e->value.substr(start, comma == std::string::npos
                                                             ? std::string::npos
                                                             : comma - start));
    std::int32_t v = 0;
    if (!ParseInt32(item, &v)) {
      ReportProblem(section, key, "item " + std::to_string(out.size() + 1) + " \"" + item +
                                      "\" is not a whole number; using the default list");
      return def;
    }
    if (v < min || v > max) {
      ReportProblem(section, key, "item " + std::to_string(out.size() + 1) + " (" +
                                      std::to_string(v) + ") is outside " + std::to_string(min) +
                                      ".." + std::to_string(max) + "; using the default list");
      return def;
    }
    out.push_back(v);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (out.size() > maxCount) {
    ReportProblem(section, key, std::to_string(out.size()) + " items, at most " +
                                    std::to_string(maxCount) + " allowed; using the default list");
    return def;
  }
  return out;
}

std::string ScenarioFile::GetString(const std::string& section, const std::string& key,
                                    const std::string& def) const {
  const Entry* e = Find(section, key);
  return e == nullptr ? def : e->value;
}

}  // namespace zentra::sim
