// A small reader for INI-style scenario files (ZentraSim.ini): sections,
// key=value lines and ';' comments, section and key names case-insensitive.
// Every value remembers its line, so the typed getters can report a
// malformed value with file, line and key; they then return the default.
// Problems are collected, never thrown, so the program can show them all.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zentra::sim {

class ScenarioFile {
 public:
  // An empty scenario (no file): every getter returns its default.
  ScenarioFile();
  // Reads the file; a missing file is an empty scenario (not a problem),
  // an unreadable one is reported.
  static ScenarioFile FromPath(const std::string& path);
  // Parses text; name stands for the file in problem texts.
  static ScenarioFile FromText(const std::string& text,
                               const std::string& name = "ZentraSim.ini");

  ScenarioFile(const ScenarioFile& other);
  ScenarioFile& operator=(const ScenarioFile& other);

  const std::string& Name() const { return name_; }
  // A file named in the scenario: an absolute path as it stands, a relative
  // one from the folder of the scenario file.
  std::string PathBeside(const std::string& path) const;
  // True when a file was found (or text given).
  bool Present() const { return present_; }

  bool HasSection(const std::string& section) const;
  bool HasKey(const std::string& section, const std::string& key) const;
  // The raw value (trimmed), if the key is present.
  std::optional<std::string> Raw(const std::string& section, const std::string& key) const;
  // The line the key stands on, 0 when absent.
  int LineOf(const std::string& section, const std::string& key) const;

  // Decimal or 0x-hexadecimal, within [min, max].
  std::int32_t GetInt(const std::string& section, const std::string& key, std::int32_t def,
                      std::int32_t min = INT32_MIN, std::int32_t max = INT32_MAX) const;
  // 1/0, true/false, yes/no, on/off.
  bool GetBool(const std::string& section, const std::string& key, bool def) const;
  // Comma separated integers, each within [min, max], at most maxCount of them.
  std::vector<std::int32_t> GetIntList(const std::string& section, const std::string& key,
                                       const std::vector<std::int32_t>& def,
                                       std::int32_t min = INT32_MIN,
                                       std::int32_t max = INT32_MAX,
                                       std::size_t maxCount = 64) const;
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& def) const;

  // Adds a problem about a key of this file (for readers that check
  // relations between keys).
  void ReportProblem(const std::string& section, const std::string& key,
                     const std::string& what) const;
  std::vector<std::string> Problems() const;
  // Reports every key that no reader has asked for (HasKey, Raw or a
  // getter) as unknown: a mistyped key is named instead of being ignored
  // silently. Called once the readers are done.
  void ReportUnreadKeys() const;

 private:
  struct Entry {
    std::string value;
    int line = 0;
    std::string key;      // as written
    std::string section;  // as written in the section's first header
    mutable bool read = false;
  };
  void Parse(const std::string& text);
  const Entry* Find(const std::string& section, const std::string& key) const;
  void AddProblem(std::string text) const;
  std::string Where(const std::string& section, const std::string& key) const;

  std::string name_ = "ZentraSim.ini";
  bool present_ = false;
  // Lower-cased section name -> lower-cased key -> entry.
  std::map<std::string, std::map<std::string, Entry>> sections_;
  mutable std::mutex problemsMutex_;
  mutable std::vector<std::string> problems_;
};

// Parses a whole integer (decimal with optional sign, or 0x hex); false when
// the text is not one or does not fit 32 bits.
bool ParseInt32(const std::string& text, std::int32_t* value);

}  // namespace zentra::sim
