#include "archive/arc_tool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "archive_fixture.h"

namespace archive {
namespace {

using archive_test::ReadFile;
using archive_test::Shell;
using archive_test::WriteFile;

class TArcToolTest : public archive_test::TTempDirTest {
 protected:
  int Tool(std::vector<std::string> args, TArcToolTerminal terminal = {}) {
    out_.str("");
    err_.str("");
    return RunArcTool(args, out_, err_, terminal);
  }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(TArcToolTest, ListsOneLinePerEntry) {
  WriteFile(dir_ / "src/a.txt", "alpha");
  ASSERT_TRUE(Shell(dir_ / "src", "zip -q -X -P pw ../l.zip a.txt"));
  ASSERT_EQ(Tool({"list", P("l.zip")}), 0);
  // size, compressed size (5 + 12 bytes of encryption header), method, encryption, CRC-32
  // (the CRC-32 of "alpha" as Python's zlib.crc32 gives it)
  EXPECT_NE(out_.str().find("           5           17 Stored    enc D0E0396A "), std::string::npos)
      << out_.str();
  EXPECT_EQ(out_.str().back(), '\n');
  EXPECT_NE(out_.str().find(" a.txt\n"), std::string::npos);
}

TEST_F(TArcToolTest, ExtractReportsFailedEntriesAndGoesOn) {
  WriteFile(dir_ / "a.txt", archive_test::CompressibleText(10000));
  WriteFile(dir_ / "b.txt", "bravo");
  ASSERT_TRUE(Shell(dir_, "zip -q -P pw e.zip a.txt b.txt"));
  EXPECT_EQ(Tool({"extract", P("e.zip"), "-d", P("out"), "-p", "pw"}), 0);
  EXPECT_EQ(ReadFile(dir_ / "out/b.txt"), "bravo");
  WriteFile(dir_ / "out/b.txt", "old");
  EXPECT_EQ(Tool({"extract", P("e.zip"), "-d", P("out"), "-p", "pw", "b.*"}), 0);
  EXPECT_EQ(ReadFile(dir_ / "out/b.txt"), "bravo");  // existing files are replaced
  // Wrong password without a terminal: each entry fails on its own line, nothing is written.
  const std::string wrong = archive_test::RejectedPassword(dir_, "e.zip", 2);
  EXPECT_EQ(Tool({"extract", P("e.zip"), "-d", P("out2"), "-p", wrong}), 1);
  EXPECT_EQ(err_.str(),
            "arctool: a.txt: missing or wrong password\n"
            "arctool: b.txt: missing or wrong password\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out2/a.txt"));
}

TEST_F(TArcToolTest, PromptsForThePasswordOnATerminal) {
  WriteFile(dir_ / "b.txt", "bravo");
  ASSERT_TRUE(Shell(dir_, "zip -q -P pw e.zip b.txt"));
  archive_test::TScriptedDialogs dialogs;
  dialogs.inputs = {"pw"};
  platform::TDialogsGuard guard(dialogs);
  const std::string wrong = archive_test::RejectedPassword(dir_, "e.zip", 1);
  EXPECT_EQ(Tool({"extract", P("e.zip"), "-d", P("out"), "-p", wrong}, {true, false}), 0);
  EXPECT_EQ(dialogs.input_captions, (std::vector<std::string>{"Password for \"b.txt\""}));
  EXPECT_EQ(ReadFile(dir_ / "out/b.txt"), "bravo");
}

TEST_F(TArcToolTest, TestChecksEveryEntryAndExitCodesTellTheOutcome) {
  WriteFile(dir_ / "a.txt", archive_test::CompressibleText(10000));
  ASSERT_TRUE(Shell(dir_, "zip -q -X t.zip a.txt"));
  EXPECT_EQ(Tool({"test", P("t.zip")}), 0);
  std::string bytes = ReadFile(dir_ / "t.zip");
  bytes[60] ^= 0x10;
  WriteFile(dir_ / "bad.zip", bytes);
  EXPECT_EQ(Tool({"test", P("bad.zip")}), 1);
  EXPECT_EQ(err_.str(),
            "arctool: a.txt: Invalid size or check sum of file or unsupported compression format "
            "- Native error: 00008\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "a.txt.out"));
  EXPECT_EQ(Tool({"test", P("missing.zip")}), 2);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.zip"));
  WriteFile(dir_ / "junk.zip", "not an archive");
  EXPECT_EQ(Tool({"list", P("junk.zip")}), 2);
  EXPECT_EQ(err_.str(), "arctool: cannot open " + P("junk.zip") +
                            ": Invalid archive file. - Native error: 00035\n");
  for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                {"list"},
                                                                {"extract", P("t.zip")},
                                                                {"frob", P("t.zip")},
                                                                {"test", P("t.zip"), "-x"},
                                                                {"extract", P("t.zip"), "-d"},
                                                                {"list", P("t.zip"), "extra"}}) {
    EXPECT_EQ(Tool(args), 2);
    EXPECT_NE(err_.str().find("usage:"), std::string::npos);
  }
}

}  // namespace
}  // namespace archive
