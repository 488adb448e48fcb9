// The operating-system settings the system depends on: the ANSI code page,
// the user's list separator and the local time zone.
//
// Each is read from the environment once and can be overridden, so that tests
// and embedding applications get deterministic behaviour:
//   VELMORA_ANSI_CODEPAGE   e.g. "1251"; else derived from the POSIX locale
//   VELMORA_VCARD21_CODEPAGE e.g. "1251": the code page of 8-bit vCard 2.1
//                           values that name no charset, instead of the
//                           UTF-8 test and the ANSI code page; else none
//   VELMORA_LIST_SEPARATOR  e.g. ";";    else ";" where the locale's decimal
//                                         separator is a comma, else ","
//   TZ                      the standard time-zone variable (else the system's)
#pragma once

#include <string>
#include <string_view>

namespace velmora::settings {

int AnsiCodePage();
// The user's choice for 2.1 values without CHARSET; 0 when none was made.
int Vcard21CodePage();
std::u16string ListSeparator();
// ICU/Olson identifier of the local zone, e.g. "Europe/Berlin".
std::string TimeZoneId();

// Overrides for this process; an empty override (or 0) restores the value
// read from the environment.
void OverrideAnsiCodePage(int code_page);
void OverrideVcard21CodePage(int code_page);
void OverrideListSeparator(std::u16string_view separator);
void OverrideTimeZone(std::string_view zone_id);

// The ANSI code page Windows assigns to a POSIX locale name such as
// "ru_RU.UTF-8" or "zh_TW" (1252 for "C", "POSIX" and unknown languages).
int AnsiCodePageForLocale(std::string_view posix_locale);

// The list separator for a POSIX locale name: ";" when its decimal separator
// is a comma, else ",".
std::u16string ListSeparatorForLocale(std::string_view posix_locale);

}  // namespace velmora::settings
