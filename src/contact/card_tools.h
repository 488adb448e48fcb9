// Small shared operations on contact data: date and time text, image type
// detection, trimming, address emptiness and the sensitivity words. Tools
// that can fail take the log and report under a "CardTools." label; none
// throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "contact/contact_enums.h"
#include "contact/contact_list_items.h"
#include "foundation/automation_date.h"
#include "foundation/log.h"

namespace velmora::contact {

// A date-time as vCard text: "YYYYMMDDTHHMMSS" when compact, else
// "YYYY-MM-DDTHH:MM:SS", followed by "Z" when UTC is wanted. The time is
// converted local -> UTC (not UTC, UTC wanted) or UTC -> local (UTC, not
// wanted) under the local zone first; a failed conversion is logged and
// gives empty text. The text is ASCII.
std::string DateTime2Str(CLog& log, const SystemTime& time, bool time_is_utc, bool want_utc,
                         bool compact);
// The same for an automation date; a date outside the calendar is logged and
// gives empty text.
std::string DateTime2Str(CLog& log, double time, bool time_is_utc, bool want_utc, bool compact);

// The date part of an automation date: "YYYYMMDD" when compact, else
// "YYYY-MM-DD"; no time-zone conversion. Empty for a date outside the
// calendar.
std::string Date2Str(double date, bool compact);

// The image type word of picture bytes by their signature ("BMP", "JPG",
// "GIF", "TIF", "PNG"), or empty text; an unknown signature is logged as a
// warning when a log is given.
std::u16string DetectPhotoExt(const std::uint8_t* bytes, std::size_t length, CLog* log);

// `bytes` without leading and trailing space, TAB, CR and LF. No bytes or a
// length below 1 gives empty text and a detail line.
std::string TrimStringA(CLog& log, const char* bytes, std::int64_t length);

// True when the seven components of the address joined give no text.
bool IsAddressEmpty(const ContactAddress& address);

// "CONFIDENTIAL" 3, "PRIVATE" 2 (without case), anything else 0.
EContactSensitivity SensitivityFromWord(std::u16string_view word);
// 3 "CONFIDENTIAL", 2 "PRIVATE", otherwise empty.
std::u16string_view SensitivityToWord(EContactSensitivity sensitivity);

}  // namespace velmora::contact
