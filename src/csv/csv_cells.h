// The cells table of a parsed CSV text, and its conversion back to text.
//
// Rows keep the lengths they were read with: the table is never padded, so
// a short row stays short and a consumer decides what a missing cell means.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velmora::csv {

using CsvRow = std::vector<std::u16string>;
using CsvCellsTable = std::vector<CsvRow>;

// The length of the longest row; 0 for an empty table.
std::size_t MaxColumnCount(const CsvCellsTable& cells);

// Text output. Each cell is quoted as EscapeCell does with `separator`, the
// list separator ';' and no forcing; lines end in CR LF, the last one
// without. Any character can be the separator, though callers use ASCII.

// The row's cells joined by `separator`, or one per line with `transpose`.
std::u16string RowToString(const CsvRow& row, char16_t separator, bool transpose);
// The cell at `column` of every row (empty for a shorter row), one per line,
// or joined by `separator` with `transpose`.
std::u16string ColToString(const CsvCellsTable& cells, std::size_t column, char16_t separator,
                           bool transpose);
// The whole table, row by row; with `transpose`, column by column, so that
// each output line holds one column.
std::u16string CellsToString(const CsvCellsTable& cells, char16_t separator, bool transpose);

}  // namespace velmora::csv
