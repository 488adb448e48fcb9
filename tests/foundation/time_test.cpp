#include <gtest/gtest.h>

#include "foundation/automation_date.h"
#include "foundation/time_zone.h"
#include "support/test_env.h"

namespace velmora {
namespace {

SystemTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  SystemTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
  t.milliseconds = ms;
  return t;
}

// Reference values: the OLE automation date definition (1899-12-30 is 0,
// fractions are the time of day, counted forward also before day 0).
TEST(AutomationDateTest, ConvertsBothWays) {
  const std::pair<SystemTime, double> cases[] = {
      {At(1899, 12, 30), 0.0},       {At(1900, 1, 1), 2.0},
      {At(1899, 12, 29, 6), -1.25},  {At(1899, 12, 28, 18), -2.75},
      {At(2000, 1, 1, 12), 36526.5}, {At(4500, 1, 1), 949633.0},
      {At(4501, 1, 1), 949998.0},    {At(2024, 2, 29, 23, 59, 59), 45351.0 + 86399.0 / 86400.0},
      {At(100, 1, 1), -657434.0},    {At(9999, 12, 31), 2958465.0},
  };
  for (const auto& [st, date] : cases) {
    double out = -1;
    ASSERT_TRUE(SystemTimeToVariantTime(st, &out)) << date;
    EXPECT_DOUBLE_EQ(out, date);
    SystemTime back;
    ASSERT_TRUE(VariantTimeToSystemTime(date, &back)) << date;
    EXPECT_EQ(back, st) << date;
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

// Europe/Berlin: CET (+1), CEST (+2) from 2024-03-31 02:00 to 2024-10-27 03:00.
TEST(TimeZoneTest, LocalAndUtcAcrossDaylightSaving) {
  struct Case {
    SystemTime local, utc;
  };
  const Case cases[] = {
      {At(2024, 1, 15, 12), At(2024, 1, 15, 11)},
      {At(2024, 7, 15, 12), At(2024, 7, 15, 10)},
      {At(2024, 3, 31, 1, 59, 59), At(2024, 3, 31, 0, 59, 59)},
      {At(2024, 3, 31, 3), At(2024, 3, 31, 1)},
      {At(2024, 10, 27, 1, 30), At(2024, 10, 26, 23, 30)},
      {At(2024, 10, 27, 3, 30), At(2024, 10, 27, 2, 30)},
      {At(2024, 1, 1, 0, 30), At(2023, 12, 31, 23, 30)},
  };
  for (const auto& c : cases) {
    SystemTime out;
    ASSERT_EQ(timezone::LocalToUtc(c.local, &out), S_OK);
    EXPECT_EQ(out, c.utc) << c.local.month << "/" << c.local.day << " " << c.local.hour;
    ASSERT_EQ(timezone::UtcToLocal(c.utc, &out), S_OK);
    EXPECT_EQ(out, c.local);
  }
  // The repeated hour reads as its first (summer-time) instant.
  SystemTime out;
  ASSERT_EQ(timezone::LocalToUtc(At(2024, 10, 27, 2, 30), &out), S_OK);
  EXPECT_EQ(out, At(2024, 10, 27, 0, 30));
  EXPECT_EQ(timezone::LocalToUtc(At(2024, 2, 30, 25), &out), E_INVALIDARG);
}

TEST(TimeZoneTest, FollowsTheConfiguredZone) {
  test::ScopedSettings settings;
  settings.TimeZone("Asia/Tokyo");
  SystemTime out;
  ASSERT_EQ(timezone::LocalToUtc(At(2024, 7, 1, 9), &out), S_OK);
  EXPECT_EQ(out, At(2024, 7, 1, 0));
}

// US Pacific: PST (-8), PDT (-7) from 2024-03-10 02:00 to 2024-11-03 02:00.
TEST(TimeZoneTest, PacificToUtc) {
  const std::pair<SystemTime, SystemTime> cases[] = {
      {At(2024, 1, 2, 3, 4, 5), At(2024, 1, 2, 11, 4, 5)},
      {At(2024, 7, 4, 12), At(2024, 7, 4, 19)},
      {At(2024, 3, 10, 1, 59), At(2024, 3, 10, 9, 59)},
      {At(2024, 3, 10, 3), At(2024, 3, 10, 10)},
      {At(2006, 4, 1, 12), At(2006, 4, 1, 20)},  // before 2007 DST began in April
  };
  for (const auto& [pacific, utc] : cases) {
    SystemTime out;
    ASSERT_EQ(timezone::PacificToUtc(pacific, &out), S_OK);
    EXPECT_EQ(out, utc);
  }
}

}  // namespace
}  // namespace velmora
