// Automation dates: days since 1899-12-30 as a double, the time of day as the
// fraction (its absolute value for dates before 1899-12-30, as OLE does).
#pragma once

#include <cstdint>

namespace velmora {

// Calendar fields, as Windows' SYSTEMTIME holds them.
struct SystemTime {
  int year = 0;          // 100..9999
  int month = 0;         // 1..12
  int day_of_week = 0;   // 0 = Sunday; filled by conversions, ignored as input
  int day = 0;           // 1..31
  int hour = 0;          // 0..23
  int minute = 0;        // 0..59
  int second = 0;        // 0..59
  int milliseconds = 0;  // 0..999

  bool operator==(const SystemTime& o) const {
    return year == o.year && month == o.month && day == o.day && hour == o.hour &&
           minute == o.minute && second == o.second && milliseconds == o.milliseconds;
  }
};

// False for fields outside their ranges or a year outside 100..9999. A day
// past the end of its month rolls over into the next month.
bool SystemTimeToVariantTime(const SystemTime& st, double* date);
// False for dates outside 100-01-01..9999-12-31. Rounds to the millisecond.
bool VariantTimeToSystemTime(double date, SystemTime* st);

// Days since 1970-01-01 of a proleptic Gregorian date (days may overflow the
// month; they are counted on).
std::int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(std::int64_t days, int* year, int* month, int* day);

}  // namespace velmora
