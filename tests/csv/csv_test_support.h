// Helpers for the CSV layer's tests: a compact dump of a cells table.
#pragma once

#include <string>

#include "csv/csv_cells.h"
#include "vcard/vcard_test_support.h"

namespace velmora::test {

// "[a|b][c]": one bracket per row, cells joined by '|', CR and LF made
// visible as <CR> and <LF>. An empty table is "".
inline std::string DumpCells(const CsvCellsTable& cells) {
  std::string out;
  for (const CsvRow& row : cells) {
    out += '[';
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out += '|';
      out += Visible(U8(row[i]));
    }
    out += ']';
  }
  return out;
}

}  // namespace velmora::test
