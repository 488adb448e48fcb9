#include "spreadsheet/excel_date.h"

#include <cmath>
#include <cstdint>

#include "foundation/automation_date.h"

namespace velmora::spreadsheet {
namespace {

constexpr double kLastDay1900 = 2958465;  // 9999-12-31
constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of each epoch's day 0 (1899-12-31 counting the
// phantom 29th of February, and 1904-01-01).
std::int64_t EpochDays(DateSystem system) {
  return system == DateSystem::k1904 ? DaysFromCivil(1904, 1, 1) : DaysFromCivil(1899, 12, 31);
}

double LastDay(DateSystem system) {
  return system == DateSystem::k1904 ? kLastDay1900 - 1462 : kLastDay1900;
}

}  // namespace

bool UnpackDateNumber(double value, DateSystem system, DateParts* parts) {
  if (!std::isfinite(value) || value < 0 || value >= LastDay(system) + 1) return false;
  std::int64_t days = static_cast<std::int64_t>(std::floor(value));
  std::int64_t seconds = std::llround((value - static_cast<double>(days)) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    ++days;
    seconds -= kSecondsPerDay;
  }
  if (static_cast<double>(days) > LastDay(system)) return false;
  DateParts out;
  out.hour = static_cast<int>(seconds / 3600);
  out.minute = static_cast<int>(seconds / 60 % 60);
  out.second = static_cast<int>(seconds % 60);
  if (days > 0) {
    if (system == DateSystem::k1900 && days == 60) {
      out.year = 1900, out.month = 2, out.day = 29;
    } else {
      // Past the phantom day the 1900 count runs one ahead of the calendar.
      const std::int64_t calendar_days = system == DateSystem::k1900 && days > 60 ? days - 1 : days;
      CivilFromDays(EpochDays(system) + calendar_days, &out.year, &out.month, &out.day);
    }
  }
  *parts = out;
  return true;
}

bool PackDateNumber(const DateParts& parts, DateSystem system, double* value) {
  if (parts.hour < 0 || parts.hour > 23 || parts.minute < 0 || parts.minute > 59 ||
      parts.second < 0 || parts.second > 59) {
    return false;
  }
  const double time =
      static_cast<double>(parts.hour * 3600 + parts.minute * 60 + parts.second) / kSecondsPerDay;
  if (parts.year == 0 && parts.month == 0 && parts.day == 0) {
    *value = time;
    return true;
  }
  if (parts.month < 1 || parts.month > 12 || parts.day < 1 || parts.day > 31 || parts.year < 1900 ||
      parts.year > 9999) {
    return false;
  }
  std::int64_t days;
  if (system == DateSystem::k1900 && parts.year == 1900 && parts.month == 2 && parts.day == 29) {
    days = 60;
  } else {
    const std::int64_t civil = DaysFromCivil(parts.year, parts.month, parts.day);
    int y = 0, m = 0, d = 0;
    CivilFromDays(civil, &y, &m, &d);
    // A day past the end of its month (the 31st of April) is no date.
    if (y != parts.year || m != parts.month || d != parts.day) return false;
    days = civil - EpochDays(system);
    if (system == DateSystem::k1900 && days >= 60) ++days;
  }
  if (days < (system == DateSystem::k1900 ? 1 : 0) || static_cast<double>(days) > LastDay(system)) {
    return false;
  }
  *value = static_cast<double>(days) + time;
  return true;
}

}  // namespace velmora::spreadsheet
