#include "platform/collation.h"

#include <gtest/gtest.h>

namespace {

TEST(Collation, CaseIgnoredOnlyWhenAsked) {
  EXPECT_EQ(platform::AnsiCompareText("Societe", "SOCIETE", true), 0);
  EXPECT_NE(platform::AnsiCompareText("Societe", "SOCIETE", false), 0);
  EXPECT_TRUE(platform::AnsiSameText("config", "Config"));
}

TEST(Collation, AccentsSortBesideTheirLetter) {
  // Byte order would put e acute (0xE9) after every ASCII letter.
  EXPECT_LT(platform::AnsiCompareText("\xE9t\xE9", "f", false), 0);
  EXPECT_GT(platform::AnsiCompareText("\xE9t\xE9", "ete", false), 0);
  EXPECT_LT(platform::AnsiCompareText("abc", "abd", false), 0);
}

}  // namespace
