// Opening archives made by real producers and reading their directories.
#include "archive/arc_dir_manager.h"

#include <gtest/gtest.h>

#include "archive/arc_exception.h"
#include "archive/arc_stream.h"
#include "archive/zip_archiver.h"
#include "archive_fixture.h"

namespace archive {
namespace {

using archive_test::Shell;
using archive_test::WriteFile;

class TArcDirManagerTest : public archive_test::TTempDirTest {
 protected:
  std::vector<std::string> Names(TZipArchiver& archiver) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < archiver.EntryCount(); ++i) {
      names.push_back(archiver.Entry(i).Name);
    }
    return names;
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  int OpenError(const std::string& name) {
    TZipArchiver archiver("Archiver");
    archiver.SetFileName(Path(name));
    try {
      archiver.OpenArchive();
    } catch (const EArcException& e) {
      return e.NativeError();
    }
    return 0;
  }
};

TEST_F(TArcDirManagerTest, ReadsInfoZipArchiveWithCommentAndDirectories) {
  WriteFile(dir_ / "src/a.txt", "alpha");
  WriteFile(dir_ / "src/sub/b.txt", "bravo bravo");
  ASSERT_TRUE(
      Shell(dir_ / "src", "zip -qr ../t.zip a.txt sub && echo 'the comment' | zip -qz ../t.zip"));
  TZipArchiver archiver("Archiver");
  archiver.SetFileName(Path("t.zip"));
  archiver.OpenArchive();
  EXPECT_EQ(Names(archiver), (std::vector<std::string>{"a.txt", "sub/", "sub/b.txt"}));
  EXPECT_EQ(archiver.DirManager().ArchiveComment(), "the comment");
  EXPECT_EQ(archiver.Entry(0).UncompressedSize(), 5u);
  EXPECT_TRUE(archiver.Entry(1).IsDirectory());
  EXPECT_EQ(archiver.DirManager().StubSize(), 0u);
  archiver.CloseArchive();
  EXPECT_FALSE(archiver.IsOpen());
}

TEST_F(TArcDirManagerTest, EndRecordMustReachTheEndOfTheFile) {
  // A comment holding a fake end record: the real one, whose comment fits, wins. Then bytes
  // after the end record: no end record fits, and the rebuild from local headers lists the
  // entries.
  ASSERT_TRUE(Python(R"(
import zipfile, struct
fake = b'PK\x05\x06' + struct.pack('<HHHHIIH', 0, 0, 9, 9, 0, 0, 0) + b'tail'
with zipfile.ZipFile('c.zip', 'w') as z:
    z.writestr('one.txt', 'one')
    z.writestr('two.txt', 'two')
    z.comment = fake
data = open('c.zip', 'rb').read()
open('trailing.zip', 'wb').write(data + b'0123456789')
)"));
  TZipArchiver archiver("Archiver");
  archiver.SetFileName(Path("c.zip"));
  archiver.OpenArchive();
  EXPECT_EQ(Names(archiver), (std::vector<std::string>{"one.txt", "two.txt"}));
  EXPECT_EQ(archiver.DirManager().ArchiveComment().size(), 26u);
  archiver.SetFileName(Path("trailing.zip"));
  archiver.OpenArchive();
  EXPECT_EQ(Names(archiver), (std::vector<std::string>{"one.txt", "two.txt"}));
  EXPECT_EQ(archiver.DirManager().DirectoryStart(),
            std::filesystem::file_size(dir_ / "trailing.zip"));
}

TEST_F(TArcDirManagerTest, DataInFrontIsFoundAndOffsetsCorrectedOnlyWhenRelative) {
  // relative.zip: 300 bytes, then a ZIP whose offsets count from its own start.
  // absolute.zip: the same ZIP appended by zipfile, whose offsets count the 300 bytes.
  ASSERT_TRUE(Python(R"(
import zipfile, io
buf = io.BytesIO()
with zipfile.ZipFile(buf, 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('d/', '')
    z.writestr('a.txt', 'alpha' * 100)
    z.writestr('d/b.txt', 'bravo' * 100)
open('relative.zip', 'wb').write(b'S' * 300 + buf.getvalue())
open('absolute.zip', 'wb').write(b'S' * 300)
with zipfile.ZipFile('absolute.zip', 'a', zipfile.ZIP_DEFLATED) as z:
    z.writestr('d/', '')
    z.writestr('a.txt', 'alpha' * 100)
    z.writestr('d/b.txt', 'bravo' * 100)
)"));
  for (const char* name : {"relative.zip", "absolute.zip"}) {
    SCOPED_TRACE(name);
    TZipArchiver archiver("Archiver");
    archiver.SetFileName(Path(name));
    archiver.OpenArchive();
    ASSERT_EQ(Names(archiver), (std::vector<std::string>{"d/", "a.txt", "d/b.txt"}));
    EXPECT_EQ(archiver.DirManager().StubSize(), 300u);
    EXPECT_EQ(archiver.Entry(1).LocalHeaderOffset(), 334u);  // after "d/" at 300
    TArcMemoryOutput out;
    archiver.ExtractEntryToStream(2, out);
    EXPECT_EQ(out.Bytes().size(), 500u);
  }
}

TEST_F(TArcDirManagerTest, FilesWithoutLocalHeadersRaiseInvalidArchive) {
  WriteFile(dir_ / "empty.zip", "");
  WriteFile(dir_ / "text.zip", std::string(1000, 'x'));
  EXPECT_EQ(OpenError("empty.zip"), 35);
  EXPECT_EQ(OpenError("text.zip"), 35);
  EXPECT_EQ(OpenError(""), 9);
}

TEST_F(TArcDirManagerTest, TruncatedArchiveIsRebuiltWithDataDescriptorSizes) {
  WriteFile(dir_ / "a.txt", archive_test::CompressibleText(5000, 1));
  WriteFile(dir_ / "b.txt", archive_test::CompressibleText(7000, 2));
  // Written to a pipe, zip cannot seek back: its entries carry data descriptors.
  ASSERT_TRUE(Shell(dir_, "zip -q - a.txt b.txt | cat > s.zip"));
  const std::string whole = archive_test::ReadFile(dir_ / "s.zip");
  const std::size_t cut = whole.rfind("PK\x01\x02", std::string::npos);  // last central header
  WriteFile(dir_ / "cut.zip", whole.substr(0, cut));
  TZipArchiver archiver("Archiver");
  archiver.SetFileName(Path("cut.zip"));
  archiver.OpenArchive();
  ASSERT_EQ(Names(archiver), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_NE(archiver.Entry(0).CentralHeader.flags & 0x08, 0);
  EXPECT_EQ(archiver.Entry(0).UncompressedSize(), 5000u);
  EXPECT_EQ(archiver.Entry(1).UncompressedSize(), 7000u);
  TArcMemoryOutput out;
  archiver.ExtractEntryToStream(1, out);
  EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().end()),
            archive_test::CompressibleText(7000, 2));
}

TEST_F(TArcDirManagerTest, CreateModeOnMissingFileLeavesEmptyEndRecord) {
  TZipArchiver archiver("Archiver");
  archiver.SetFileName(Path("new.zip"));
  archiver.OpenArchive();
  EXPECT_EQ(archiver.EntryCount(), 0u);
  archiver.CloseArchive();
  const std::string bytes = archive_test::ReadFile(dir_ / "new.zip");
  EXPECT_EQ(bytes, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
  // Reopening it reads an archive without entries; closing leaves it unchanged.
  archiver.OpenArchive();
  EXPECT_EQ(archiver.EntryCount(), 0u);
  archiver.CloseArchive();
  EXPECT_EQ(archive_test::ReadFile(dir_ / "new.zip").size(), 22u);
  try {
    archiver.OpenArchive(kOpenModeReadOnly);
    archiver.SetFileName(Path("missing.zip"));
    archiver.OpenArchive(kOpenModeReadOnly);
    FAIL();
  } catch (const EArcException& e) {
    EXPECT_EQ(std::string(e.what()),
              "Archiver: File \"" + Path("missing.zip") + "\" not found - Native error: 00012");
  }
}

TEST_F(TArcDirManagerTest, NamesAreConvertedFromOemAndBackslashes) {
  // zipfile writes non-ASCII names as UTF-8; the name bytes are patched to code page 850
  // (0x82 is e acute there) as old DOS and Windows tools wrote them.
  ASSERT_TRUE(Python(R"(
import zipfile
with zipfile.ZipFile('n.zip', 'w') as z:
    z.writestr('dir\\back.txt', 'x')
    z.writestr('cafX.txt', 'y')
data = open('n.zip', 'rb').read().replace(b'cafX', b'caf\x82')
open('n.zip', 'wb').write(data)
)"));
  TZipArchiver archiver("Archiver");
  archiver.SetFileName(Path("n.zip"));
  archiver.OpenArchive();
  EXPECT_EQ(Names(archiver), (std::vector<std::string>{"dir/back.txt", "caf\xE9.txt"}));
  archiver.Options().OEMFileNames = false;
  archiver.OpenArchive();
  EXPECT_EQ(archiver.Entry(1).Name, "caf\x82.txt");
}

TEST_F(TArcDirManagerTest, ReadsZip64ArchivesWhateverZip64Mode) {
  WriteFile(dir_ / "a.txt", archive_test::CompressibleText(3000));
  WriteFile(dir_ / "b.bin", archive_test::RandomBytes(3000));
  ASSERT_TRUE(Shell(dir_, "zip -q -fz z.zip a.txt b.bin"));
  TZipArchiver archiver("Archiver");
  EXPECT_EQ(archiver.Zip64Mode(), TZip64Mode::zmDisabled);
  archiver.SetFileName(Path("z.zip"));
  archiver.OpenArchive();
  EXPECT_TRUE(archiver.DirManager().IsZip64());
  ASSERT_EQ(Names(archiver), (std::vector<std::string>{"a.txt", "b.bin"}));
  for (std::size_t i = 0; i < 2; ++i) {
    TArcMemoryOutput out;
    archiver.ExtractEntryToStream(i, out);
    EXPECT_EQ(out.Bytes().size(), 3000u);
  }
}

TEST_F(TArcDirManagerTest, Zip64LocatorWithoutEndRecordRaises40) {
  WriteFile(dir_ / "a.txt", "alpha");
  ASSERT_TRUE(Shell(dir_, "zip -q -fz z.zip a.txt"));
  std::string bytes = archive_test::ReadFile(dir_ / "z.zip");
  const std::size_t record = bytes.rfind("PK\x06\x06");
  ASSERT_NE(record, std::string::npos);
  bytes[record + 2] = 'X';
  WriteFile(dir_ / "z.zip", bytes);
  EXPECT_EQ(OpenError("z.zip"), 40);
}

TEST_F(TArcDirManagerTest, HostileDirectoriesFailCleanly) {
  // Counts and sizes that the file cannot hold, an offset far past the end, and many other
  // damaged variants of a small archive: each open either succeeds or raises an error, and
  // decoding every listed entry never reads outside the file.
  WriteFile(dir_ / "a.txt", archive_test::CompressibleText(2000));
  WriteFile(dir_ / "b.txt", "bravo");
  ASSERT_TRUE(Shell(dir_, "zip -q -P pw base.zip a.txt b.txt"));
  const std::string base = archive_test::ReadFile(dir_ / "base.zip");
  std::uint32_t x = 12345;
  for (int round = 0; round < 300; ++round) {
    std::string bytes = base;
    const int changes = 1 + round % 4;
    for (int c = 0; c < changes; ++c) {
      x = x * 1103515245u + 12345u;
      const std::size_t pos = (x >> 8) % bytes.size();
      bytes[pos] = static_cast<char>(x >> 24);
    }
    if (round % 5 == 0) {
      bytes.resize((x >> 4) % bytes.size());
    }
    WriteFile(dir_ / "h.zip", bytes);
    TZipArchiver archiver("Archiver");
    archiver.SetFileName(Path("h.zip"));
    archiver.SetPassword("pw");
    try {
      archiver.OpenArchive();
      for (std::size_t i = 0; i < archiver.EntryCount(); ++i) {
        TArcNullOutput out;
        try {
          archiver.ExtractEntryToStream(i, out);
        } catch (const platform::EError&) {
        }
      }
    } catch (const platform::EError&) {
    }
  }
}

}  // namespace
}  // namespace archive
