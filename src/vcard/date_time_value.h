// Reading vCard date and date-time text (BDAY, REV, ANNIVERSARY, ...).
#pragma once

#include <optional>
#include <string_view>

#include "foundation/automation_date.h"

namespace velmora::vcard {

// The year address books give a date whose year is not known ("--0615").
inline constexpr int kYearUnknown = 1604;

// Reads `text` (already trimmed) into `time`:
//   date:  YYYYMMDD, or 1-4 digits "-" 0-2 digits "-" 0-2 digits (a year of
//          fewer than 4 digits gets 2000 added, missing digits count as 0),
//          or a date without year, "--MMDD" or "--MM-DD" (year kYearUnknown);
//   then optionally "T" (or "t") and a time:
//          HHMMSS, or 0-2 digits ":" 0-2 digits ":" 0-2 digits with an
//          optional "," or "." and 1-3 digits of fraction (milliseconds);
//   then optionally "Z" (or "z") or, when `utc_offset_minutes` is given, a
//          zone offset ("+02:00", "-0500", "+01"), and nothing else.
// `time` holds the fields as written. `is_utc` tells whether "Z" was seen
// (also when the text fails later); `utc_offset_minutes` receives the offset
// (minutes east of UTC) when there was one. False for other text and for
// fields out of range (year 0, month 1-12, day 1-31, hour 0-23, minute and
// second 0-59).
bool ParseDateTimeText(std::u16string_view text, SystemTime& time, bool& is_utc,
                       std::optional<int>* utc_offset_minutes = nullptr);

}  // namespace velmora::vcard
