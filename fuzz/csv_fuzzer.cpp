// Fuzzes CSV content and the cell parser: arbitrary bytes are decoded in
// several code pages and split under flags and separators taken from the
// input; the table must keep its limits, and a table written back as text
// must read back into the same table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "csv/csv.h"
#include "csv/csv_cells.h"
#include "csv/csv_content.h"
#include "foundation/log.h"

namespace {

using velmora::csv::CCsv;
using velmora::csv::CsvCellsTable;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Without flags nothing is dropped, so the text of a table reads back into
// it, except that a last row of one empty cell is the final line break.
void CheckRoundTrip(const CCsv& csv, const CsvCellsTable& cells, char16_t separator) {
  if (cells.empty() || (cells.back().size() == 1 && cells.back()[0].empty())) return;
  const std::u16string text = velmora::csv::CellsToString(cells, separator, false);
  CsvCellsTable back;
  csv.ParseCells(text, &back, 0, -1, 0, std::u16string(1, separator));
  Check(back == cells);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static velmora::CLog log;  // level 1, no files: messages are formatted, not written
  if (size < 2 || size > 0x100000) return 0;
  const std::uint8_t options = data[0];
  static constexpr char16_t kSeparators[] = {u',', u';', u'\t', u' '};
  const char16_t separator = kSeparators[options & 3];
  const std::int32_t flags = (options >> 2) & 0x3F;
  const int max_rows = data[1] % 4;
  CCsv csv(log);
  velmora::csv::CCsvContent content(log);
  for (const int code_page : {1252, 932, 65001}) {
    if (content.LoadFromMemory(data + 2, static_cast<std::int32_t>(size - 2), code_page) != 0) {
      continue;
    }
    CsvCellsTable cells;
    csv.ParseCells(content.text(), &cells, flags, max_rows, 0, std::u16string(1, separator));
    Check(max_rows == 0 || cells.size() <= static_cast<std::size_t>(max_rows));
    if ((flags & velmora::csvpHeaderRowForce) == velmora::csvpHeaderRowForce) {
      for (const auto& row : cells) Check(row.size() <= cells.front().size());
    }
    csv.ParseCells(content.text(), &cells, 0, -1, 0, std::u16string(1, separator));
    CheckRoundTrip(csv, cells, separator);
    (void)csv.AutoDetectSeparator(content.text());
    (void)velmora::csv::CellsToString(cells, separator, true);
    content.SetCodepage(1251);
  }
  return 0;
}
