// Recognising a CSV file's dialect from its header row: the names become
// header codes (through the catalogue, or through one localised Outlook),
// and the dialect is the first whose every reference column is present.
// For a file the separator, the encoding and the Outlook locale are found
// too (CCsv::AutodetectCsvFile).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/enums.h>

#include "csv/csv_cells.h"
#include "csv/csv_headers.h"

namespace velmora::csv {

// A header row turned into codes, with the names sorted into known and
// unknown.
struct CsvHeaderCodes {
  std::vector<std::uint32_t> codes;  // one per name, in order; 0: unknown
  int unknown_count = 0;
  int known_count = 0;
  std::u16string unknown_names;  // joined by "\n"
  std::u16string known_names;    // joined by "\n"
};

// Codes by the catalogue's names in any dialect (grouped names included).
CsvHeaderCodes FindHeaderCodes(const CCsvHeaders& headers, std::span<const std::u16string> names);

// Codes by the names of the Outlook locale `lid`. A name repeated in the
// row (case ignored) takes the next code of that name in the locale, so a
// locale that gives two columns one word still tells them apart. An empty
// LID takes the catalogue's Outlook names instead. An unknown LID is logged
// and gives no codes. With `verbose` each known name is listed as
// "\"name\" (English name)".
CsvHeaderCodes FindOutlookHeaderCodes(const CCsvHeaders& headers,
                                      std::span<const std::u16string> names,
                                      std::u16string_view lid, bool verbose);

// The first dialect, in the order Outlook, Outlook365 v2, Outlook365 v1,
// Nokia, Google, Google2, whose every reference column is in `codes` (the
// two Google layouts differ in "Group Membership" against "File As" and
// "Labels"; Outlook's lists lack the phonetic columns); vlmcsvUnknown
// when none is. `has_custom_headers` (may be null) tells whether the row
// has columns the dialect does not know.
ECsvType DetectCsvTypeByCodes(const CCsvHeaders& headers, std::span<const std::uint32_t> codes,
                              bool* has_custom_headers);

// What autodetection found.
struct CsvDetection {
  ECsvType type = vlmcsvUnknown;
  // A recognised file with no data row, or an unrecognised one with no row.
  bool empty = true;
  std::u16string separator;  // ",", ";", TAB; empty when none splits the row
  // The header row, each cell quoted, joined by ","; with no separator the
  // first line as it stands.
  std::u16string headers;
  // The code page of a chosen locale, else the Unicode encoding the file was
  // recognised in (65001, 1200, 1201), else 0.
  int encoding_cp = 0;
  std::u16string lid;  // the chosen Outlook locale; empty when none
  bool has_custom_headers = false;
  CsvRow header_row;                 // the first row's cells, decoded
  std::vector<std::uint32_t> codes;  // their codes
};

}  // namespace velmora::csv
