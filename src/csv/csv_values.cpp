#include "csv/csv_values.h"

#include <array>
#include <cstdio>
#include <string>

#include "contact/contact_record.h"
#include "csv/google_mvalue.h"
#include "foundation/automation_date.h"
#include "foundation/text_util.h"
#include "vcard/date_time_value.h"

namespace velmora::csv {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A date from calendar fields that exist as given (no rolling over).
bool DateOf(int year, int month, int day, double* date) {
  SystemTime st;
  st.year = year;
  st.month = month;
  st.day = day;
  SystemTime back;
  return SystemTimeToVariantTime(st, date) && VariantTimeToSystemTime(*date, &back) &&
         back.year == year && back.month == month && back.day == day;
}

// Google's "yyyy-mm-dd", or "--mm-dd" for a date without a year (given
// the year address books use for that); an empty text is no date. False
// when invalid.
bool GoogleDate(std::u16string_view text, double* date) {
  *date = 0;
  if (text.empty()) return true;
  const bool no_year = text.size() == 7 && text.substr(0, 2) == u"--";
  std::u16string full;
  if (no_year) {
    full = text::AsciiToUtf16(std::to_string(vcard::kYearUnknown));
    full.append(text.substr(1));
    text = full;
  }
  if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') return false;
  int fields[3] = {0, 0, 0};
  const std::size_t starts[3] = {0, 5, 8};
  const std::size_t lengths[3] = {4, 2, 2};
  for (int f = 0; f < 3; ++f) {
    for (std::size_t i = starts[f]; i < starts[f] + lengths[f]; ++i) {
      if (!IsDigit(text[i])) return false;
      fields[f] = fields[f] * 10 + (text[i] - u'0');
    }
  }
  if (!DateOf(fields[0], fields[1], fields[2], date)) return false;
  if (contact::IsEmptyDate(*date)) *date = 0;
  return true;
}

// Finds `text` among `words` (ASCII case ignored); -1 when absent.
template <std::size_t N>
int FindWord(std::u16string_view text, const std::array<std::u16string, N>& words) {
  for (std::size_t i = 0; i < N; ++i) {
    if (text::EqualsAsciiNoCase(text, std::u16string_view(words[i]))) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

bool OutlookStr2Date(CLog& log, std::u16string_view text, bool log_invalid, double* date) {
  *date = 0;
  const std::u16string_view trimmed = text::Trim(text);
  if (trimmed.empty()) return true;
  char16_t separator = 0;
  std::array<long long, 3> parts = {0, 0, 0};
  std::array<int, 3> digits = {0, 0, 0};
  int part = 0;
  bool valid = true;
  for (const char16_t c : trimmed) {
    if (IsDigit(c)) {
      if (++digits[part] > 9) valid = false;
      parts[part] = parts[part] * 10 + (c - u'0');
    } else if ((c == u'/' || c == u'.') && (separator == 0 || separator == c) && part < 2) {
      separator = c;
      ++part;
    } else {
      valid = false;
      break;
    }
  }
  if (valid && part == 0) {
    // A lone number: only 0 stands for "no date".
    if (parts[0] == 0) return true;
    valid = false;
  }
  if (valid && (part != 2 || digits[0] == 0 || digits[1] == 0 || digits[2] == 0)) valid = false;
  if (valid && parts[0] == 0 && parts[1] == 0 && parts[2] == 0) return true;
  if (valid) {
    const bool month_first = separator == u'/';
    const long long month = month_first ? parts[0] : parts[1];
    const long long day = month_first ? parts[1] : parts[0];
    valid =
        month >= 1 && day >= 1 && parts[2] >= 1 && month <= 12 && day <= 31 && parts[2] <= 9999 &&
        DateOf(static_cast<int>(parts[2]), static_cast<int>(month), static_cast<int>(day), date);
  }
  if (!valid) {
    *date = 0;
    if (log_invalid) log.LogWarning("CCsv.OutlookStr2Date", 0, "Invalid date(%s)", text);
  }
  return valid;
}

bool GoogleStr2Dates(CLog& log, std::u16string_view text, bool log_invalid, std::size_t limit,
                     std::vector<double>* dates) {
  dates->clear();
  std::vector<std::u16string> parts;
  DecodeGoogleMValue(log, text, parts, false);
  int invalid = 0;
  for (const std::u16string& part : parts) {
    double date = 0;
    if (!GoogleDate(text::Trim(part), &date)) {
      ++invalid;
      continue;
    }
    if (date != 0 && (limit == 0 || dates->size() < limit)) dates->push_back(date);
  }
  if (invalid > 0 && log_invalid) {
    log.LogWarning("CCsv.GoogleStr2Dates", 0, "Invalid %d date(s) in:\n%s", invalid, text);
  }
  return dates->size() > 0 || invalid == 0;
}

bool Str2Bool(CLog& log, std::u16string_view text, const COutlookCsvLocale* locale, bool* value) {
  *value = false;
  const std::u16string_view trimmed = text::Trim(text);
  if (trimmed.empty()) return true;
  const std::array<std::u16string, 2> words = {
      locale != nullptr ? locale->PrivateValue(true) : u"True",
      locale != nullptr ? locale->PrivateValue(false) : u"False"};
  const int found = FindWord(trimmed, words);
  if (found < 0) {
    log.LogWarning("CCsv.Str2Bool", 0, "Invalid value(%s)", text);
    return false;
  }
  *value = found == 0;
  return true;
}

bool Str2Gender(CLog& log, std::u16string_view text, const COutlookCsvLocale* locale,
                EContactGender* value) {
  *value = vlmcgUnspecified;
  const std::u16string_view trimmed = text::Trim(text);
  if (trimmed.empty()) return true;
  static constexpr EContactGender kOrder[] = {vlmcgMale, vlmcgFemale, vlmcgUnspecified};
  const std::array<std::u16string, 3> words = {
      locale != nullptr ? locale->GenderValue(vlmcgMale) : u"Male",
      locale != nullptr ? locale->GenderValue(vlmcgFemale) : u"Female",
      locale != nullptr ? locale->GenderValue(vlmcgUnspecified) : u"Unspecified"};
  const int found = FindWord(trimmed, words);
  if (found < 0) {
    log.LogWarning("CCsv.Str2Gender", 0, "Invalid gender(%s)", text);
    return false;
  }
  *value = kOrder[found];
  return true;
}

bool Str2Sensitivity(CLog& log, std::u16string_view text, const COutlookCsvLocale* locale,
                     EContactSensitivity* value) {
  *value = vlmcsNormal;
  const std::u16string_view trimmed = text::Trim(text);
  if (trimmed.empty()) return true;
  static constexpr const char16_t* kEnglish[] = {u"Normal", u"Personal", u"Private",
                                                 u"Confidential"};
  std::array<std::u16string, 4> words;
  for (int i = 0; i < 4; ++i)
    words[i] = locale != nullptr ? locale->SensitivityValue(i) : kEnglish[i];
  const int found = FindWord(trimmed, words);
  if (found < 0) {
    log.LogWarning("CCsv.Str2Sensitivity", 0, "Invalid value(%s)", text);
    return false;
  }
  *value = static_cast<EContactSensitivity>(found);
  return true;
}

bool ConvertCsvDate(CLog& log, ECsvType from, std::u16string_view text, ECsvType to, bool force,
                    std::u16string* converted) {
  auto outlook_family = [](ECsvType t) {
    return t == vlmcsvOutlook || t == vlmcsvOutlook365v1 || t == vlmcsvOutlook365v2;
  };
  if (!force && (from == to || (outlook_family(from) && outlook_family(to)))) {
    *converted = text;
    return true;
  }
  converted->clear();
  double date = 0;
  bool parsed = false;
  if (from == vlmcsvGoogle || from == vlmcsvGoogle2) {
    parsed = GoogleDate(text::Trim(text), &date);
  } else {
    parsed = OutlookStr2Date(log, text, false, &date);
    if (!parsed && !outlook_family(from)) parsed = GoogleDate(text::Trim(text), &date);
  }
  if (!parsed) return false;
  *converted = to == vlmcsvGoogle2 ? Google2DateText(date) : CsvDateText(date, to == vlmcsvGoogle);
  return true;
}

std::u16string Google2DateText(double date) {
  SystemTime st;
  if (contact::IsEmptyDate(date) || !VariantTimeToSystemTime(date, &st)) return {};
  if (st.year != vcard::kYearUnknown) return CsvDateText(date, true);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "--%02d-%02d", st.month, st.day);
  return text::AsciiToUtf16(buffer);
}

std::u16string CsvDateText(double date, bool google) {
  SystemTime st;
  if (contact::IsEmptyDate(date) || !VariantTimeToSystemTime(date, &st)) return {};
  char buffer[16];
  if (google) {
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", st.year, st.month, st.day);
  } else {
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", st.month, st.day, st.year);
  }
  return text::AsciiToUtf16(buffer);
}

}  // namespace velmora::csv
