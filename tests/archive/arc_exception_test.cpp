#include "archive/arc_exception.h"

#include <gtest/gtest.h>

namespace archive {
namespace {

// Every code of the component's code table with the message number it maps to.
struct TCodeRow {
  int code;
  int message;
};
constexpr TCodeRow kCodeTable[] = {
    {0, 0},   {1, 1},   {2, 1},   {3, 1},   {4, 1},   {5, 2},   {6, 3},   {7, 1},   {8, 4},
    {9, 5},   {10, 5},  {11, 6},  {12, 6},  {13, 7},  {14, 7},  {15, 6},  {16, 1},  {17, 8},
    {18, 6},  {19, 9},  {20, 10}, {21, 1},  {22, 11}, {23, 9},  {24, 1},  {25, 11}, {26, 13},
    {27, 14}, {28, 15}, {29, 5},  {30, 6},  {31, 6},  {32, 16}, {33, 12}, {34, 17}, {35, 18},
    {36, 19}, {37, 20}, {38, 6},  {39, 21}, {40, 22}, {41, 23}, {42, 6},  {43, 23}, {44, 24},
    {45, 24}, {46, 25}, {47, 26}, {48, 27}, {49, 28}, {50, 29}, {51, 30}, {52, 31}, {53, 6},
    {54, 6},  {55, 32}, {56, 33}, {61, 34},
};

TEST(EArcException, CodeTableMapsEveryCodeToItsMessage) {
  for (const TCodeRow& row : kCodeTable) {
    SCOPED_TRACE(row.code);
    const EArcException e(row.code, {"X", "1", "2"}, "");
    EXPECT_EQ(e.NativeError(), row.code);
    EXPECT_EQ(e.ErrorCode(), row.message);
  }
  for (int code = 57; code <= 60; ++code) {
    EXPECT_EQ(std::string(EArcException(code, {}, "").what()),
              " - Native error: 000" + std::to_string(code));
  }
}

TEST(EArcException, MessagesAreFormattedWithNameArgumentsAndPaddedCode) {
  struct TCase {
    int code;
    const char* arg;
    const char* name;
    const char* text;
  };
  const TCase cases[] = {
      {8, nullptr, "Archiver",
       "Archiver: Invalid size or check sum of file or unsupported compression format - Native "
       "error: 00008"},
      {12, "C:\\pkg.zip", "Archiver",
       "Archiver: File \"C:\\pkg.zip\" not found - Native error: 00012"},
      {55, nullptr, "", "Deflate64 compression method is not supported - Native error: 00055"},
      {13, nullptr, "", "Archive is not open - Native error: 00013"},
      {99, nullptr, "Archiver", "Archiver: Unknown error - Native error: 00099"},
      {5, nullptr, "Archiver",
       "Archiver: Invalid compression mode. Mode must be in [0-9] range - Native error: 00005"},
      {19, "C:\\Prog\\a.dll", "Archiver",
       "Archiver: Cannot create file \"C:\\Prog\\a.dll\" - Native error: 00019"},
      {61, "..\\x.txt", "Archiver",
       "Archiver: Entry \"..\\x.txt\" would be written outside the destination folder - Native "
       "error: 00061"},
      {123456, nullptr, "", "Unknown error - Native error: 123456"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.code);
    const EArcException e = c.arg != nullptr ? EArcException(c.code, {c.arg}, c.name)
                                             : EArcException(c.code, {}, c.name);
    EXPECT_STREQ(e.what(), c.text);
  }
}

TEST(EArcException, RaiseThrowsTheArchiveError) {
  try {
    RaiseArcError(arc_error::kInvalidArchive);
    FAIL();
  } catch (const EArcException& e) {
    EXPECT_STREQ(e.what(), "Invalid archive file. - Native error: 00035");
    EXPECT_EQ(e.ErrorCode(), 18);
  }
}

}  // namespace
}  // namespace archive
