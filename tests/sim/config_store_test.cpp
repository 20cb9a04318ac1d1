#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "sim/config_store.h"
#include "support/le_bytes.h"

namespace zentra::sim {
namespace {

std::int32_t Field(const DriverConfigBytes& r, std::size_t card, std::size_t offset) {
  return zentra::testing::LeInt32(r.data() + card * kCardConfigBlockSize + offset);
}

class ConfigStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("zentra_store_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "config.bin").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(ConfigStoreTest, FreshCardsHaveSensibleDefaults) {
  ConfigStore store(path_);
  const DriverConfigBytes r = store.Record();
  EXPECT_EQ(Field(r, 0, 8), -1) << "card 0 is the SyncBus master";
  EXPECT_EQ(Field(r, 1, 8), 0);
  for (std::size_t card = 0; card < 4; ++card) {
    EXPECT_EQ(Field(r, card, 136), 44100);
    EXPECT_EQ(Field(r, card, 144), 48000);
    EXPECT_EQ(Field(r, card, 184), -1) << "no restricted DirectSound device";
    EXPECT_GE(Field(r, card, 204), Field(r, card, 200) + 2) << "preload >= kerning + 2";
  }
  EXPECT_TRUE(store.Problems().empty());
  EXPECT_FALSE(std::filesystem::exists(path_)) << "reading does not create the file";
}

TEST_F(ConfigStoreTest, ChangesSurviveARestart) {
  DriverConfigBytes r = ConfigStore::DefaultRecord();
  r[208 + 136] = 0x80;  // card 1: another default rate
  OnTheFlyBytes f{};
  f[40] = 3;
  {
    ConfigStore store(path_);
    ASSERT_TRUE(store.SetRecord(r));
    ASSERT_TRUE(store.SetOnTheFly(f));
  }
  ConfigStore again(path_);
  EXPECT_EQ(again.Record(), r);
  EXPECT_EQ(again.OnTheFly(), f);
  EXPECT_FALSE(std::filesystem::exists(path_ + ".tmp")) << "no temporary file is left";
}

TEST_F(ConfigStoreTest, ShortOrCorruptFilesGiveTheDefaultsWithAProblem) {
  {
    ConfigStore store(path_);
    DriverConfigBytes r{};
    ASSERT_TRUE(store.SetRecord(r));
  }
  const auto size = std::filesystem::file_size(path_);
  {  // flip one byte of the record
    std::fstream f(path_, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(100);
    f.put('\x55');
  }
  ConfigStore corrupt(path_);
  EXPECT_EQ(corrupt.Record(), ConfigStore::DefaultRecord());
  ASSERT_EQ(corrupt.Problems().size(), 1u);
  EXPECT_NE(corrupt.Problems()[0].find("checksum"), std::string::npos);

  std::filesystem::resize_file(path_, size - 10);
  ConfigStore shortFile(path_);
  EXPECT_EQ(shortFile.Record(), ConfigStore::DefaultRecord());
  EXPECT_EQ(shortFile.Problems().size(), 1u);
}

TEST_F(ConfigStoreTest, AFailedSaveIsReportedOnceAndKeepsTheRecordForThisRun) {
  ConfigStore store((dir_ / "missing-dir" / "config.bin").string());
  DriverConfigBytes r{};
  r[0] = 9;
  EXPECT_FALSE(store.SetRecord(r));
  EXPECT_EQ(store.Record(), r);
  EXPECT_FALSE(store.SetRecord(r));
  EXPECT_FALSE(store.SetOnTheFly(OnTheFlyBytes{}));
  EXPECT_EQ(store.Problems().size(), 1u);
}

// A file made by hand from the documented layout: "ZSIMCFG1", the 832-byte
// record, the 48-byte on-the-fly block, and the 32-bit FNV-1a checksum of
// those 880 bytes (offset basis 2166136261, prime 16777619), low byte first.
std::vector<std::uint8_t> HandMadeFile(std::uint8_t fill) {
  std::vector<std::uint8_t> bytes = {'Z', 'S', 'I', 'M', 'C', 'F', 'G', '1'};
  for (int i = 0; i < 880; ++i) bytes.push_back(static_cast<std::uint8_t>(fill + i));
  std::uint32_t h = 2166136261u;
  for (std::size_t i = 8; i < bytes.size(); ++i) h = (h ^ bytes[i]) * 16777619u;
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(h >> (8 * i)));
  return bytes;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(ConfigStoreTest, AFileMadeByHandFromTheLayoutIsReadWhole) {
  const std::vector<std::uint8_t> bytes = HandMadeFile(3);
  ASSERT_EQ(bytes.size(), 892u);
  WriteFile(path_, bytes);
  ConfigStore store(path_);
  EXPECT_TRUE(store.Problems().empty()) << store.Problems()[0];
  const DriverConfigBytes r = store.Record();
  const OnTheFlyBytes f = store.OnTheFly();
  EXPECT_TRUE(std::equal(r.begin(), r.end(), bytes.begin() + 8));
  EXPECT_TRUE(std::equal(f.begin(), f.end(), bytes.begin() + 8 + 832));
  // Saving writes the same layout back.
  ASSERT_TRUE(store.SetRecord(r));
  EXPECT_EQ(ReadFile(path_), bytes);
}

TEST_F(ConfigStoreTest, ADamagedFileIsKeptAsideBeforeTheFirstChangeOverwritesIt) {
  std::vector<std::uint8_t> damaged = HandMadeFile(7);
  damaged[500] ^= 0x10;
  WriteFile(path_, damaged);
  const std::string kept = path_ + ".damaged";
  ConfigStore store(path_);
  EXPECT_EQ(store.Record(), ConfigStore::DefaultRecord());
  ASSERT_EQ(store.Problems().size(), 1u);
  EXPECT_NE(store.Problems()[0].find(kept), std::string::npos) << store.Problems()[0];
  EXPECT_FALSE(std::filesystem::exists(kept)) << "reading alone changes no file";

  DriverConfigBytes r = ConfigStore::DefaultRecord();
  r[1] = 1;
  ASSERT_TRUE(store.SetRecord(r));
  EXPECT_EQ(ReadFile(kept), damaged);
  r[1] = 2;
  ASSERT_TRUE(store.SetRecord(r));
  EXPECT_EQ(ReadFile(kept), damaged) << "the later saves leave the kept file alone";
  EXPECT_EQ(ConfigStore(path_).Record(), r);

  // Wrong size and wrong magic are damage too; an empty file as well.
  std::vector<std::uint8_t> shortFile = HandMadeFile(7);
  shortFile.pop_back();
  std::vector<std::uint8_t> otherMagic = HandMadeFile(7);
  otherMagic[7] = '2';
  for (const auto& bad : {shortFile, std::vector<std::uint8_t>{}, otherMagic}) {
    WriteFile(path_, bad);
    ConfigStore again(path_);
    EXPECT_EQ(again.Record(), ConfigStore::DefaultRecord()) << bad.size();
    EXPECT_EQ(again.Problems().size(), 1u) << bad.size();
    ASSERT_TRUE(again.SetRecord(r));
    EXPECT_EQ(ReadFile(kept), bad);
  }
}

}  // namespace
}  // namespace zentra::sim
