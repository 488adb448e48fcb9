// Spreadsheets as cells tables: every cell read as text, the table built
// row by row under the reading flags, sheets described for autodetection,
// and tables written as string cells.
#include <algorithm>

#include <velmora/unicode.h>

#include "csv/csv.h"
#include "csv/csv_autodetect.h"
#include "csv/csv_escape.h"
#include "foundation/text_util.h"
#include "spreadsheet/cell_error.h"
#include "spreadsheet/workbook.h"

namespace velmora::csv {
namespace {

constexpr char kGetCellLabel[] = "CCsv.XlsGetCell";
constexpr char kLoadLabel[] = "CCsv.LoadXlsCells";
constexpr char kAutodetectLabel[] = "CCsv.AutodetectXls";
constexpr char kSaveLabel[] = "CCsv.SaveXls";

bool Has(std::int32_t flags, std::int32_t flag) { return (flags & flag) == flag; }

// The header row's cells quoted and joined, as CSV autodetection gives it.
std::u16string HeaderText(const CsvRow& row) {
  std::u16string text;
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (i > 0) text += u',';
    text += EscapeCell(row[i], u',', u';', true);
  }
  return text;
}

}  // namespace

std::u16string CCsv::XlsGetCell(const spreadsheet::Workbook& book,
                                const spreadsheet::WorkbookSheet& sheet, int row, int col) const {
  switch (sheet.CellType(row, col)) {
    case spreadsheet::XlsCellType::kEmpty:
    case spreadsheet::XlsCellType::kBlank:
      return {};
    case spreadsheet::XlsCellType::kNumber: {
      const double value = sheet.ReadNum(row, col);
      if (sheet.IsDate(row, col)) {
        spreadsheet::DateParts d;
        if (!book.DateUnpack(value, &d)) {
          log_.LogWarning(kGetCellLabel, 0, "cant unpack date from number(%f)", value);
          return {};
        }
        if (d.year < 1 && d.month < 1 && d.day < 1) {
          return Format("%02d:%02d:%02d", d.hour, d.minute, d.second);
        }
        if (d.hour == 0 && d.minute == 0 && d.second == 0) {
          return Format("%04d-%02d-%02d", d.year, d.month, d.day);
        }
        return Format("%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                      d.second);
      }
      std::u16string text = sheet.ReadStr(row, col);
      if (!text.empty()) return text;
      log_.LogWarning(kGetCellLabel, 0, "cell with number(%f) has no display value(string)", value);
      return Format("%f", value);
    }
    case spreadsheet::XlsCellType::kString:
      return sheet.ReadStr(row, col);
    case spreadsheet::XlsCellType::kBoolean:
      return Format("%d", sheet.ReadBool(row, col) ? 1 : 0);
    case spreadsheet::XlsCellType::kError: {
      const std::string_view text = spreadsheet::CellErrorText(sheet.ReadError(row, col));
      if (text.empty()) {
        log_.LogWarning(kGetCellLabel, 0, "Unknown ErrorType");
        return {};
      }
      return text::AsciiToUtf16(text);
    }
  }
  return {};
}

void CCsv::ReadXlsSheet(const spreadsheet::Workbook& book, const spreadsheet::WorkbookSheet& sheet,
                        std::int32_t flags, int max_rows, CsvCellsTable* cells) const {
  cells->clear();
  std::vector<bool> empties;
  const bool header_row = Has(flags, xlsfHeaderRow);
  const int first_col = sheet.first_col();
  int last_col = sheet.last_col();
  for (int r = sheet.first_row(); r < sheet.last_row(); ++r) {
    // Cells past the last one the row holds are empty, and a kept row loses
    // its empty cells at the end anyway: they are not read.
    const int end = std::min(last_col, sheet.RowEnd(r));
    CsvRow row;
    int filled = 0;  // cells up to the last non-empty one
    for (int c = first_col; c < end; ++c) {
      std::u16string text = XlsGetCell(book, sheet, r, c);
      if (cells->empty() && header_row) text = std::u16string(text::Trim(text));
      if (!text.empty()) filled = c - first_col + 1;
      row.push_back(std::move(text));
    }
    const bool empty = filled == 0;
    if (empty && (Has(flags, xlsfSkipAnyEmptyRows) ||
                  (cells->empty() && (header_row || Has(flags, xlsfSkipFirstEmptyRows))))) {
      continue;
    }
    row.resize(static_cast<std::size_t>(filled));
    if (Has(flags, xlsfHeaderRowForce) && cells->empty()) last_col = first_col + filled;
    cells->push_back(std::move(row));
    empties.push_back(empty);
    if (max_rows >= 1 && cells->size() >= static_cast<std::size_t>(max_rows)) break;
  }
  if (Has(flags, xlsfSkipLastEmptyRows)) {
    while (!empties.empty() && empties.back()) {
      empties.pop_back();
      cells->pop_back();
    }
  }
}

HRESULT CCsv::LoadXlsCells(const std::filesystem::path& file_name, int sheet, CsvCellsTable* cells,
                           XlsSheetInfo* info, bool detect_type, std::int32_t flags, int max_rows,
                           std::u16string* error) const {
  if (cells == nullptr || info == nullptr || error == nullptr) return E_INVALIDARG;
  const spreadsheet::WorkbookKind kind = spreadsheet::WorkbookKindOfFile(file_name);
  if (file_name.empty() || sheet < 0 || kind == spreadsheet::WorkbookKind::kNone)
    return E_INVALIDARG;
  cells->clear();
  *info = XlsSheetInfo();
  error->clear();
  spreadsheet::Workbook book(kind);
  if (!book.LoadSheet(file_name, sheet)) {
    *error = Utf8ToUtf16(book.ErrorMessage());
    log_.LogError(kLoadLabel, E_GENERIC_FAILURE, "Cant load sheet[%d] from file(%s), error(%s)",
                  sheet, file_name.string(), *error);
    return E_GENERIC_FAILURE;
  }
  spreadsheet::WorkbookSheet* loaded = book.GetSheet(0);
  if (loaded == nullptr) return S_FALSE;
  if (max_rows > 0) flags |= xlsfSkipAnyEmptyRows;
  ReadXlsSheet(book, *loaded, flags, max_rows, cells);
  info->name = loaded->name();
  info->empty = cells->size() < 2;
  if (Has(flags, xlsfHeaderRow) && !cells->empty()) {
    if (detect_type && headers_ != nullptr) {
      CsvDetection found;
      if (SUCCEEDED(AutodetectCsvNames(cells->front(), true, &found))) {
        info->type = found.type;
        info->lid = std::move(found.lid);
        info->has_custom_headers = found.has_custom_headers;
      }
    }
    info->headers = HeaderText(cells->front());
  }
  return S_OK;
}

HRESULT CCsv::AutodetectXls(const std::filesystem::path& file_name, bool detect_locale,
                            std::vector<XlsSheetInfo>* sheets, std::u16string* error) const {
  if (sheets == nullptr || error == nullptr) return E_INVALIDARG;
  const spreadsheet::WorkbookKind kind = spreadsheet::WorkbookKindOfFile(file_name);
  if (file_name.empty() || kind == spreadsheet::WorkbookKind::kNone) return E_INVALIDARG;
  sheets->clear();
  error->clear();
  spreadsheet::Workbook book(kind);
  if (!book.Load(file_name)) {
    *error = Utf8ToUtf16(book.ErrorMessage());
    log_.LogError(kAutodetectLabel, E_GENERIC_FAILURE, "Cant load file(%s), error(%s)",
                  file_name.string(), *error);
    return E_GENERIC_FAILURE;
  }
  if (book.SheetCount() == 0) return S_FALSE;
  for (int i = 0; i < book.SheetCount(); ++i) {
    const spreadsheet::WorkbookSheet& sheet = *book.GetSheet(i);
    CsvCellsTable cells;
    ReadXlsSheet(book, sheet, xlsfDefault4Autodetect, 2, &cells);
    XlsSheetInfo info;
    info.name = sheet.name();
    info.empty = cells.size() < 2;
    if (!cells.empty()) {
      CsvDetection found;
      if (headers_ != nullptr &&
          SUCCEEDED(AutodetectCsvNames(cells.front(), detect_locale, &found))) {
        info.type = found.type;
        info.lid = std::move(found.lid);
        info.has_custom_headers = found.has_custom_headers;
      }
      info.headers = HeaderText(cells.front());
    }
    sheets->push_back(std::move(info));
  }
  return S_OK;
}

HRESULT CCsv::SaveXls(const std::filesystem::path& file_name, std::u16string_view sheet_name,
                      const CsvCellsTable& cells, std::u16string* error) const {
  if (error == nullptr) return E_INVALIDARG;
  error->clear();
  const spreadsheet::WorkbookKind kind = spreadsheet::WorkbookKindOfFile(file_name);
  if (file_name.empty() || kind == spreadsheet::WorkbookKind::kNone) return E_INVALIDARG;
  if (kind == spreadsheet::WorkbookKind::kXlsb) {
    *error = text::AsciiToUtf16(spreadsheet::kXlsbWriteRefused);
    log_.LogError(kSaveLabel, E_NOTIMPL, "%s", spreadsheet::kXlsbWriteRefused);
    return E_NOTIMPL;
  }
  spreadsheet::Workbook book(kind);
  spreadsheet::WorkbookSheet* sheet = book.AddSheet(sheet_name);
  if (sheet == nullptr) {
    *error = Utf8ToUtf16(book.ErrorMessage());
    log_.LogError(kSaveLabel, E_GENERIC_FAILURE, "Cant create  libxl::Sheet object, error(%s)",
                  *error);
    return E_GENERIC_FAILURE;
  }
  int written = 0, failed = 0;
  for (std::size_t r = 0; r < cells.size(); ++r) {
    for (std::size_t c = 0; c < cells[r].size(); ++c) {
      const std::u16string& text = cells[r][c];
      if (text.empty()) continue;
      const int row = static_cast<int>(r), col = static_cast<int>(c);
      if (book.WriteStr(sheet, row, col, text)) {
        ++written;
        continue;
      }
      ++failed;
      const std::u16string message = Utf8ToUtf16(book.ErrorMessage());
      if (error->empty()) *error = message;
      if (log_.level() >= loglDetail) {
        log_.LogError(kSaveLabel, E_GENERIC_FAILURE, "Cant set cell[%d,%d], error:%s\nvalue:%s\n",
                      row, col, message, text);
      } else {
        log_.LogError(kSaveLabel, E_GENERIC_FAILURE, "Cant set cell[%d,%d], error:%s\n", row, col,
                      message);
      }
    }
  }
  if (failed > 0 && written == 0) return E_GENERIC_FAILURE;
  if (!book.Save(file_name)) {
    *error = Utf8ToUtf16(book.ErrorMessage());
    log_.LogError(kSaveLabel, E_GENERIC_FAILURE, "Cant save file, error(%s)", *error);
    return E_GENERIC_FAILURE;
  }
  return failed > 0 ? S_FALSE : S_OK;
}

}  // namespace velmora::csv
