// Rows of a cells table to vCards: each row imported into a contact
// (CCsv::ImportContact, csv_import.cpp) and written as a vCard 3.0 in
// UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/status.h>

#include "csv/csv.h"
#include "csv/csv_cells.h"

namespace velmora::csv {

// Called after each row with its 1-based position in the range, the range
// length, the vCards so far, the empty rows and the errors; false cancels.
using CsvRowsProgress =
    std::function<bool(int position, int count, int cards, int empties, int errors)>;

struct CsvRowsRequest {
  std::span<const std::uint32_t> codes;   // one per column
  std::span<const std::u16string> names;  // the header row, for notes lines; may be empty
  std::u16string_view lid;                // the locale of the values; empty: English
  std::size_t from = 0;                   // the first row
  std::size_t count = 0;                  // rows from `from` on
  std::string_view prodid_line;           // empty: the library's own
  CsvRowsProgress progress;               // may be empty
};

// Imports rows `from` .. `from + count - 1` of `cells`. S_OK with at least
// one vCard in `cards`; S_NO_CONTENT with none or when cancelled (`cards`
// then empty). A row without cells or content counts as empty, a row that
// fails as an error.
HRESULT ConvertCsvRows(const CCsv& csv, const CsvCellsTable& cells, const CsvRowsRequest& request,
                       std::vector<std::string>* cards, int* empties, int* errors);

}  // namespace velmora::csv
