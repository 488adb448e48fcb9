// Reading a CSV input: its dialect, separator, encoding and Outlook locale
// as the library finds them (or as the command line gives them), and its
// rows as vCards through the library's CSV objects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <velmora/card_converter.h>

#include "input_file.h"
#include "progress_bar.h"

namespace velmora::cli {

struct CsvReadOptions {
  static constexpr int kDetected = -1;

  std::string separator;      // one character; empty: detected
  int code_page = kDetected;  // for bytes not recognised as UTF-8 or UTF-16
  std::string locale;         // Outlook LID of the header names; empty: detected
  bool any_dialect = false;   // read a file whose dialect is not recognised
  std::string sheet;          // a workbook's sheet, by name or 1-based number
};

// What the library found out about a CSV file.
struct CsvFacts {
  ECsvType type = vlmcsvUnknown;
  std::string separator;  // ",", ";" or TAB; empty when none splits the header row
  std::string headers;    // the header row, each name quoted, joined by ","
  // The chosen locale's code page, or the Unicode encoding the file was
  // recognised in (65001, 1200, 1201); 0 for 8-bit text in no locale.
  int code_page = 0;
  std::string locale;  // the Outlook LID; empty when none
  bool custom_headers = false;
  bool empty = true;  // no data row (or, not recognised, no row at all)
};

// Whether an input is read as CSV: by `from` ("vcard", "csv") when given;
// else a line starting with BEGIN:VCARD, a blank file or a name ending in
// .vcf or .vcard makes it vCard (so that a broken vCard file is reported as
// one), and anything else is CSV.
bool IsCsvInput(const InputFile& input, const std::string& from);

// "outlook", "outlook365", "outlook365-v1", "nokia", "google", "google2",
// "unknown".
const char* DialectName(ECsvType type);
// "tab" for a TAB, "none" for nothing, else the separator itself.
std::string SeparatorName(const std::string& separator);
// "utf-8", "utf-16", "utf-16be", a charset name ("windows-1252"), or
// "system" for 0.
std::string EncodingName(int code_page);

// The header row for a message: its first names, and how many there are
// when they do not all fit.
std::string ShortHeaders(const std::string& headers);

// Autodetection of one file; the library's status.
HRESULT DetectCsv(ICardConverter& library, const std::string& path, CsvFacts* facts);

struct CsvCards {
  CsvFacts facts;
  std::vector<std::uint8_t> vcards;  // joined by CR LF
  std::int32_t rows = 0;             // data rows
  std::int32_t cards = 0;
  std::int32_t empties = 0;  // rows without content
  std::int32_t errors = 0;   // rows that could not be read
  // Why the file could not be read, for the caller to say; empty when it was.
  std::string error;
  HRESULT status = S_OK;
};

// The rows of a CSV input as vCards 3.0. kExitOk (also for a file without
// rows); kExitInput when the file cannot be read, is of no known dialect or
// has no column the library knows (`error` and `status` say which);
// kExitCancelled.
int ReadCsvCards(ICardConverter& library, const InputFile& input, const CsvReadOptions& options,
                 ProgressBar& progress, CsvCards* result);

// A read that failed: `what` and `status` for the caller to say; kExitInput.
int CsvReadFailed(CsvCards* result, std::string what, HRESULT status = S_OK);

// The data rows of parsed `cells` (`rows` with the header row) as vCards
// into `result`, as ReadCsvCards does; `source` names the table in the
// message for a header row with no known column ("no column of SOURCE is
// ...", or "no column is ..." when empty).
int ConvertCellRows(ICsvCells& cells, std::int32_t rows, const std::string& source,
                    ProgressBar& progress, CsvCards* result);

}  // namespace velmora::cli
