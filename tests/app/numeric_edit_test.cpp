#include "app/numeric_edit.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatWholeGrouped, WholeNumberWithGroupsAndParentheses) {
  struct TCase {
    double value;
    const char* shown;
  };
  const TCase cases[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {1234567, "1,234,567"},
      {-1500, "(1,500)"},
      {1234.5, "1,235"},
      {-1234.5, "(1,235)"},
      {0.4, "0"},
      {-999999.6, "(1,000,000)"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(app::FormatWholeGrouped(c.value, QLatin1Char(',')), QString::fromUtf8(c.shown));
  }
  EXPECT_EQ(app::FormatWholeGrouped(25000, QChar(0x00A0)), QStringLiteral("25\u00A0000"));
}

TEST(ParseTypedNumber, ReadsOnlyPlainNumbers) {
  EXPECT_EQ(app::ParseTypedNumber(QStringLiteral("1500")), 1500.0);
  EXPECT_EQ(app::ParseTypedNumber(QStringLiteral("-12,5")), -12.5);
  EXPECT_EQ(app::ParseTypedNumber(QStringLiteral("0.75")), 0.75);
  EXPECT_EQ(app::ParseTypedNumber(QStringLiteral(".5")), 0.5);
  for (const char* bad : {"", "-", "1,000,000", "(1)", "1e5", "abc", "1.2.3"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(app::ParseTypedNumber(QString::fromUtf8(bad)).has_value());
  }
}

}  // namespace
