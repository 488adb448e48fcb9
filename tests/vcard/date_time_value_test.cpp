#include "vcard/date_time_value.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr int kNone = 9999;

struct DateTextCase {
  const char16_t* text;
  bool ok;
  bool utc;
  int y, mo, d, h, mi, s, ms;
  int offset = kNone;  // minutes east of UTC
};

const DateTextCase kCases[] = {
    {u"19800615", true, false, 1980, 6, 15, 0, 0, 0, 0},
    {u"1980-06-15", true, false, 1980, 6, 15, 0, 0, 0, 0},
    {u"1980-6-5", true, false, 1980, 6, 5, 0, 0, 0, 0},
    {u"95-01-02", true, false, 2095, 1, 2, 0, 0, 0, 0},
    {u"5-1-2", true, false, 2005, 1, 2, 0, 0, 0, 0},
    {u"1980-02-31", true, false, 1980, 2, 31, 0, 0, 0, 0},
    {u"19800615T103000", true, false, 1980, 6, 15, 10, 30, 0, 0},
    {u"19800615T103000Z", true, true, 1980, 6, 15, 10, 30, 0, 0},
    {u"1980-06-15T10:30:00z", true, true, 1980, 6, 15, 10, 30, 0, 0},
    {u"1980-06-15t1:2:3", true, false, 1980, 6, 15, 1, 2, 3, 0},
    {u"1980-06-15T10:30:00.5", true, false, 1980, 6, 15, 10, 30, 0, 500},
    {u"1980-06-15T10:30:00,05", true, false, 1980, 6, 15, 10, 30, 0, 50},
    {u"1980-06-15T10:30:00.123Z", true, true, 1980, 6, 15, 10, 30, 0, 123},
    {u"1980-06-15T::", true, false, 1980, 6, 15, 0, 0, 0, 0},
    // Without a year: the placeholder year.
    {u"--0615", true, false, 1604, 6, 15, 0, 0, 0, 0},
    {u"--06-15", true, false, 1604, 6, 15, 0, 0, 0, 0},
    {u"--6-5", true, false, 1604, 6, 5, 0, 0, 0, 0},
    {u"--061", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"--06", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"-0615", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"--1315", false, false, 0, 0, 0, 0, 0, 0, 0},
    // Zone offsets, the fields as written.
    {u"1980-06-15T10:00:00+02:00", true, false, 1980, 6, 15, 10, 0, 0, 0, 120},
    {u"19800615T100000-0530", true, false, 1980, 6, 15, 10, 0, 0, 0, -330},
    {u"1980-06-15T10:00:00+01", true, false, 1980, 6, 15, 10, 0, 0, 0, 60},
    {u"1980-06-15T10:00:00+2:00", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"1980-06-15T10:00:00+02:60", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"1980-06-15T10:00:00+02:00Z", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"1980-06-15+02:00", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"1980-06-15T10:00:00Z+", false, true, 0, 0, 0, 0, 0, 0, 0},
    {u"1980-06-15T10:00:00.1234", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"1980-06-15T10:00:00.", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"1980-06-15T10:00", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"1980-06-15T", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"19800615Z", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"1980061", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"198006150", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"19801315", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"19800600", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"19800632", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"0000-01-01", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"1980--", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"19800615T240000", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"19800615T236000Z", false, true, 0, 0, 0, 0, 0, 0, 0},
    {u"19800615T235960", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"1980-06-15T123:00:00", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"", false, false, 0, 0, 0, 0, 0, 0, 0},
    {u"\uFF11980-06-15", false, false, 0, 0, 0, 0, 0, 0, 0},  // only ASCII digits
};

TEST(DateTimeValue, Table) {
  for (const DateTextCase& c : kCases) {
    SystemTime t;
    bool utc = !c.utc;
    std::optional<int> offset = 1;
    const std::u16string_view text(c.text);
    ASSERT_EQ(ParseDateTimeText(text, t, utc, &offset), c.ok)
        << std::string(text.begin(), text.end());
    EXPECT_EQ(utc, c.utc) << std::string(text.begin(), text.end());
    if (!c.ok) continue;
    EXPECT_EQ(offset.value_or(kNone), c.offset);
    // Callers that cannot place an offset do not get one.
    bool ignored = false;
    EXPECT_EQ(ParseDateTimeText(text, t, ignored), c.offset == kNone);
    EXPECT_EQ(t.year, c.y);
    EXPECT_EQ(t.month, c.mo);
    EXPECT_EQ(t.day, c.d);
    EXPECT_EQ(t.hour, c.h);
    EXPECT_EQ(t.minute, c.mi);
    EXPECT_EQ(t.second, c.s);
    EXPECT_EQ(t.milliseconds, c.ms);
  }
}

}  // namespace
}  // namespace velmora
