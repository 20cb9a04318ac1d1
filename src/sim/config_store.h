// The simulated driver's configuration: the 832-byte configuration record
// (four 208-byte card blocks) and the last on-the-fly block (48 bytes), kept
// across runs in a file as a driver keeps its settings (layout in
// docs/scenario.md). A missing file gives the defaults; so does a damaged one
// (wrong size or magic, bad checksum), which is reported and, before the
// first change overwrites it, kept beside as "<file>.damaged". Every change
// is written at once and atomically (temporary file, then rename), so a
// crash never leaves half a record behind. Thread-safe.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace zentra::sim {

constexpr std::uint32_t kCardConfigBlockSize = 208;
constexpr std::uint32_t kDriverConfigRecordSize = 4 * kCardConfigBlockSize;  // 832
constexpr std::uint32_t kOnTheFlyBlockSize = 48;

using DriverConfigBytes = std::array<std::uint8_t, kDriverConfigRecordSize>;
using OnTheFlyBytes = std::array<std::uint8_t, kOnTheFlyBlockSize>;

class ConfigStore {
 public:
  // path: where the record is kept; empty keeps it in memory only.
  explicit ConfigStore(std::string path = {});

  DriverConfigBytes Record() const;
  // Takes the record over and saves it; false when it could not be saved
  // (the record is still taken over for this run).
  bool SetRecord(const DriverConfigBytes& record);
  OnTheFlyBytes OnTheFly() const;
  bool SetOnTheFly(const OnTheFlyBytes& block);

  const std::string& Path() const { return path_; }
  // What went wrong reading or writing the file, as readable text.
  std::vector<std::string> Problems() const;

  // The configuration of a card that has never been set up.
  static DriverConfigBytes DefaultRecord();
  static OnTheFlyBytes DefaultOnTheFly();

 private:
  void Load();
  bool Save();  // with mutex_ held
  void AddProblem(std::string text);
  void Damaged(const std::string& what);

  std::string path_;
  mutable std::mutex mutex_;
  DriverConfigBytes record_;
  OnTheFlyBytes onTheFly_;
  std::vector<std::string> problems_;
  bool damaged_ = false;  // the file on disk is damaged and not yet kept aside
};

}  // namespace zentra::sim
