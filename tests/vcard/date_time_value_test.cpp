#include "vcard/date_time_value.h"

#include <cstdio>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "support/case_file.h"
#include "support/test_env.h"

namespace velmora::vcard {
namespace {

TEST(DateTimeValue, Table) {
  for (const test::FileCase& c : test::ReadCases("vcard/data/date_texts.txt")) {
    SCOPED_TRACE(c.name);
    const std::u16string text = test::U16(c["text"]);
    SystemTime t;
    // Both outputs start opposite to what the case expects: each must be set.
    bool utc = !c.Has("utc");
    std::optional<int> offset = c.Has("offset") ? std::nullopt : std::optional<int>(1);
    const bool ok = ParseDateTimeText(text, t, utc, &offset);
    EXPECT_EQ(utc, c.Has("utc"));
    char read[32] = "invalid";
    if (ok) {
      std::snprintf(read, sizeof read, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                    t.hour, t.minute, t.second, t.milliseconds);
      EXPECT_EQ(offset, c.Has("offset") ? std::optional<int>(c.Number("offset")) : std::nullopt);
      // Callers that cannot place an offset do not get one.
      bool ignored = false;
      EXPECT_EQ(ParseDateTimeText(text, t, ignored), !c.Has("offset"));
    }
    EXPECT_EQ(read, c["expect"]);
  }
}

}  // namespace
}  // namespace velmora::vcard
