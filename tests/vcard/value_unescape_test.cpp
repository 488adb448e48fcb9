#include "vcard/value_unescape.h"

#include <string>

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct UnescapeCase {
  const char* raw;
  bool version30;
  bool semicolons;
  bool commas;
  const char* expected;
};

const UnescapeCase kCases[] = {
    {"a\\,b\\;c\\\\d\\ne", true, true, true, "a,b;c\\d\r\ne"},
    {"a\\,b\\;c\\\\d", true, false, true, "a,b\\;c\\\\d"},
    {"a\\,b\\;c\\\\d", true, true, false, "a\\,b;c\\\\d"},
    {"a\\,b\\;c\\\\d", true, false, false, "a\\,b\\;c\\\\d"},
    {"\\N\\x\\", true, true, true, "\r\n\\x\\"},
    {"a\\,b\\n", false, true, true, "a\\,b\\n"},
    {"a\r\n b", false, true, true, "a b"},
    {"a\r\n b", true, true, true, "ab"},
    {"a\r\n  b", true, true, true, "a b"},
    {"a\rb\nc", true, true, true, "abc"},
    {"a\r\n\r\n b", true, true, true, "ab"},
    {"\\\r\n x", true, true, true, "\\x"},
    {"", true, true, true, ""},
};

TEST(ValueUnescape, Table) {
  std::string out = "stale";
  for (const UnescapeCase& c : kCases) {
    UnfoldAndUnescape(c.raw, c.version30, c.semicolons, c.commas, out);
    EXPECT_EQ(out, c.expected) << c.raw << " v30=" << c.version30;
    if (out != c.raw) {
      EXPECT_TRUE(ValueNeedsUnescape(c.raw, c.version30)) << c.raw;
    }
  }
  EXPECT_FALSE(ValueNeedsUnescape("plain text; with, marks", true));
  EXPECT_FALSE(ValueNeedsUnescape("a\\b", false));
}

}  // namespace
}  // namespace velmora
