#include "platform/file.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace {

class TFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("qv_file_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    std::filesystem::remove_all(dir_);
  }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

using platform::TFile;
using platform::TFileAccess;
using platform::TFileCreation;
using platform::TFileShare;

TEST_F(TFileTest, PositionedWritesAndShortReads) {
  TFile file = TFile::Open(PathOf("a.bin"), TFileAccess::ReadWrite, TFileShare::DenyNone,
                           TFileCreation::CreateAlways);
  const std::array<std::uint8_t, 3> data{1, 2, 3};
  file.WriteAt(4, data);
  EXPECT_EQ(file.Size(), 7u);
  std::array<std::uint8_t, 8> back{};
  EXPECT_EQ(file.ReadAt(2, back), 5u);
  EXPECT_EQ(back[2], 1);
  EXPECT_EQ(back[4], 3);
}

TEST_F(TFileTest, ExclusiveOpenExcludesOtherHandles) {
  TFile first = TFile::Open(PathOf("x.bin"), TFileAccess::ReadWrite, TFileShare::Exclusive,
                            TFileCreation::CreateAlways);
  try {
    TFile second = TFile::Open(PathOf("x.bin"), TFileAccess::Read, TFileShare::DenyNone);
    FAIL() << "a second handle opened an exclusively held file";
  } catch (const platform::EFileError& error) {
    EXPECT_EQ(error.Reason(), platform::EFileError::TReason::SharingViolation);
  }
  first.Close();
  EXPECT_NO_THROW(TFile::Open(PathOf("x.bin"), TFileAccess::Read, TFileShare::DenyNone));
}

TEST_F(TFileTest, ByteLockExcludesSecondHandleOfSameProcess) {
  TFile a = TFile::Open(PathOf("l.bin"), TFileAccess::ReadWrite, TFileShare::DenyNone,
                        TFileCreation::CreateAlways);
  TFile b = TFile::Open(PathOf("l.bin"), TFileAccess::ReadWrite, TFileShare::DenyNone);
  ASSERT_TRUE(a.TryLockByte(1));
  EXPECT_FALSE(b.TryLockByte(1));
  EXPECT_TRUE(b.TryLockByte(2));
  a.UnlockByte(1);
  EXPECT_TRUE(b.TryLockByte(1));
}

TEST_F(TFileTest, MissingFileReportsNotFound) {
  try {
    TFile::Open(PathOf("none"), TFileAccess::Read, TFileShare::DenyNone);
    FAIL();
  } catch (const platform::EFileError& error) {
    EXPECT_EQ(error.Reason(), platform::EFileError::TReason::NotFound);
  }
}

TEST_F(TFileTest, AttributesAndDosTimes) {
  const std::string path = PathOf("t.txt");
  TFile::Open(path, TFileAccess::ReadWrite, TFileShare::DenyNone, TFileCreation::CreateAlways);
  ASSERT_TRUE(platform::FileSetAttr(path, platform::kFileAttrReadOnly));
  EXPECT_EQ(*platform::FileGetAttr(path) & platform::kFileAttrReadOnly,
            platform::kFileAttrReadOnly);
  ASSERT_TRUE(platform::FileSetAttr(path, 0));
  EXPECT_EQ(*platform::FileGetAttr(path) & platform::kFileAttrReadOnly, 0u);
  // 2015-12-15 10:20:30 local: date (35 << 9) | (12 << 5) | 15, time (10 << 11) | (20 << 5) | 15.
  ASSERT_TRUE(platform::FileSetDosDateTime(path, (35 << 9) | (12 << 5) | 15,
                                           (10 << 11) | (20 << 5) | 15));
  const auto written = std::filesystem::last_write_time(path);
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::file_clock::to_sys(written).time_since_epoch());
  std::time_t when = seconds.count();
  std::tm local{};
  localtime_r(&when, &local);
  EXPECT_EQ(local.tm_year, 115);
  EXPECT_EQ(local.tm_mon, 11);
  EXPECT_EQ(local.tm_mday, 15);
  EXPECT_EQ(local.tm_hour, 10);
  EXPECT_EQ(local.tm_sec, 30);
  EXPECT_FALSE(platform::FileSetDosDateTime(path, (35 << 9) | (13 << 5) | 15, 0));
  EXPECT_TRUE(platform::ForceDirectories(PathOf("a/b/c")));
  EXPECT_TRUE(platform::DirectoryExists(PathOf("a/b/c")));
  EXPECT_FALSE(platform::FileExists(PathOf("a/b/c")));
}

}  // namespace
