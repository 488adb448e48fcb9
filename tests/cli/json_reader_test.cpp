// The JSON checker itself: the command tests rely on it to reject output
// that is not well-formed JSON.
#include "json_reader.h"

#include <gtest/gtest.h>

namespace velmora::clitest {
namespace {

TEST(JsonReaderTest, ReadsNestedValues) {
  std::string error;
  const auto value =
      ParseJson(R"( {"a":[1,-2.5e1,true,null],"b":{"c":"x\u00e9\ud83d\ude00\n"}} )", &error);
  ASSERT_TRUE(value.has_value()) << error;
  EXPECT_EQ((*value)["a"].size(), 4u);
  EXPECT_EQ((*value)["a"][1].number, -25.0);
  EXPECT_TRUE((*value)["a"][2].boolean);
  EXPECT_EQ((*value)["a"][3].kind, JsonValue::Kind::kNull);
  EXPECT_EQ((*value)["b"]["c"].string, "x\xC3\xA9\xF0\x9F\x98\x80\n");
  EXPECT_EQ((*value)["missing"].kind, JsonValue::Kind::kNull);
}

TEST(JsonReaderTest, RejectsMalformedText) {
  const char* const kBad[] = {
      "",           "{",          "[1,]",         "{\"a\":1,}",    "{\"a\" 1}",
      "{'a':1}",    "[01]",       "[1.]",         "\"a\nb\"",      "\"\\x\"",
      "tru",        "{} {}",      "{\"a\":1,\"a\":2}", "[\"\\ud800\"]", "NaN",
  };
  for (const char* text : kBad) {
    std::string error;
    EXPECT_FALSE(ParseJson(text, &error).has_value()) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

}  // namespace
}  // namespace velmora::clitest
