// Step-by-step CSV import: ICsvContent holds one loaded CSV text with the
// settings of its next parse; each parse gives an ICsvCells, an independent
// table of cells with one header code per column, which can be inspected,
// corrected, flattened (Google) and turned into vCards.
//
// The converter creates the content (ICardConverter::LoadCsvContent,
// LoadCsvContentFromMemory); callers never create either object. Both stay
// usable after the converter is released. Indexes are 0-based.
//
// Every method returns a status: E_INVALIDARG for a null out pointer, an
// index out of range or a wrongly typed Variant (with a log line naming the
// argument); S_NO_CONTENT (S_FALSE) when there is nothing to give.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <velmora/cards.h>
#include <velmora/enums.h>
#include <velmora/export.h>
#include <velmora/object.h>
#include <velmora/progress.h>
#include <velmora/status.h>
#include <velmora/variant.h>

namespace velmora {

// One parsed table. The first row is the header row when HasHeaderRow is
// true; its header codes (see csv_headers.h) say what each column holds.
class VELMORA_API ICsvCells : public IObject {
 public:
  virtual HRESULT get_HasHeaderRow(bool* value) = 0;
  // Rows of the table, the header row included.
  virtual HRESULT get_RowCount(std::int32_t* value) = 0;
  // Columns: one per header code (the header row's width, or without a
  // header row the widest row's).
  virtual HRESULT get_ColCount(std::int32_t* value) = 0;
  // The cell; "" for a column the row is too short to have.
  virtual HRESULT Cell(std::int32_t row, std::int32_t col, std::u16string* value) = 0;
  // The cells the row has (rows are never padded); empty for a row without
  // cells.
  virtual HRESULT row(std::int32_t row, std::vector<std::u16string>* value) = 0;
  // The column's header code; 0: not known. A code put must be 0 or one the
  // catalogue knows.
  virtual HRESULT get_HeaderCode(std::int32_t col, std::int32_t* value) = 0;
  virtual HRESULT put_HeaderCode(std::int32_t col, std::int32_t value) = 0;
  // The catalogue's name of the column's code ("E-mail 2 - Value" for a
  // grouped one); "" for 0 or an unknown code.
  virtual HRESULT HeaderName(std::int32_t col, std::u16string* value) = 0;
  // Columns whose code is 0.
  virtual HRESULT EmptyHeadersCount(std::int32_t* value) = 0;
  // Finds the header codes again from the header row: by the names of the
  // Outlook locale the table was parsed for, else by every dialect's names.
  // Without a header row every code is 0.
  virtual HRESULT ResetHeaders() = 0;
  // Rows `from` .. `from + count - 1` as vCards 3.0 in UTF-8, one per row
  // with content. `from` -1: the first data row; `from` 0 is refused when
  // the first row is the header row. `count` 0 or below, or past the end:
  // up to the last row. The progress callback is called after each row and
  // may cancel. `stats_empties` counts rows without content, `stats_errors`
  // rows that failed. S_OK and the cards; S_NO_CONTENT and none when no
  // row gave a card or the callback cancelled; E_GENERIC_FAILURE when no
  // column has a known header code.
  virtual HRESULT ConvertRows(std::int32_t* stats_empties, std::int32_t* stats_errors,
                              std::shared_ptr<ICards>* cards,
                              ICardConverterProgress* progress = nullptr, std::int32_t from = -1,
                              std::int32_t count = -1) = 0;
  // Google's grouped columns flattened into one column per meaning
  // ("E-mail 'Home'"), then the header codes found again. `flags`:
  // EPlainCsvFlags (PlainCsv: pcfDefault). `changed` tells whether a header
  // or cell changed. E_ILLEGAL_METHOD_CALL without a header row.
  virtual HRESULT PlainCsv(bool* changed) = 0;
  virtual HRESULT PlainCsvEx(std::int32_t flags, bool* changed) = 0;
  // The table back as CSV text, quoted as the CSV writers quote, lines
  // ending CR LF. `separator`: missing (",") or a string of one character.
  // RowToString joins a row's cells by the separator (with `transpose`, one
  // per line); ColToString lists a column down the rows, one per line (with
  // `transpose`, joined by the separator); CellsToString gives every row,
  // or with `transpose` every column as a line.
  virtual HRESULT RowToString(std::int32_t row, const Variant& separator, std::u16string* text) = 0;
  virtual HRESULT RowToStringEx(std::int32_t row, const Variant& separator, bool transpose,
                                std::u16string* text) = 0;
  virtual HRESULT ColToString(std::int32_t col, const Variant& separator, std::u16string* text) = 0;
  virtual HRESULT ColToStringEx(std::int32_t col, const Variant& separator, bool transpose,
                                std::u16string* text) = 0;
  virtual HRESULT CellsToString(const Variant& separator, std::u16string* text) = 0;
  virtual HRESULT CellsToStringEx(const Variant& separator, bool transpose,
                                  std::u16string* text) = 0;
};

// One CSV text, decoded to UTF-16, and the settings of its next parse.
class VELMORA_API ICsvContent : public IObject {
 public:
  virtual HRESULT get_Content(std::u16string* value) = 0;
  // The text's length in UTF-16 units.
  virtual HRESULT get_ContentLength(std::int32_t* value) = 0;
  // The code page the text was decoded with. Putting one decodes the bytes
  // again with it (0: the system's ANSI code page); S_NO_CONTENT when the
  // encoding was recognised (IsCodepageReadOnly), E_INVALIDARG for a code
  // page the system does not know.
  virtual HRESULT get_Codepage(std::int32_t* value) = 0;
  virtual HRESULT put_Codepage(std::int32_t value) = 0;
  // 65001, 1200 or 1201 when the encoding was recognised from the bytes
  // (byte-order mark, UTF-16 without one, well-formed UTF-8), else 0.
  virtual HRESULT get_CodepageDetected(std::int32_t* value) = 0;
  virtual HRESULT get_IsCodepageReadOnly(bool* value) = 0;
  // ECsvParseFlags; initially csvpDefault.
  virtual HRESULT get_ParseFlags(std::int32_t* value) = 0;
  virtual HRESULT put_ParseFlags(std::int32_t value) = 0;
  // Every character separates cells; putting "" stores ",".
  virtual HRESULT get_Separators(std::u16string* value) = 0;
  virtual HRESULT put_Separators(const std::u16string& value) = 0;
  // One character; putting "" stores "\"", a longer string is refused.
  virtual HRESULT get_Quote(std::u16string* value) = 0;
  virtual HRESULT put_Quote(const std::u16string& value) = 0;
  // The Outlook locale whose header names and value words the table uses;
  // empty: any dialect's English names. A LID the catalogue does not know
  // is refused and the previous value stays.
  virtual HRESULT get_OutlookLID(std::u16string* value) = 0;
  virtual HRESULT put_OutlookLID(const std::u16string& value) = 0;
  // Splits the text into a new table. The optional settings (missing, or a
  // 32-bit integer for `parse_flags` and strings for the others) are
  // stored first and stay for later parses; nothing is stored when one is
  // refused. `max_rows` above 0 stops once the table has that many rows
  // (the header row included); `skip_first_rows` leading rows are dropped.
  // S_NO_CONTENT and no table when the text holds no cells.
  virtual HRESULT Parse(std::shared_ptr<ICsvCells>* cells, std::int32_t max_rows = -1,
                        std::int32_t skip_first_rows = 0, const Variant& parse_flags = {},
                        const Variant& separators = {}, const Variant& quote = {}) = 0;
  virtual HRESULT Parse2(std::shared_ptr<ICsvCells>* cells, std::int32_t max_rows = -1,
                         std::int32_t skip_first_rows = 0, const Variant& parse_flags = {},
                         const Variant& separators = {}, const Variant& quote = {},
                         const Variant& outlook_lid = {}) = 0;
  // ",", ";" or TAB, whichever splits the first rows into columns;
  // S_NO_CONTENT and "" when none does.
  virtual HRESULT AutoDetectSeparator(std::u16string* separator) = 0;
};

}  // namespace velmora
