// The CSV engine: splitting decoded CSV text into a cells table, and
// finding the separator a text uses. It holds the converter's log, where
// the lenient parser reports what it had to repair.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/enums.h>
#include <velmora/status.h>

#include "csv/csv_cells.h"
#include "foundation/log.h"

namespace velmora::contact {
struct ContactRecord;
}  // namespace velmora::contact

namespace velmora::spreadsheet {
class Workbook;
class WorkbookSheet;
}  // namespace velmora::spreadsheet

namespace velmora::csv {

class CCsvHeaders;
struct CsvDetection;

// One sheet of a workbook as autodetection or loading describes it.
struct XlsSheetInfo {
  std::u16string name;
  bool empty = true;  // fewer than 2 rows were read
  // The header row, each cell quoted (forced), joined by ","; empty when
  // no header row was read or detected.
  std::u16string headers;
  ECsvType type = vlmcsvUnknown;
  std::u16string lid;  // the Outlook locale of the header names; empty: none
  bool has_custom_headers = false;
};

class CCsv {
 public:
  // `headers`, the converter's header catalogue, is needed by
  // autodetection only.
  explicit CCsv(CLog& log, const CCsvHeaders* headers = nullptr);
  CCsv(const CCsv&) = delete;
  CCsv& operator=(const CCsv&) = delete;

  // Splits `text` into `cells` (emptied first) under `flags`
  // (ECsvParseFlags). Every character of `separators` ends a cell (empty:
  // ","); `quote` opens and closes quoted cells (0: '"'), inside which
  // separators and line breaks are plain text and a doubled quote is one
  // quote. CR LF, CR and LF all end a line. `skip_first_rows` non-blank rows
  // are dropped first (negative: none); with `max_rows` above 0 parsing
  // stops once the table holds that many rows, the header row included.
  //
  // Returns S_OK; S_NO_CONTENT for an empty text (the table stays empty);
  // E_INVALIDARG, logged as an assertion, without a table. Malformed input
  // never fails: an unterminated quote and text after a closing quote are
  // logged as warnings and read as well as they can be.
  HRESULT ParseCells(std::u16string_view text, CsvCellsTable* cells,
                     std::int32_t flags = csvpDefault, int max_rows = -1, int skip_first_rows = 0,
                     std::u16string_view separators = u",", char16_t quote = u'"') const;

  // ParseCells (default flags, '"' quotes) for the first `max_rows` rows of
  // a text that may be only the beginning of a longer one (`partial`).
  // True when those rows are final: the text is whole, or the last of them
  // ended with a line break inside it. A quoted cell left open by the end
  // of a partial text is not reported: the rest of the text may close it.
  bool ParseLeadingRows(std::u16string_view text, bool partial, int max_rows,
                        std::u16string_view separator, CsvCellsTable* cells) const;

  // The separator of `text` as a one-character string: ',' when the first
  // two rows split into more than one column with it, else ';' and then TAB
  // when the first cell holds that character and splitting with it gives
  // more than one column. Empty when none does (a one-column text included).
  std::u16string AutoDetectSeparator(std::u16string_view text) const;

  // Autodetection (csv_autodetect.cpp); both need the catalogue.
  // The dialect, separator, encoding and, with `detect_locale`, Outlook
  // locale of a CSV file, from its first two rows: only as much of the file
  // is decoded as those rows need, though the encoding is judged on every
  // byte. S_OK; E_INVALIDARG for an empty name, an unknown ANSI code page
  // or no catalogue; the file's failure status (logged), with `result`
  // left cleared.
  HRESULT AutodetectCsvFile(const std::filesystem::path& file_name, bool detect_locale,
                            CsvDetection* result) const;
  // The same for a list of header names: fills type, codes, lid and
  // has_custom_headers of `result`.
  HRESULT AutodetectCsvNames(std::span<const std::u16string> names, bool detect_locale,
                             CsvDetection* result) const;

  // Fills `contact` (emptied first) from one row (csv_import.cpp): the cell
  // of column i is read by header code i, its dates, booleans and
  // enumerations in the words of the Outlook locale `lid` (empty:
  // English). `names`, the header row when given, names the "Header:
  // value" lines that keep in the notes what has no field of its own.
  // S_OK; S_NO_CONTENT when no cell carried content; E_INVALIDARG without
  // a contact.
  HRESULT ImportContact(std::span<const std::uint32_t> codes, const CsvRow& row,
                        contact::ContactRecord* contact, std::u16string_view lid,
                        std::span<const std::u16string> names = {}) const;

  // Spreadsheets (csv_xls.cpp). Every cell is read as text and written as
  // a string cell; the workbook kind follows the file's extension.

  // The text of one cell: numbers by their display text (General format),
  // dates as "yyyy-mm-dd", "yyyy-mm-dd hh:mm:ss" or "hh:mm:ss", booleans
  // as "1" or "0", errors by their text ("#DIV/0!"); empty for empty and
  // blank cells. Oddities (a date number that unpacks to nothing, a number
  // without display text, an unknown error code) are logged as warnings.
  std::u16string XlsGetCell(const spreadsheet::Workbook& book,
                            const spreadsheet::WorkbookSheet& sheet, int row, int col) const;
  // Reads the sheet's used range into `cells` (emptied first) under
  // `flags` (EXlsFlags); with `max_rows` above 0 reading stops once the
  // table holds that many rows.
  void ReadXlsSheet(const spreadsheet::Workbook& book, const spreadsheet::WorkbookSheet& sheet,
                    std::int32_t flags, int max_rows, CsvCellsTable* cells) const;
  // Loads one sheet into `cells` and describes it in `info` (both cleared
  // first); with `detect_type` and a header row, its dialect and Outlook
  // locale are detected. With `max_rows` above 0 every empty row is
  // dropped. S_OK; S_FALSE when the workbook has no sheet; E_INVALIDARG for
  // an empty file name, a negative sheet or an extension that is no
  // workbook; E_GENERIC_FAILURE (logged, the library's message in `error`)
  // when the sheet cannot be loaded.
  HRESULT LoadXlsCells(const std::filesystem::path& file_name, int sheet, CsvCellsTable* cells,
                       XlsSheetInfo* info, bool detect_type, std::int32_t flags, int max_rows,
                       std::u16string* error) const;
  // Describes every sheet from its first two non-empty rows. S_OK; S_FALSE
  // and no descriptions for a workbook without sheets; E_INVALIDARG as
  // above; E_GENERIC_FAILURE (logged, message in `error`) when the file
  // cannot be loaded.
  HRESULT AutodetectXls(const std::filesystem::path& file_name, bool detect_locale,
                        std::vector<XlsSheetInfo>* sheets, std::u16string* error) const;
  // Writes every non-empty cell of `cells` as a string cell of a new sheet
  // named `sheet_name`, through a temporary file and a rename. S_OK; S_FALSE
  // when some cells could not be written (each logged) but others were;
  // E_GENERIC_FAILURE when no cell could be written, the sheet not be made
  // or the file not be saved (logged, the first message in `error`);
  // E_INVALIDARG for an empty file name or no workbook extension; E_NOTIMPL
  // for .xlsb.
  HRESULT SaveXls(const std::filesystem::path& file_name, std::u16string_view sheet_name,
                  const CsvCellsTable& cells, std::u16string* error) const;

  CLog& log() const { return log_; }
  const CCsvHeaders* headers() const { return headers_; }

 private:
  CLog& log_;
  const CCsvHeaders* headers_;
};

}  // namespace velmora::csv
