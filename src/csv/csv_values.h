// Reading CSV cell values: Outlook and Google dates, booleans and the
// contact enumerations in the words of an Outlook locale (English without
// one), and converting a date cell between dialects.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <velmora/enums.h>
#include <velmora/status.h>

#include "csv/outlook_csv_locale.h"
#include "foundation/log.h"

namespace velmora::csv {

// "m/d/y" or "d.m.y" (white space around ignored). True with the date, or
// with 0 (no date) for an empty text, "0/0/0" (either separator) or a lone
// 0. False for anything else, a date that does not exist (31 February)
// included, logged as a warning when `log_invalid` is set.
bool OutlookStr2Date(CLog& log, std::u16string_view text, bool log_invalid, double* date);

// Google's "yyyy-mm-dd" dates of a multi-value cell ("--mm-dd" without a
// year), up to `limit` of them
// (0: all); dates that stand for "none" are left out. False when no part
// was a date and at least one was invalid (logged when `log_invalid`); an
// empty text gives true and no dates.
bool GoogleStr2Dates(CLog& log, std::u16string_view text, bool log_invalid, std::size_t limit,
                     std::vector<double>* dates);

// The words of `locale` (null: "True"/"False", "Male"/"Female"/
// "Unspecified", "Normal"/"Personal"/"Private"/"Confidential"), ASCII case
// ignored. An empty text gives false, vlmcgUnspecified, vlmcsNormal; an
// unknown word is logged and gives false.
bool Str2Bool(CLog& log, std::u16string_view text, const COutlookCsvLocale* locale, bool* value);
bool Str2Gender(CLog& log, std::u16string_view text, const COutlookCsvLocale* locale,
                EContactGender* value);
bool Str2Sensitivity(CLog& log, std::u16string_view text, const COutlookCsvLocale* locale,
                     EContactSensitivity* value);

// The text of a date cell: Google "yyyy-mm-dd", the other dialects
// "mm/dd/yyyy"; empty for no date.
std::u16string CsvDateText(double date, bool google);
// The text of a date cell in Google's later layout: "yyyy-mm-dd", or
// "--mm-dd" for a date without a year; empty for no date.
std::u16string Google2DateText(double date);

// A date cell of dialect `from` as dialect `to` writes it: Google
// "yyyy-mm-dd" (Google2 "--mm-dd" without a year), the others
// "mm/dd/yyyy"; empty for no date. Unchanged,
// without `force`, between equal dialects and within the Outlook family.
// False when the text is no date.
bool ConvertCsvDate(CLog& log, ECsvType from, std::u16string_view text, ECsvType to, bool force,
                    std::u16string* converted);

}  // namespace velmora::csv
