// Date numbers of spreadsheets: whole days since the workbook's epoch, the
// time of day as the fraction. Two epochs exist. In the 1900 system day 1
// is 1900-01-01 and day 60 the 29th of February 1900, a day that never was
// but that every spreadsheet keeps so that later numbers stay as the first
// spreadsheet programs wrote them. In the 1904 system (old Macintosh files)
// day 0 is 1904-01-01.
#pragma once

namespace velmora::spreadsheet {

enum class DateSystem { k1900, k1904 };

// The fields of an unpacked date number. A number below 1 is a time of day
// alone: year, month and day are then 0.
struct DateParts {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const DateParts&) const = default;
};

// Unpacks `value`, the time rounded to the nearest second. False for a
// negative or non-finite number and for one past 9999-12-31.
bool UnpackDateNumber(double value, DateSystem system, DateParts* parts);

// The number of a date and time; year, month and day all 0 give a time of
// day alone. False for fields out of range or a date outside the system
// (before its first day, after 9999-12-31).
bool PackDateNumber(const DateParts& parts, DateSystem system, double* value);

}  // namespace velmora::spreadsheet
