#include "csv/csv_cells.h"

#include <algorithm>

#include "csv/csv_escape.h"

namespace velmora::csv {
namespace {

constexpr char16_t kLineBreak[] = u"\r\n";
constexpr char16_t kListSeparator = u';';

void AppendCell(std::u16string& out, std::u16string_view cell, char16_t separator) {
  out += EscapeCell(cell, separator, kListSeparator, false);
}

}  // namespace

std::size_t MaxColumnCount(const CsvCellsTable& cells) {
  std::size_t width = 0;
  for (const CsvRow& row : cells) width = std::max(width, row.size());
  return width;
}

std::u16string RowToString(const CsvRow& row, char16_t separator, bool transpose) {
  std::u16string out;
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (i > 0) {
      if (transpose) {
        out += kLineBreak;
      } else {
        out.push_back(separator);
      }
    }
    AppendCell(out, row[i], separator);
  }
  return out;
}

std::u16string ColToString(const CsvCellsTable& cells, std::size_t column, char16_t separator,
                           bool transpose) {
  std::u16string out;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) {
      if (transpose) {
        out.push_back(separator);
      } else {
        out += kLineBreak;
      }
    }
    const CsvRow& row = cells[i];
    AppendCell(out, column < row.size() ? std::u16string_view(row[column]) : u"", separator);
  }
  return out;
}

std::u16string CellsToString(const CsvCellsTable& cells, char16_t separator, bool transpose) {
  std::u16string out;
  if (!transpose) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) out += kLineBreak;
      out += RowToString(cells[i], separator, false);
    }
    return out;
  }
  const std::size_t width = MaxColumnCount(cells);
  for (std::size_t column = 0; column < width; ++column) {
    if (column > 0) out += kLineBreak;
    out += ColToString(cells, column, separator, true);
  }
  return out;
}

}  // namespace velmora::csv
