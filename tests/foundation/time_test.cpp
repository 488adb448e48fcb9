#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "foundation/automation_date.h"
#include "foundation/time_zone.h"
#include "support/case_file.h"
#include "support/test_env.h"

namespace velmora {
namespace {

SystemTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return SystemTime{y, mo, 0, d, h, mi, s, ms};
}

SystemTime Parse(const std::string& text) {
  SystemTime t;
  EXPECT_EQ(std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour,
                        &t.minute, &t.second),
            6)
      << text;
  return t;
}

TEST(TimeTest, Cases) {
  for (const test::FileCase& c : test::ReadCases("foundation/data/times.txt")) {
    SCOPED_TRACE(c.name);
    SystemTime out;
    if (c.Has("date")) {
      const SystemTime st = Parse(c["time"]);
      const double date = std::stod(c["date"]);
      double converted = -1;
      ASSERT_TRUE(SystemTimeToVariantTime(st, &converted));
      EXPECT_DOUBLE_EQ(converted, date);
      ASSERT_TRUE(VariantTimeToSystemTime(date, &out));
      EXPECT_EQ(out, st);
    } else if (c.Has("local")) {
      ASSERT_EQ(timezone::LocalToUtc(Parse(c["local"]), &out), S_OK);
      EXPECT_EQ(out, Parse(c["utc"]));
      ASSERT_EQ(timezone::UtcToLocal(Parse(c["utc"]), &out), S_OK);
      EXPECT_EQ(out, Parse(c["local"]));
    } else {
      ASSERT_EQ(timezone::PacificToUtc(Parse(c["pacific"]), &out), S_OK);
      EXPECT_EQ(out, Parse(c["utc"]));
    }
  }
}

TEST(AutomationDateTest, RejectsWhatIsNotADate) {
  double out;
  EXPECT_FALSE(SystemTimeToVariantTime(At(99, 12, 31), &out));
  EXPECT_FALSE(SystemTimeToVariantTime(At(2024, 13, 1), &out));
  EXPECT_FALSE(SystemTimeToVariantTime(At(2024, 1, 32), &out));
  EXPECT_FALSE(SystemTimeToVariantTime(At(2024, 1, 1, 24), &out));
  SystemTime st;
  EXPECT_FALSE(VariantTimeToSystemTime(3e6, &st));
  EXPECT_FALSE(VariantTimeToSystemTime(-7e5, &st));
  // 30 February rolls over into March.
  ASSERT_TRUE(SystemTimeToVariantTime(At(2023, 2, 30), &out));
  ASSERT_TRUE(VariantTimeToSystemTime(out, &st));
  EXPECT_EQ(st, At(2023, 3, 2));
  // A fraction a hair below midnight rounds into the next day.
  ASSERT_TRUE(VariantTimeToSystemTime(1.0 - 1e-10, &st));
  EXPECT_EQ(st, At(1899, 12, 31));
}

TEST(TimeZoneTest, RepeatedAndInvalidLocalTimes) {
  // The repeated hour reads as its first (summer-time) instant.
  SystemTime out;
  ASSERT_EQ(timezone::LocalToUtc(At(2024, 10, 27, 2, 30), &out), S_OK);
  EXPECT_EQ(out, At(2024, 10, 27, 0, 30));
  EXPECT_EQ(timezone::LocalToUtc(At(2024, 2, 30, 25), &out), E_INVALIDARG);
}

}  // namespace
}  // namespace velmora
