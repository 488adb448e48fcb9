#include "foundation/automation_date.h"

#include <cmath>

namespace velmora {
namespace {

constexpr std::int64_t kMillisPerDay = 86400000;
// 1899-12-30, day 0 of automation dates, counted from 1970-01-01.
constexpr std::int64_t kEpochOffsetDays = -25569;

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

}  // namespace

// Howard Hinnant's days_from_civil: exact for the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(int year, int month, int day) {
  std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (month + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t days, int* year, int* month, int* day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t doe = days - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
  *month = m;
  *day = d;
}

bool SystemTimeToVariantTime(const SystemTime& st, double* date) {
  if (!InRange(st.year, 100, 9999) || !InRange(st.month, 1, 12) || !InRange(st.day, 1, 31) ||
      !InRange(st.hour, 0, 23) || !InRange(st.minute, 0, 59) || !InRange(st.second, 0, 59) ||
      !InRange(st.milliseconds, 0, 999)) {
    return false;
  }
  const std::int64_t days = DaysFromCivil(st.year, st.month, st.day) - kEpochOffsetDays;
  const double time =
      (((st.hour * 60.0 + st.minute) * 60.0 + st.second) * 1000.0 + st.milliseconds) /
      static_cast<double>(kMillisPerDay);
  // Before day 0 the fraction still counts forward from midnight.
  *date = days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
  return true;
}

bool VariantTimeToSystemTime(double date, SystemTime* st) {
  // 100-01-01 .. 9999-12-31, the range automation dates are defined for.
  if (!(date > -657435.0 && date < 2958466.0)) return false;
  std::int64_t days = static_cast<std::int64_t>(date);  // toward zero
  std::int64_t millis = std::llround(std::fabs(date - static_cast<double>(days)) *
                                     static_cast<double>(kMillisPerDay));
  if (millis >= kMillisPerDay) {
    // A fraction that rounds up to midnight belongs to the next day.
    millis -= kMillisPerDay;
    days += date >= 0 ? 1 : -1;
  }
  const std::int64_t unix_days = days + kEpochOffsetDays;
  CivilFromDays(unix_days, &st->year, &st->month, &st->day);
  st->day_of_week = static_cast<int>(((unix_days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  st->hour = static_cast<int>(millis / 3600000);
  st->minute = static_cast<int>(millis / 60000 % 60);
  st->second = static_cast<int>(millis / 1000 % 60);
  st->milliseconds = static_cast<int>(millis % 1000);
  return st->year >= 100 && st->year <= 9999;
}

}  // namespace velmora
