#include "sim/config_store.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace zentra::sim {
namespace {

// File layout (docs/scenario.md): magic, record, on-the-fly block, 32-bit
// FNV-1a checksum of the two, little-endian.
constexpr char kMagic[8] = {'Z', 'S', 'I', 'M', 'C', 'F', 'G', '1'};
constexpr char kDamagedSuffix[] = ".damaged";
constexpr std::size_t kFileSize = sizeof kMagic + kDriverConfigRecordSize + kOnTheFlyBlockSize + 4;

// Offsets of the card block fields the defaults set.
constexpr std::size_t kIsMaster = 8;
constexpr std::size_t kShowRateConflictMessages = 28;
constexpr std::size_t kShowDeviceConflictMessages = 32;
constexpr std::size_t kDefaultRateClock1 = 136;
constexpr std::size_t kDefaultRateClock2 = 144;
constexpr std::size_t kRestrictedDevicePair = 184;
constexpr std::size_t kGsifKerning = 200;
constexpr std::size_t kGsifPreload = 204;
// The on-the-fly block has the shape of card block bytes 160..207.
constexpr std::size_t kOnTheFlyOrigin = 160;

void Put32(std::uint8_t* at, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  at[0] = static_cast<std::uint8_t>(v);
  at[1] = static_cast<std::uint8_t>(v >> 8);
  at[2] = static_cast<std::uint8_t>(v >> 16);
  at[3] = static_cast<std::uint8_t>(v >> 24);
}

std::uint32_t Checksum(const std::uint8_t* data, std::size_t size) {
  std::uint32_t h = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  return h;
}

}  // namespace

DriverConfigBytes ConfigStore::DefaultRecord() {
  DriverConfigBytes r{};
  for (std::uint32_t card = 0; card < 4; ++card) {
    std::uint8_t* b = r.data() + card * kCardConfigBlockSize;
    Put32(b + kIsMaster, card == 0 ? -1 : 0);  // the first card drives the SyncBus
    Put32(b + kShowRateConflictMessages, -1);
    Put32(b + kShowDeviceConflictMessages, -1);
    Put32(b + kDefaultRateClock1, 44100);
    Put32(b + kDefaultRateClock2, 48000);
    Put32(b + kRestrictedDevicePair, -1);
    Put32(b + kGsifKerning, 1);
    Put32(b + kGsifPreload, 8);
    // Clock sources 0 (Clock 1), start modes autonomous, automatic latency,
    // no format restrictions: all zero.
  }
  return r;
}

OnTheFlyBytes ConfigStore::DefaultOnTheFly() {
  const DriverConfigBytes r = DefaultRecord();
  OnTheFlyBytes b{};
  std::memcpy(b.data(), r.data() + kOnTheFlyOrigin, b.size());
  return b;
}

ConfigStore::ConfigStore(std::string path)
    : path_(std::move(path)), record_(DefaultRecord()), onTheFly_(DefaultOnTheFly()) {
  Load();
}

void ConfigStore::AddProblem(std::string text) {
  for (const auto& p : problems_)
    if (p == text) return;  // a save that keeps failing is reported once
  problems_.push_back(std::move(text));
}

void ConfigStore::Damaged(const std::string& what) {
  damaged_ = true;
  AddProblem(path_ + ": " + what + "; using the default configuration (the file is kept as " +
             path_ + kDamagedSuffix + " when the configuration is next saved)");
}

void ConfigStore::Load() {
  if (path_.empty()) return;
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec)) return;  // first run: the defaults
  const auto size = std::filesystem::file_size(path_, ec);
  if (!ec && size != kFileSize) {
    Damaged("not a configuration file (" + std::to_string(size) + " bytes, not " +
            std::to_string(kFileSize) + ")");
    return;
  }
  std::ifstream in(path_, std::ios::binary);
  std::vector<std::uint8_t> bytes;
  if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (ec || (!in && !in.eof())) {
    Damaged("could not be read");
    return;
  }
  if (bytes.size() != kFileSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    Damaged("not a configuration file (its first 8 bytes are not \"ZSIMCFG1\")");
    return;
  }
  const std::uint8_t* body = bytes.data() + sizeof kMagic;
  const std::size_t bodySize = kDriverConfigRecordSize + kOnTheFlyBlockSize;
  std::uint32_t stored = 0;
  for (int i = 3; i >= 0; --i) stored = (stored << 8) | body[bodySize + i];
  if (stored != Checksum(body, bodySize)) {
    Damaged("checksum mismatch (corrupt file)");
    return;
  }
  std::memcpy(record_.data(), body, kDriverConfigRecordSize);
  std::memcpy(onTheFly_.data(), body + kDriverConfigRecordSize, kOnTheFlyBlockSize);
}

bool ConfigStore::Save() {
  if (path_.empty()) return true;
  std::vector<std::uint8_t> bytes(kMagic, kMagic + sizeof kMagic);
  bytes.insert(bytes.end(), record_.begin(), record_.end());
  bytes.insert(bytes.end(), onTheFly_.begin(), onTheFly_.end());
  const std::uint32_t sum = Checksum(bytes.data() + sizeof kMagic, bytes.size() - sizeof kMagic);
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));

  std::error_code ec;
  if (damaged_) {
    // The damaged file stays for its owner to look at; nothing is lost.
    std::filesystem::copy_file(path_, path_ + kDamagedSuffix,
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
      AddProblem(path_ + ": could not be kept as " + path_ + kDamagedSuffix + " (" +
                 ec.message() + "); the configuration is not saved");
      return false;
    }
    damaged_ = false;
  }
  const std::string temp = path_ + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      AddProblem(temp + ": could not be written; the configuration is not saved");
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::filesystem::rename(temp, path_, ec);
  if (ec) {
    AddProblem(path_ + ": could not be replaced (" + ec.message() +
               "); the configuration is not saved");
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

DriverConfigBytes ConfigStore::Record() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return record_;
}

bool ConfigStore::SetRecord(const DriverConfigBytes& record) {
  std::lock_guard<std::mutex> lock(mutex_);
  record_ = record;
  return Save();
}

OnTheFlyBytes ConfigStore::OnTheFly() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return onTheFly_;
}

bool ConfigStore::SetOnTheFly(const OnTheFlyBytes& block) {
  std::lock_guard<std::mutex> lock(mutex_);
  onTheFly_ = block;
  return Save();
}

std::vector<std::string> ConfigStore::Problems() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return problems_;
}

}  // namespace zentra::sim
