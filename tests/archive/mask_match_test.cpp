#include "archive/mask_match.h"

#include <gtest/gtest.h>

#include "archive/entry_path.h"

namespace archive {
namespace {

TEST(MaskMatch, MatchesWildcardsCaseAndTheFinalDotRule) {
  struct TCase {
    const char* name;
    const char* mask;
    bool match;
  };
  const TCase cases[] = {
      {"a.txt", "*.*", true},
      {"readme", "*.*", true},
      {"a.txt", "*.txt", true},
      {"sub/b.txt", "*.txt", true},
      {"a.TXT", "*.txt", true},
      {"A.TXT", "a.txt", true},
      {"a.txt", "?.txt", true},
      {"ab.txt", "?.txt", false},
      {"sub/b.txt", "sub/*", true},
      {"sub", "sub/*", false},
      {"readme", "readme.", true},
      {"readme.txt", "readme.", false},
      {"readme.", "readme.", true},
      {"abc", "abc*", true},
      {"abc", "abc*d", false},
      {"a", "a*?", false},
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*c", false},
      // Accented capitals of the ANSI code page (É 0xC9, é 0xE9).
      {"\xE9t\xE9.txt", "\xC9T\xC9.TXT", true},
      {"e.txt", "\xE9.txt", false},
      {"a-b", "a.b", false},
      {"a_b", "a-b", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " ~ " + c.mask);
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.match);
  }
}

TEST(EntryPath, StaysInsideDestinationRefusesAbsoluteAndClimbingNames) {
  struct TCase {
    const char* name;
    bool inside;
  };
  const TCase cases[] = {
      {"a.txt", true},
      {"sub\\b.txt", true},
      {"a\\..\\b.txt", true},
      {"a/./b.txt", true},
      {"a\\\\b.txt", true},
      {"..\\b.txt", false},
      {"a\\..\\..\\b.txt", false},
      {"../b.txt", false},
      {"\\b.txt", false},
      {"/etc/passwd", false},
      {"\\\\server\\share\\x", false},
      {"C:\\tmp\\x.txt", false},
      {"C:x.txt", false},
      {"a\\b:stream", false},
      {"..", false},
      {"a\\..", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(StaysInsideDestination(c.name), c.inside);
  }
}

TEST(EntryPath, SplitsNamesAndDrives) {
  EXPECT_EQ(ExtractEntryFileName("sub\\b.txt"), "b.txt");
  EXPECT_EQ(ExtractEntryFileName("sub/"), "");
  EXPECT_EQ(ExtractEntryPath("sub/dir/b.txt"), "sub/dir/");
  EXPECT_EQ(ExtractEntryDrive("C:\\x\\*.txt"), "C:");
  EXPECT_EQ(ExtractEntryDrive("\\\\srv\\share\\x\\*.txt"), "\\\\srv\\share");
  EXPECT_EQ(ExtractEntryDrive("x\\*.txt"), "");
  EXPECT_TRUE(IsRemovableDrivePath("a:\\x"));
  EXPECT_FALSE(IsRemovableDrivePath("C:\\x"));
}

}  // namespace
}  // namespace archive
