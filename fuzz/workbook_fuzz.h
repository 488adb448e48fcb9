// The check shared by the .xlsx and .xlsb fuzzers: arbitrary bytes read as
// a workbook package of one kind (the first byte chooses the reading flags)
// under tight limits. A refused package must leave a message and no
// sheets; a read one must keep its cells where its used range says, and
// read into a table that keeps the flags' promises.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <velmora/enums.h>

#include "csv/csv.h"
#include "foundation/log.h"
#include "spreadsheet/workbook.h"

namespace velmora::fuzz {

inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

inline int FuzzWorkbook(velmora::spreadsheet::WorkbookKind kind, const std::uint8_t* data,
                        std::size_t size) {
  static velmora::CLog log;  // level 1, no files: messages are formatted, not written
  if (size < 2 || size > (4u << 20)) return 0;
  const std::uint8_t options = data[0];
  velmora::spreadsheet::WorkbookLimits limits;
  limits.max_part_bytes = 64u << 20;
  limits.max_total_bytes = 128u << 20;
  limits.max_cells = 200000;
  limits.max_strings = 100000;
  limits.max_string_length = 1u << 16;
  velmora::spreadsheet::Workbook book(kind, limits);
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const int index = (options & 1) != 0 ? (options >> 1) & 1 : velmora::spreadsheet::kAllSheets;
  if (!book.LoadBytes(bytes, index)) {
    Check(book.SheetCount() == 0 && !book.ErrorMessage().empty());
    return 0;
  }
  const std::int32_t flags = (options >> 2) & 0x1F;
  const int max_rows = (options >> 7) != 0 ? 3 : -1;
  const velmora::csv::CCsv csv(log);
  for (int i = 0; i < book.SheetCount(); ++i) {
    const velmora::spreadsheet::WorkbookSheet& sheet = *book.GetSheet(i);
    Check(sheet.first_row() <= sheet.last_row() && sheet.first_col() <= sheet.last_col());
    for (const velmora::spreadsheet::WorkbookSheet::Cell& cell : sheet.cells()) {
      const int row = static_cast<int>(cell.row), col = static_cast<int>(cell.col);
      Check(row >= sheet.first_row() && row < sheet.last_row());
      Check(col >= sheet.first_col() && col < sheet.RowEnd(row));
      Check(sheet.CellType(row, col) == cell.type);
    }
    velmora::csv::CsvCellsTable cells;
    csv.ReadXlsSheet(book, sheet, flags, max_rows, &cells);
    Check(max_rows < 0 || cells.size() <= static_cast<std::size_t>(max_rows));
    if ((flags & velmora::xlsfHeaderRowForce) == velmora::xlsfHeaderRowForce) {
      for (const auto& row : cells) Check(row.size() <= cells.front().size());
    }
    for (const auto& row : cells) Check(row.empty() || !row.back().empty());
  }
  return 0;
}

}  // namespace velmora::fuzz
