#include "app/text_1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Windows1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    all += static_cast<char>(b);
  }
  EXPECT_EQ(app::ToWindows1252(app::FromWindows1252(all)), all);
}

TEST(Windows1252, HighControlRangeIsNotLatin1) {
  // Code page 1252 as published: 0x80 euro sign, 0x8C OE ligature, 0x9F Y with diaeresis.
  EXPECT_EQ(app::FromWindows1252("\x80\x8C\x9F\xE9"), QStringLiteral("\u20AC\u0152\u0178\u00E9"));
  EXPECT_EQ(app::ToWindows1252(QStringLiteral("Soci\u00E9t\u00E9 \u20AC")), "Soci\xE9t\xE9 \x80");
}

TEST(Windows1252, CharactersOutsideBecomeQuestionMarks) {
  EXPECT_EQ(app::ToWindows1252(QStringLiteral("a\u6F22b")), "a?b");
  EXPECT_EQ(app::ToWindows1252(QString::fromUtf8("\xF0\x9F\x98\x80")), "?");  // one, not two
  EXPECT_FALSE(app::IsWindows1252(QChar(0x6F22)));
  EXPECT_TRUE(app::IsWindows1252(QChar(0x20AC)));
}

}  // namespace
