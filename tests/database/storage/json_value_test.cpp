// The JSON reader and writer of the command-line tool.

#include "database/storage/json_value.h"

#include <gtest/gtest.h>

namespace database::storage {
namespace {

TEST(TJsonValue, ParsesAndWritesBackFlatAndNestedValues) {
  const char* const kTexts[] = {
      R"({"a":1,"b":"x\"y","c":[true,false,null],"d":{"e":-2.5}})",
      R"([])",
      R"({})",
      R"("\u00e9\ud83d\ude00")",
  };
  for (const char* text : kTexts) {
    const TJsonValue value = ParseJson(text);
    EXPECT_EQ(ParseJson(value.Write()).Write(), value.Write()) << text;
  }
  const TJsonValue object = ParseJson(R"( {"n": 12345678901, "f": 0.1, "s": "\u00e9\n"} )");
  EXPECT_EQ(object.Find("n")->AsInteger(), 12345678901);
  EXPECT_EQ(object.Find("f")->AsNumber(), 0.1);
  EXPECT_EQ(object.Find("s")->AsString(), "\xC3\xA9\n");
  EXPECT_EQ(object.Find("missing"), nullptr);
  EXPECT_EQ(TJsonValue::String("a\tb\x01").Write(), "\"a\\tb\\u0001\"");
  EXPECT_EQ(TJsonValue::Number(0.1).Write(), "0.1");
}

TEST(TJsonValue, RefusesMalformedTextAndWrongKinds) {
  for (const char* text :
       {"", "{", "{\"a\"}", "[1,]", "\"open", "tru", "1 2", "{\"a\":1,}", "\"\\x\"", "01x"}) {
    EXPECT_THROW(ParseJson(text), EJsonError) << text;
  }
  EXPECT_THROW(ParseJson(std::string(100, '[') + std::string(100, ']')), EJsonError);  // too deep
  EXPECT_THROW(ParseJson("1.5").AsInteger(), EJsonError);
  EXPECT_THROW(ParseJson("\"x\"").AsNumber(), EJsonError);
}

}  // namespace
}  // namespace database::storage
