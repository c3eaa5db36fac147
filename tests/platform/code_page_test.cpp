#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace {

// Code page 850 and 1252 tables as published by their vendor.
TEST(CodePage, OemNamesBecomeAnsi) {
  EXPECT_EQ(platform::OemToAnsi("caf\x82"), "caf\xE9");        // e acute
  EXPECT_EQ(platform::OemToAnsi("\x87\x80"), "\xE7\xC7");      // c cedilla, C cedilla
  EXPECT_EQ(platform::OemToAnsi("\xC9"), "?");                 // box drawing: not in 1252
  EXPECT_EQ(platform::OemToAnsi("plain/name.txt"), "plain/name.txt");
}

TEST(CodePage, AnsiRoundTripsThroughUtf8) {
  EXPECT_EQ(platform::AnsiToUtf8("\x80 \xE9"), "\xE2\x82\xAC \xC3\xA9");  // euro, e acute
  EXPECT_EQ(platform::Utf8ToAnsi("\xE2\x82\xAC \xC3\xA9"), "\x80 \xE9");
  EXPECT_EQ(platform::Utf8ToAnsi("\xE4\xB8\xAD"), "?");  // CJK: not in 1252
  EXPECT_EQ(platform::Utf8ToAnsi(""), "");
}

}  // namespace
