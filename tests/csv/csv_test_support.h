// Helpers for the CSV layer's tests: an engine over a header catalogue, a
// compact dump of a cells table, dates as text, and vCard text as records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "csv/csv.h"
#include "csv/csv_cells.h"
#include "csv/csv_headers.h"
#include "foundation/automation_date.h"
#include "support/test_env.h"
#include "vcard/card_parser.h"
#include "vcard/vcard_test_support.h"

namespace velmora::test {

// "[a|b][c]": one bracket per row, cells joined by '|', CR and LF made
// visible as <CR> and <LF>. An empty table is "".
inline std::string DumpCells(const csv::CsvCellsTable& cells) {
  std::string out;
  for (const csv::CsvRow& row : cells) {
    out += '[';
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out += '|';
      out += Visible(U8(row[i]));
    }
    out += ']';
  }
  return out;
}

// The parts of `text` between `separator`s ("" gives one empty part).
inline std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::string_view::npos;
       start = end + separator.size()) {
    parts.emplace_back(text.substr(start, end - start));
  }
  parts.emplace_back(text.substr(start));
  return parts;
}
inline std::vector<std::u16string> Split16(std::string_view text, std::string_view separator) {
  std::vector<std::u16string> parts;
  for (const std::string& part : Split(text, separator)) parts.push_back(U16(part));
  return parts;
}

// A dialect by its name in the data files: unknown, outlook, google, nokia,
// outlook365v1, outlook365v2, google2.
inline ECsvType CsvTypeNamed(const std::string& name) {
  static const char* const kNames[] = {"unknown",      "outlook",      "google", "nokia",
                                       "outlook365v1", "outlook365v2", "google2"};
  for (int i = 0; i < 7; ++i) {
    if (name == kNames[i]) return static_cast<ECsvType>(i);
  }
  ADD_FAILURE() << "no dialect " << name;
  return vlmcsvUnknown;
}

// "1980-4-1"; "" for no date.
inline std::string DateText(double date) {
  SystemTime st;
  if (contact::IsEmptyDate(date) || !VariantTimeToSystemTime(date, &st)) return "";
  return std::to_string(st.year) + "-" + std::to_string(st.month) + "-" + std::to_string(st.day);
}

// The records of vCard text.
inline std::vector<contact::ContactRecord> ParseCards(CLog& log, std::string_view text) {
  RecordCollector collector;
  vcard::CCardParser parser(log);
  parser.LoadMemory(text.data(), static_cast<std::int32_t>(text.size()), {.consumer = &collector});
  return std::move(collector.records);
}

// An engine over the built-in catalogue, logging to a captured log; with
// the shipped Outlook locales when `locales`.
class CsvTest : public ::testing::Test {
 protected:
  explicit CsvTest(bool locales = false) : headers_(captured_.log), csv_(captured_.log, &headers_) {
    if (locales) {
      EXPECT_EQ(headers_.LoadOutlookLocales(SourceDir() / "data" / "supportedOutlookHeaders.csv"),
                S_OK);
    }
  }

  CapturedLog captured_;
  csv::CCsvHeaders headers_;
  csv::CCsv csv_;
};

}  // namespace velmora::test
