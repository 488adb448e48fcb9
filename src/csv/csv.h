// The CSV engine: splitting decoded CSV text into a cells table, and
// finding the separator a text uses. It holds the converter's log, where
// the lenient parser reports what it had to repair.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <velmora/enums.h>
#include <velmora/status.h>

#include "csv/csv_cells.h"
#include "foundation/log.h"

namespace velmora {

class CCsv {
 public:
  explicit CCsv(CLog& log);
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

  // The separator of `text` as a one-character string: ',' when the first
  // two rows split into more than one column with it, else ';' and then TAB
  // when the first cell holds that character and splitting with it gives
  // more than one column. Empty when none does (a one-column text included).
  std::u16string AutoDetectSeparator(std::u16string_view text) const;

  CLog& log() const { return log_; }

 private:
  CLog& log_;
};

}  // namespace velmora
