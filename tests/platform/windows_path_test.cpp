#include "platform/windows_path.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/error.h"
#include "platform/file.h"
#include "platform/file_system.h"

namespace {

namespace fs = std::filesystem;

// Points WINEPREFIX and HOME at a fresh temporary folder for one test, restoring both after.
class WindowsPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() /
            ("qv_winpath_" + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(base_);
    fs::create_directories(base_ / "prefix");
    fs::create_directories(base_ / "home");
    Save("WINEPREFIX", saved_prefix_, had_prefix_);
    Save("HOME", saved_home_, had_home_);
    ::setenv("WINEPREFIX", Prefix().c_str(), 1);
    ::setenv("HOME", Home().c_str(), 1);
  }
  void TearDown() override {
    Restore("WINEPREFIX", saved_prefix_, had_prefix_);
    Restore("HOME", saved_home_, had_home_);
    fs::remove_all(base_);
  }
  std::string Prefix() const { return (base_ / "prefix").string(); }
  std::string Home() const { return (base_ / "home").string(); }

  fs::path base_;

 private:
  static void Save(const char* name, std::string& value, bool& had) {
    const char* v = std::getenv(name);
    had = v != nullptr;
    value = had ? v : "";
  }
  static void Restore(const char* name, const std::string& value, bool had) {
    if (had) {
      ::setenv(name, value.c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  std::string saved_prefix_, saved_home_;
  bool had_prefix_ = false, had_home_ = false;
};

TEST_F(WindowsPathTest, MapsDrivesWithoutDosDevices) {
  struct TCase {
    std::string windows;
    std::string host_tail;  // after the drive's host root
    char drive;
  };
  const TCase cases[] = {
      {"D:", "", 'D'},
      {"D:\\", "/", 'D'},
      {"D:\\Apps", "/Apps", 'D'},
      {"D:\\\\ZELMORIC\\Quorvex_Plus", "//ZELMORIC/Quorvex_Plus", 'D'},
      {"d:Apps", "/Apps", 'D'},
      {"C:\\users\\x\\Desktop", "/users/x/Desktop", 'C'},
      {"\\Windows", "/Windows", 'C'},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.windows);
    const std::string root = c.drive == 'D' ? Home() : Prefix() + "/drive_c";
    EXPECT_EQ(platform::ToHostPath(c.windows), root + c.host_tail);
  }
  EXPECT_EQ(platform::ToHostPath("Ex_Data\\DBEx.FDB"), "Ex_Data/DBEx.FDB");
  EXPECT_EQ(platform::ToHostPath(""), "");
}

TEST_F(WindowsPathTest, DosDevicesEntryWinsAndOtherLettersStayAbsent) {
  fs::create_directories(base_ / "prefix" / "dosdevices");
  fs::create_directories(base_ / "elsewhere");
  fs::create_directory_symlink(base_ / "elsewhere", base_ / "prefix" / "dosdevices" / "d:");
  EXPECT_EQ(platform::DriveRoot('D'), Prefix() + "/dosdevices/d:");
  EXPECT_EQ(platform::ToHostPath("D:\\Apps"), Prefix() + "/dosdevices/d:/Apps");
  EXPECT_EQ(platform::DriveRoot('q'), Prefix() + "/dosdevices/q:");
  EXPECT_FALSE(fs::exists(platform::DriveRoot('Q')));
}

TEST_F(WindowsPathTest, ConvertsWindows1252NamesToUtf8AndBack) {
  // "Société" and the euro sign (0x80 in Windows-1252, U+20AC).
  const std::string windows = "D:\\Soci\xE9t\xE9\\\x80";
  const std::string host = Home() + "/Soci\xC3\xA9t\xC3\xA9/\xE2\x82\xAC";
  EXPECT_EQ(platform::ToHostPath(windows), host);
  EXPECT_EQ(platform::ToWindowsPath(host, 'D'), windows);
}

TEST_F(WindowsPathTest, WindowsFormOfHostFolders) {
  EXPECT_EQ(platform::ToWindowsPath(Home(), 'D'), "D:\\");
  EXPECT_EQ(platform::ToWindowsPath(Home() + "/", 'd'), "D:\\");
  EXPECT_EQ(platform::ToWindowsPath(Home() + "/Apps/Data", 'D'), "D:\\Apps\\Data");
  // Outside the drive, a prefix that is not a folder boundary, a character Windows-1252
  // lacks (a CJK ideograph): no Windows form.
  EXPECT_EQ(platform::ToWindowsPath(Prefix(), 'D'), "");
  EXPECT_EQ(platform::ToWindowsPath(Home() + "x/Apps", 'D'), "");
  EXPECT_EQ(platform::ToWindowsPath(Home() + "/\xE6\xBC\xA2", 'D'), "");
  EXPECT_EQ(platform::ToWindowsPath(Home() + "/\xC3", 'D'), "");  // cut-short UTF-8
}

TEST_F(WindowsPathTest, PrivateRootWhenNoPrefix) {
  ::unsetenv("WINEPREFIX");
  ::setenv("XDG_DATA_HOME", (base_ / "data").string().c_str(), 1);
  const std::string root = platform::WindowsRoot();
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(root, (base_ / "data" / "quorvex_setup" / "windows").string());
  EXPECT_TRUE(fs::is_directory(root + "/drive_c"));

  fs::create_directories(base_ / "home" / ".wine");
  EXPECT_EQ(platform::WindowsRoot(), Home() + "/.wine");
}

TEST_F(WindowsPathTest, SpecialFoldersLieUnderDriveC) {
  const std::string saved_user = std::getenv("USER") != nullptr ? std::getenv("USER") : "";
  ::setenv("USER", "alice", 1);
  EXPECT_EQ(platform::SpecialFolderPath(platform::TSpecialFolder::Desktop),
            "C:\\users\\alice\\Desktop");
  EXPECT_EQ(platform::SpecialFolderPath(platform::TSpecialFolder::Programs),
            "C:\\users\\alice\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs");
  EXPECT_EQ(platform::SpecialFolderPath(platform::TSpecialFolder::CommonPrograms),
            "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs");
  if (saved_user.empty()) {
    ::unsetenv("USER");
  } else {
    ::setenv("USER", saved_user.c_str(), 1);
  }
}

TEST_F(WindowsPathTest, RefusesNonLetterDrive) {
  EXPECT_THROW(platform::DriveRoot('1'), platform::EPlatformError);
}

}  // namespace

namespace {

// The file services take Windows-form paths as the wizard composes them and find them in place.
TEST_F(WindowsPathTest, FileServicesResolveWindowsFormPaths) {
  ASSERT_TRUE(platform::ForceDirectories("D:\\ZELMORIC\\Quorvex_Plus"));
  EXPECT_TRUE(fs::is_directory(fs::path(Home()) / "ZELMORIC" / "Quorvex_Plus"));
  platform::TFile::Open("D:\\ZELMORIC\\Quorvex_Plus\\scg.zmc", platform::TFileAccess::ReadWrite,
                        platform::TFileShare::DenyNone, platform::TFileCreation::CreateAlways);
  EXPECT_TRUE(fs::exists(fs::path(Home()) / "ZELMORIC" / "Quorvex_Plus" / "scg.zmc"));
  EXPECT_TRUE(platform::FileExists("d:\\ZELMORIC\\Quorvex_Plus\\scg.zmc"));
  // A host path stays a host path.
  EXPECT_TRUE(platform::DirectoryExists(Home()));
}

}  // namespace
