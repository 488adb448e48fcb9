#include "vcard/multi_value.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vcard_test_support.h"

namespace velmora {
namespace {

std::u16string Joined(const std::vector<std::u16string>& list) {
  std::u16string out;
  for (std::size_t i = 0; i < list.size(); ++i) out += (i ? u"|" : u"") + list[i];
  return out;
}

TEST(MultiValue, Split) {
  const struct {
    const char16_t* text;
    bool commas;
    int min_count;
    const char16_t* expected;
    int errors;
  } cases[] = {
      {u"a;;b", false, 0, u"a||b", 0},
      {u";", false, 0, u"|", 0},
      {u"", false, 0, u"", 0},
      {u"", false, 3, u"||", 0},
      {u"a,b;c", true, 0, u"a|b|c", 0},
      {u"a,b;c", false, 0, u"a,b|c", 0},
      {u"a\\;b\\\\c", false, 0, u"a;b\\c", 0},
      {u"a\\,b", true, 0, u"a,b", 0},
      {u"a\\,b", false, 0, u"a\\,b", 1},
      {u"a\\nb", false, 0, u"a\\nb", 1},
      {u"a\\\\;b", false, 0, u"a\\|b", 0},
      {u"a\\", false, 0, u"a\\", 0},
      {u"a;b;c", false, 2, u"a|b|c", 0},
  };
  for (const auto& c : cases) {
    test::CapturedLog captured;
    std::vector<std::u16string> list{u"stale"};
    SplitMultiValue(captured.log, c.text, c.commas, c.min_count, list);
    EXPECT_EQ(Joined(list), c.expected);
    EXPECT_EQ(captured.Count("unexpected escaped sequence"), c.errors) << captured.Text();
  }
}

TEST(MultiValue, ReusedListKeepsNothingStale) {
  // A list refilled value after value: longer, shorter, then empty.
  test::CapturedLog captured;
  std::vector<std::u16string> list;
  SplitMultiValue(captured.log, u"a much longer first part;b;c;d;e", false, 0, list);
  EXPECT_EQ(Joined(list), u"a much longer first part|b|c|d|e");
  SplitMultiValue(captured.log, u"x\\;y;", false, 0, list);
  EXPECT_EQ(Joined(list), u"x;y|");
  SplitMultiValue(captured.log, u"", false, 3, list);
  EXPECT_EQ(Joined(list), u"||");
  // Runs longer than a few characters around every kind of stop.
  SplitMultiValue(captured.log, u"first run\\\\second run\\,third,fourth\\x", true, 0, list);
  EXPECT_EQ(Joined(list), u"first run\\second run,third|fourth\\x");
  EXPECT_EQ(captured.Count("unexpected escaped sequence"), 1);
}

}  // namespace
}  // namespace velmora
