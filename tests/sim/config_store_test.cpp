#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/config_store.h"

namespace zentra::sim {
namespace {

std::int32_t Field(const DriverConfigBytes& r, std::size_t card, std::size_t offset) {
  const std::uint8_t* p = r.data() + card * kCardConfigBlockSize + offset;
  return static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                   static_cast<std::uint32_t>(p[3]) << 24);
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

TEST_F(ConfigStoreTest, AFailedSaveIsReportedAndKeepsTheRecordForThisRun) {
  ConfigStore store((dir_ / "missing-dir" / "config.bin").string());
  DriverConfigBytes r{};
  r[0] = 9;
  EXPECT_FALSE(store.SetRecord(r));
  EXPECT_EQ(store.Record(), r);
  EXPECT_EQ(store.Problems().size(), 1u);
}

}  // namespace
}  // namespace zentra::sim
