#include "foundation/utf8_detect.h"

#include <string>

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(Utf8DetectTest, NeedsWellFormedMultiByteText) {
  const std::pair<std::string, bool> cases[] = {
      {"M\xc3\xbcller;J\xc3\xbcrgen", true},
      {"\xe2\x82\xac 5", true},
      {"\xf0\x9f\x98\x80", true},
      {"", false},
      {"plain ascii", false},
      {"M\xfcller", false},          // Latin-1
      {"\xc3\xbc and \xfc", false},  // UTF-8 mixed with Latin-1
      {"\xc3", false},               // truncated
      {"\xc0\xbc", false},           // overlong
      {"\xed\xa0\x80", false},       // surrogate
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(LooksLikeUtf8(bytes), utf8) << bytes;
}

}  // namespace
}  // namespace velmora
