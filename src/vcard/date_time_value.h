// Reading vCard date and date-time text (BDAY, REV, ANNIVERSARY, ...).
#pragma once

#include <string_view>

#include "foundation/automation_date.h"

namespace velmora {

// Reads `text` (already trimmed) into `time`:
//   date:  YYYYMMDD, or 1-4 digits "-" 0-2 digits "-" 0-2 digits (a year of
//          fewer than 4 digits gets 2000 added, missing digits count as 0);
//   then optionally "T" (or "t") and a time:
//          HHMMSS, or 0-2 digits ":" 0-2 digits ":" 0-2 digits with an
//          optional "," or "." and 1-3 digits of fraction (milliseconds);
//   then optionally "Z" (or "z"), and nothing else.
// `is_utc` tells whether "Z" was seen (also when the text fails later). False
// for other text (time-zone offsets included) and for fields out of range
// (year 0, month 1-12, day 1-31, hour 0-23, minute and second 0-59).
bool ParseDateTimeText(std::u16string_view text, SystemTime& time, bool& is_utc);

}  // namespace velmora
