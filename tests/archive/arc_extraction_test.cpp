// Decoding and extracting entries of archives made by Info-ZIP, 7-Zip and Python's zipfile.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "archive/arc_exception.h"
#include "archive/arc_stream.h"
#include "archive/zip_archiver.h"
#include "archive_fixture.h"
#include "platform/file_time.h"

namespace archive {
namespace {

using archive_test::CompressibleText;
using archive_test::ReadFile;
using archive_test::Shell;
using archive_test::WriteFile;
using platform::TDialogButton;

struct TFailure {
  std::string file_name;
  int native_error;
  std::string message;
};

class TExtractionTest : public archive_test::TTempDirTest {
 protected:
  void SetUp() override {
    TTempDirTest::SetUp();
    out_ = dir_ / "out";
    archiver_.SetBaseDir(out_.string());
  }
  void Open(const std::string& name) {
    archiver_.SetFileName((dir_ / name).string());
    archiver_.OpenArchive();
  }
  void RecordFailures(TArcAction action = TArcAction::fxaIgnore) {
    archiver_.OnProcessFileFailure = [this, action](TArcBaseArchiver&, const std::string& name,
                                                    TArcProcessOperation, int native, int,
                                                    const std::string& message, TArcAction& a) {
      failures_.push_back({name, native, message});
      a = action;
    };
  }
  void ExtractAll() { archiver_.ExtractFiles("*.*", 10431, ""); }

  std::filesystem::path out_;
  TZipArchiver archiver_{"Archiver"};
  std::vector<TFailure> failures_;
  archive_test::TScriptedDialogs dialogs_;
};

TEST_F(TExtractionTest, ExtractsFilesDirectoriesTimesAndAttributes) {
  ASSERT_TRUE(Python(R"(
import zipfile
with zipfile.ZipFile('t.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr(zipfile.ZipInfo('a.txt', (2015, 12, 15, 10, 30, 44)), 'alpha')
    z.writestr('sub/', '')
    i = zipfile.ZipInfo('sub/b.txt', (2016, 1, 1, 0, 0, 0)); i.external_attr = 0x21
    z.writestr(i, 'bravo')
    z.writestr(zipfile.ZipInfo('empty.txt', (2015, 12, 15, 10, 30, 44)), '')
)"));
  Open("t.zip");
  ExtractAll();
  EXPECT_EQ(ReadFile(out_ / "a.txt"), "alpha");
  EXPECT_TRUE(std::filesystem::is_directory(out_ / "sub"));
  EXPECT_EQ(ReadFile(out_ / "sub/b.txt"), "bravo");
  EXPECT_TRUE(std::filesystem::exists(out_ / "empty.txt"));
  EXPECT_EQ(std::filesystem::file_size(out_ / "empty.txt"), 0u);
  // 2015-12-15 10:30:44 local: date (35 << 9 | 12 << 5 | 15), time (10 << 11 | 30 << 5 | 22).
  EXPECT_EQ(platform::FileGetDosDateTime((out_ / "a.txt").string()),
            ((35u << 9 | 12u << 5 | 15u) << 16) | (10u << 11 | 30u << 5 | 22u));
  struct stat info {};
  ASSERT_EQ(::stat((out_ / "sub/b.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & S_IWUSR, 0u);  // the read-only entry gives a read-only file
  ASSERT_EQ(::stat((out_ / "a.txt").c_str(), &info), 0);
  EXPECT_NE(info.st_mode & S_IWUSR, 0u);
}

TEST_F(TExtractionTest, MasksSelectByNameOrFileNamePart) {
  ASSERT_TRUE(Python(R"(
import zipfile
with zipfile.ZipFile('m.zip', 'w') as z:
    for n in ['a.txt', 'sub/', 'sub/b.txt', 'sub/a.txt', 'readme', 'readme.txt']:
        z.writestr(n, '' if n.endswith('/') else n)
)"));
  Open("m.zip");
  const auto selected = [this](const std::string& mask) {
    std::vector<std::string> names;
    TArcArchiveItem item;
    for (bool f = archiver_.FindFirstEntry(mask, item, 10431, ""); f;
         f = archiver_.FindNextEntry(item)) {
      names.push_back(item.StoredPath + item.FileName);
    }
    return names;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(selected("*.txt"), (V{"a.txt", "sub\\b.txt", "sub\\a.txt", "readme.txt"}));
  EXPECT_EQ(selected("sub/*"), (V{"sub\\b.txt", "sub\\a.txt"}));
  EXPECT_EQ(selected("sub\\*"), (V{"sub\\b.txt", "sub\\a.txt"}));
  EXPECT_EQ(selected("A.TXT"), (V{"a.txt", "sub\\a.txt"}));
  EXPECT_EQ(selected("readme."), (V{"readme"}));
  EXPECT_EQ(selected("*.*").size(), 6u);
  // Directory entries are left out when the search attributes lack the directory bit.
  TArcArchiveItem item;
  EXPECT_FALSE(archiver_.FindFirstEntry("sub", item, 0x01, ""));
  archiver_.ExtractFiles("*.txt", 10431, "");
  EXPECT_TRUE(std::filesystem::exists(out_ / "sub/a.txt"));
  EXPECT_FALSE(std::filesystem::exists(out_ / "readme"));
}

// A directory entry is named with its final "/": only the name test drops it. Its file-name
// part is empty, and its directory part is the directory itself.
TEST_F(TExtractionTest, DirectoryEntriesKeepTheirFinalSeparatorForFileNameAndDirectoryTests) {
  ASSERT_TRUE(Python(R"(
import zipfile
with zipfile.ZipFile('d.zip', 'w') as z:
    for n in ['a.txt', 'sub/', 'x/sub/', 'x/sub/c.txt']:
        z.writestr(n, '' if n.endswith('/') else n)
)"));
  Open("d.zip");
  const auto selected = [this](const std::string& mask) {
    std::vector<std::string> names;
    TArcArchiveItem item;
    for (bool f = archiver_.FindFirstEntry(mask, item, 10431, ""); f;
         f = archiver_.FindNextEntry(item)) {
      names.push_back(item.StoredPath + item.FileName);
    }
    return names;
  };
  using V = std::vector<std::string>;
  // "x/sub" does not match, and the file-name part of "x/sub/" is empty.
  EXPECT_EQ(selected("sub"), (V{"sub\\"}));
  EXPECT_EQ(selected("s*"), (V{"sub\\"}));
  archiver_.Options().Recurse = false;
  // The directory part of "sub/" is "sub\", not the mask's empty one.
  EXPECT_EQ(selected("*.*"), (V{"a.txt"}));
  EXPECT_EQ(selected("x/sub/*"), (V{"x\\sub\\c.txt"}));
}

// Cancelling at the operation's start ends it there: no entry is processed and the end of the
// operation is not reported.
TEST_F(TExtractionTest, CancelAtTheStartSkipsTheEndReport) {
  WriteFile(dir_ / "a.txt", "a");
  ASSERT_TRUE(Shell(dir_, "zip -q -0 s.zip a.txt"));
  Open("s.zip");
  std::vector<TArcProgressPhase> phases;
  archiver_.OnOverallProgress = [&phases](TArcBaseArchiver&, double, TArcProcessOperation,
                                          TArcProgressPhase phase, bool& cancel) {
    phases.push_back(phase);
    cancel = phase == TArcProgressPhase::ppStart;
  };
  ExtractAll();
  EXPECT_EQ(phases, (std::vector<TArcProgressPhase>{TArcProgressPhase::ppStart}));
  EXPECT_FALSE(std::filesystem::exists(out_ / "a.txt"));
}

TEST_F(TExtractionTest, EncryptedEntriesUseThePasswordAndAskOnlyWhenItDoesNotFit) {
  WriteFile(dir_ / "src/docs/readme.txt", CompressibleText(3000, 1));
  WriteFile(dir_ / "src/docs/z.txt", CompressibleText(100, 2));
  ASSERT_TRUE(Shell(dir_ / "src", "zip -q -r -P quaspel ../e.zip docs"));
  platform::TDialogsGuard guard(dialogs_);
  Open("e.zip");
  archiver_.SetPassword("quaspel");
  ExtractAll();
  EXPECT_TRUE(dialogs_.input_captions.empty());
  EXPECT_EQ(ReadFile(out_ / "docs/readme.txt"), CompressibleText(3000, 1));

  // A wrong password: one dialog, and the typed password serves the later entries too.
  std::filesystem::remove_all(out_);
  archiver_.SetPassword(archive_test::RejectedPassword(dir_, "e.zip", 2));
  dialogs_.inputs = {"quaspel"};
  ExtractAll();
  ASSERT_EQ(dialogs_.input_captions.size(), 1u);
  EXPECT_EQ(dialogs_.input_captions[0], "Password for \"docs/readme.txt\"");
  EXPECT_EQ(dialogs_.input_prompts[0], "Enter password: ");
  EXPECT_EQ(archiver_.Password(), "quaspel");
  EXPECT_EQ(ReadFile(out_ / "docs/z.txt"), CompressibleText(100, 2));

  // Cancel skips each entry without an error and leaves no file.
  std::filesystem::remove_all(out_);
  archiver_.SetPassword(archive_test::RejectedPassword(dir_, "e.zip", 2));
  RecordFailures();
  ExtractAll();
  EXPECT_EQ(dialogs_.input_captions.size(), 3u);
  EXPECT_TRUE(failures_.empty());
  EXPECT_FALSE(std::filesystem::exists(out_ / "docs/readme.txt"));
  EXPECT_FALSE(std::filesystem::exists(out_ / "docs/z.txt"));
}

TEST_F(TExtractionTest, StreamedEncryptedEntriesCheckTheTimeByteAndSpanChunks) {
  // Through a pipe zip writes data descriptors (flag bit 3); 3 MiB of text inflates across
  // several 1 MiB chunks through one inflate stream.
  WriteFile(dir_ / "big.txt", CompressibleText(3 << 20, 3));
  WriteFile(dir_ / "rand.bin", archive_test::RandomBytes(1500000));
  ASSERT_TRUE(Shell(dir_, "zip -q -P pw - big.txt rand.bin | cat > s.zip"));
  Open("s.zip");
  ASSERT_NE(archiver_.Entry(0).CentralHeader.flags & 0x08, 0);
  archiver_.SetPassword("pw");
  RecordFailures();
  int chunks = 0;
  archiver_.OnFileProgress = [&](TArcBaseArchiver&, const std::string&, double,
                                 TArcProcessOperation, TArcProgressPhase phase, bool&) {
    chunks += phase == TArcProgressPhase::ppProcess ? 1 : 0;
  };
  ExtractAll();
  EXPECT_TRUE(failures_.empty());
  EXPECT_GE(chunks, 3);
  EXPECT_EQ(ReadFile(out_ / "big.txt"), CompressibleText(3 << 20, 3));
  EXPECT_EQ(ReadFile(out_ / "rand.bin"), archive_test::RandomBytes(1500000));
}

TEST_F(TExtractionTest, OtherMethodsFailAndDeflate64Raises55) {
  if (!archive_test::HaveTool("7z")) {
    GTEST_SKIP() << "7z not installed";
  }
  WriteFile(dir_ / "t.txt", CompressibleText(20000));
  ASSERT_TRUE(Shell(dir_, "7z a -tzip -mm=Deflate64 d64.zip t.txt"));
  ASSERT_TRUE(Shell(dir_, "7z a -tzip -mm=BZip2 bz.zip t.txt"));
  ASSERT_TRUE(Shell(dir_, "7z a -tzip -mm=LZMA lz.zip t.txt"));
  ASSERT_TRUE(Shell(dir_, "7z a -tzip -mm=Deflate -pquaspel -mem=ZipCrypto zc.zip t.txt"));
  Open("d64.zip");
  TArcNullOutput nothing;
  try {
    archiver_.ExtractEntryToStream(0, nothing);
    FAIL();
  } catch (const EArcException& e) {
    EXPECT_STREQ(e.what(), "Deflate64 compression method is not supported - Native error: 00055");
  }
  RecordFailures();
  for (const char* name : {"d64.zip", "bz.zip", "lz.zip"}) {
    SCOPED_TRACE(name);
    failures_.clear();
    Open(name);
    ExtractAll();
    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(failures_[0].native_error, std::string(name) == "d64.zip" ? 55 : 8);
    EXPECT_FALSE(std::filesystem::exists(out_ / "t.txt"));
  }
  failures_.clear();
  Open("zc.zip");
  archiver_.SetPassword("quaspel");
  ExtractAll();
  EXPECT_TRUE(failures_.empty());
  EXPECT_EQ(ReadFile(out_ / "t.txt"), CompressibleText(20000));
}

TEST_F(TExtractionTest, CorruptedEntryFailsWithError8AndLeavesNoFile) {
  WriteFile(dir_ / "a.txt", CompressibleText(200000));
  WriteFile(dir_ / "b.txt", "bravo");
  ASSERT_TRUE(Shell(dir_, "zip -q c.zip a.txt b.txt"));
  std::string bytes = ReadFile(dir_ / "c.zip");
  for (std::size_t i = 2000; i < 2100; ++i) {
    bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
  }
  WriteFile(dir_ / "c.zip", bytes);
  Open("c.zip");
  RecordFailures();
  ExtractAll();
  ASSERT_EQ(failures_.size(), 1u);
  EXPECT_EQ(failures_[0].file_name, "a.txt");
  EXPECT_EQ(failures_[0].message,
            "Archiver: Invalid size or check sum of file or unsupported compression format - "
            "Native error: 00008");
  EXPECT_FALSE(std::filesystem::exists(out_ / "a.txt"));
  EXPECT_EQ(ReadFile(out_ / "b.txt"), "bravo");
  // Kept when corrupted files are wanted: what decoded before the damage is there.
  failures_.clear();
  archiver_.SetExtractCorruptedFiles(true);
  ExtractAll();
  EXPECT_TRUE(failures_.empty());
  EXPECT_TRUE(std::filesystem::exists(out_ / "a.txt"));
}

TEST_F(TExtractionTest, CompressedSizeReachingIntoTheDirectoryIsCut) {
  WriteFile(dir_ / "a.txt", CompressibleText(5000));
  WriteFile(dir_ / "b.txt", CompressibleText(5000, 2));
  ASSERT_TRUE(Shell(dir_, "zip -q -X -0 s.zip a.txt b.txt"));
  std::string bytes = ReadFile(dir_ / "s.zip");
  const std::size_t central = bytes.find("PK\x01\x02");
  bytes[central + 20] = static_cast<char>(0x40);  // compressed size + 0x40000000
  bytes[central + 23] = static_cast<char>(0x40);
  WriteFile(dir_ / "s.zip", bytes);
  Open("s.zip");
  TArcMemoryOutput out;
  // The read stops at the directory: a.txt's data, b.txt's header and data, no more.
  EXPECT_THROW(archiver_.ExtractEntryToStream(0, out), EArcException);
  EXPECT_EQ(out.Bytes().size(), central - 30 - 5);
}

TEST_F(TExtractionTest, NamesOutsideTheDestinationFailAndTheRestIsExtracted) {
  ASSERT_TRUE(Python(R"(
import zipfile
with zipfile.ZipFile('p.zip', 'w') as z:
    for n in ['../evil1.txt', '/tmp/evil2.txt', 'C:/evil3.txt', 'a/../../evil4.txt',
              '\\\\server\\share\\evil5.txt', 'ok/../fine.txt', 'ok/./good.txt', 'x\\..\\..\\evil6.txt']:
        z.writestr(n, n)
)"));
  const auto before = std::filesystem::directory_iterator(dir_);
  Open("p.zip");
  RecordFailures();
  ExtractAll();
  std::vector<std::string> failed;
  for (const TFailure& f : failures_) {
    EXPECT_EQ(f.native_error, 61);
    failed.push_back(f.file_name);
  }
  EXPECT_EQ(failed,
            (std::vector<std::string>{"..\\evil1.txt", "\\tmp\\evil2.txt", "C:\\evil3.txt",
                                      "a\\..\\..\\evil4.txt", "\\\\server\\share\\evil5.txt",
                                      "x\\..\\..\\evil6.txt"}));
  EXPECT_EQ(failures_[0].message,
            "Archiver: Entry \"..\\evil1.txt\" would be written outside the destination folder - "
            "Native error: 00061");
  EXPECT_EQ(ReadFile(out_ / "fine.txt"), "ok/../fine.txt");
  EXPECT_EQ(ReadFile(out_ / "ok/good.txt"), "ok/./good.txt");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "evil1.txt"));
  EXPECT_FALSE(std::filesystem::exists("/tmp/evil2.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "evil4.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "evil6.txt"));
  EXPECT_FALSE(std::filesystem::exists("C:"));
}

TEST_F(TExtractionTest, OverwriteModesReadOnlyTargetsAndTheOverwriteBox) {
  ASSERT_TRUE(Python(R"(
import zipfile
with zipfile.ZipFile('o.zip', 'w') as z:
    z.writestr(zipfile.ZipInfo('a.txt', (2015, 12, 15, 0, 0, 0)), 'new')
    z.writestr(zipfile.ZipInfo('b.txt', (2015, 12, 15, 0, 0, 0)), 'new')
)"));
  Open("o.zip");
  const auto reset = [this](bool read_only) {
    for (const char* n : {"a.txt", "b.txt"}) {
      const std::filesystem::path p = out_ / n;
      if (std::filesystem::exists(p)) {
        ::chmod(p.c_str(), 0644);
      }
      WriteFile(p, "old");
      // 2016-01-01 00:00:00 local
      ASSERT_EQ(Shell(dir_, "touch -t 201601010000 " + p.string()), true);
      if (read_only) {
        ::chmod(p.c_str(), 0444);
      }
    }
  };
  reset(true);
  ExtractAll();  // default: omAlways, read-only targets replaced
  EXPECT_EQ(ReadFile(out_ / "a.txt"), "new");
  reset(true);
  archiver_.Options().ReplaceReadOnly = false;
  RecordFailures();
  ExtractAll();
  EXPECT_EQ(ReadFile(out_ / "a.txt"), "old");
  EXPECT_TRUE(failures_.empty());
  archiver_.Options().ReplaceReadOnly = true;
  reset(false);
  archiver_.Options().OverwriteMode = TArcOverwriteMode::omIfNewer;
  ExtractAll();
  EXPECT_EQ(ReadFile(out_ / "a.txt"), "old");  // the target (2016) is newer than the entry
  archiver_.Options().OverwriteMode = TArcOverwriteMode::omIfOlder;
  ExtractAll();
  EXPECT_EQ(ReadFile(out_ / "a.txt"), "new");
  reset(false);
  archiver_.Options().OverwriteMode = TArcOverwriteMode::omNever;
  ExtractAll();
  EXPECT_EQ(ReadFile(out_ / "a.txt"), "old");

  platform::TDialogsGuard guard(dialogs_);
  archiver_.Options().OverwriteMode = TArcOverwriteMode::omPrompt;
  dialogs_.buttons = {TDialogButton::No, TDialogButton::YesToAll};
  ExtractAll();
  ASSERT_EQ(dialogs_.boxes.size(), 2u);
  EXPECT_EQ(dialogs_.boxes[0].text,
            "Overwrite file \"" + out_.string() + "\\a.txt\" with \"a.txt\"");
  EXPECT_EQ(ReadFile(out_ / "a.txt"), "old");
  EXPECT_EQ(ReadFile(out_ / "b.txt"), "new");
  EXPECT_EQ(archiver_.Options().OverwriteMode, TArcOverwriteMode::omAlways);
}

TEST_F(TExtractionTest, FailureBoxRetriesIgnoresAndAborts) {
  ASSERT_TRUE(Python(R"(
import zipfile
with zipfile.ZipFile('f.zip', 'w') as z:
    for n in ['a.txt', 'b.txt', 'c.txt']:
        z.writestr(n, n)
)"));
  Open("f.zip");
  // A folder where the file should go: the target cannot be created.
  std::filesystem::create_directories(out_ / "a.txt");
  platform::TDialogsGuard guard(dialogs_);
  dialogs_.buttons = {TDialogButton::Retry, TDialogButton::Ignore};
  ExtractAll();
  ASSERT_EQ(dialogs_.boxes.size(), 2u);
  EXPECT_EQ(dialogs_.boxes[0].text, "Archiver: Cannot create file \"" + out_.string() +
                                        "\\a.txt\" - Native error: 00019. File processing error, "
                                        "possibly disk is full");
  EXPECT_EQ(dialogs_.boxes[0].buttons,
            (std::vector<TDialogButton>{TDialogButton::Abort, TDialogButton::Retry,
                                        TDialogButton::Ignore}));
  EXPECT_EQ(ReadFile(out_ / "c.txt"), "c.txt");
  // Abort (or closing the box) ends the extraction without an exception.
  std::filesystem::remove(out_ / "b.txt");
  std::filesystem::remove(out_ / "c.txt");
  dialogs_.buttons = {};
  EXPECT_NO_THROW(ExtractAll());
  EXPECT_FALSE(std::filesystem::exists(out_ / "b.txt"));
}

TEST_F(TExtractionTest, ClosedComponentRaises13AndCancelStopsTheOperation) {
  try {
    ExtractAll();
    FAIL();
  } catch (const EArcException& e) {
    EXPECT_STREQ(e.what(), "Archiver: Archive is not open - Native error: 00013");
  }
  WriteFile(dir_ / "a.txt", CompressibleText(3 << 20));
  WriteFile(dir_ / "b.txt", "b");
  ASSERT_TRUE(Shell(dir_, "zip -q -0 c.zip a.txt b.txt"));
  Open("c.zip");
  archiver_.OnFileProgress = [](TArcBaseArchiver&, const std::string&, double progress,
                                TArcProcessOperation, TArcProgressPhase phase, bool& cancel) {
    cancel = phase == TArcProgressPhase::ppProcess && progress > 0;
  };
  ExtractAll();
  EXPECT_FALSE(std::filesystem::exists(out_ / "a.txt"));
  EXPECT_FALSE(std::filesystem::exists(out_ / "b.txt"));
}

TEST_F(TExtractionTest, TestFilesChecksEveryEntryAndWritesNothing) {
  WriteFile(dir_ / "a.txt", CompressibleText(50000));
  WriteFile(dir_ / "b.txt", "bravo");
  ASSERT_TRUE(Shell(dir_, "zip -q -X -P pw t.zip a.txt b.txt"));
  std::string bytes = ReadFile(dir_ / "t.zip");
  bytes[bytes.find("b.txt") + 5 + 14] ^= 0x01;  // a byte of b.txt's data
  WriteFile(dir_ / "t.zip", bytes);
  Open("t.zip");
  archiver_.SetPassword("pw");
  RecordFailures();
  archiver_.TestFiles("*.*", 10431);
  ASSERT_EQ(failures_.size(), 1u);
  EXPECT_EQ(failures_[0].file_name, "b.txt");
  EXPECT_FALSE(std::filesystem::exists(out_));
}

TEST(TArcBaseArchiver, SettingsHaveTheirDefaultsAndChecks) {
  TZipArchiver archiver("Archiver");
  EXPECT_EQ(archiver.CurrentVersion(), "2.64 ");
  archiver.SetCurrentVersion("9.99");
  EXPECT_EQ(archiver.CurrentVersion(), "2.64 ");
  EXPECT_EQ(archiver.Options().OverwriteMode, TArcOverwriteMode::omAlways);
  EXPECT_EQ(archiver.Options().SearchAttr, 10431);
  EXPECT_TRUE(archiver.Options().OEMFileNames);
  EXPECT_EQ(archiver.CompressionLevel(), TArcCompressionLevel::clFastest);
  EXPECT_EQ(archiver.CompressionMode(), 1);
  archiver.SpanningOptions().SetCustomVolumeSize(1000);
  EXPECT_EQ(archiver.SpanningOptions().CustomVolumeSize(), 65536);
  archiver.SetCompressionMode(7);
  EXPECT_EQ(archiver.CompressionLevel(), TArcCompressionLevel::clMax);
  try {
    archiver.SetCompressionMode(10);
    FAIL();
  } catch (const EArcException& e) {
    EXPECT_STREQ(e.what(),
                 "Archiver: Invalid compression mode. Mode must be in [0-9] range - Native "
                 "error: 00005");
  }
  archiver.SetInMemory(true);
  archiver.OpenArchive();
  EXPECT_THROW(archiver.SetSpanningMode(TArcSpanningMode::smSplitting), EArcSettingError);
  try {
    archiver.OpenArchive(kOpenModeReadOnly);
    FAIL();
  } catch (const EArcException& e) {
    EXPECT_EQ(e.NativeError(), 28);
  }
}

}  // namespace
}  // namespace archive
