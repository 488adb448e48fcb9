// Reading a workbook input (.xls, .xlsx, .xlsm, .xlsb): its sheets as the
// library describes them, and the rows of one sheet as vCards, read the way
// a CSV input's rows are (header row, dialect and Outlook language found by
// the library, or given on the command line).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <velmora/card_converter.h>

#include "csv_input.h"
#include "input_file.h"
#include "progress_bar.h"

namespace velmora::cli {

// "xls", "xlsx", "xlsm" or "xlsb" when `name` ends in that extension (any
// letter case); empty otherwise.
std::string WorkbookKind(const std::string& name);

// Whether an input is read as a workbook: by its name's extension, unless
// `from` is "vcard". Standard input has no name and is never a workbook.
bool IsWorkbookInput(const InputFile& input, const std::string& from);

// One sheet as the library finds it from its first rows.
struct SheetFacts {
  std::string name;
  bool empty = true;  // no data row below the header row
  ECsvType type = vlmcsvUnknown;
  std::string locale;  // the Outlook LID of the header names; empty when none
  bool custom_headers = false;
  std::string headers;    // the header row, each name quoted, joined by ","
  std::int32_t rows = 0;  // data rows (set by CountSheetRows)
};

// Describes every sheet of a workbook, in the workbook's order (hidden ones
// included). kExitOk (no sheets at all is not an error); kExitInput with
// `error` and `status` set when the file cannot be read.
int DetectWorkbook(ICardConverter& library, const std::string& path,
                   std::vector<SheetFacts>* sheets, std::string* error, HRESULT* status);

// The data rows of the sheet at `index` (0-based), read as a conversion
// reads them; 0 when it cannot be read.
std::int32_t CountSheetRows(ICardConverter& library, const std::string& path, int index);

// The sheet `wanted` names among `sheets`: a sheet of that exact name, else
// a 1-based position; with `wanted` empty the first sheet holding a data
// row (the first sheet when none does). -1 when there is no such sheet.
int ChooseSheet(const std::vector<SheetFacts>& sheets, const std::string& wanted);

// The rows of one sheet of a workbook input as vCards 3.0: the sheet of
// `options.sheet` (see ChooseSheet), its header names in the Outlook
// language of `options.locale` when given; with `options.any_dialect` a
// sheet of no known address book too. Results and exit statuses as
// ReadCsvCards; `sheet` receives the name of the sheet read.
int ReadWorkbookCards(ICardConverter& library, const InputFile& input,
                      const CsvReadOptions& options, ProgressBar& progress, CsvCards* result,
                      std::string* sheet = nullptr);

// The rows of a table input as vCards: ReadWorkbookCards for a workbook
// (IsWorkbookInput with `from`), else ReadCsvCards.
int ReadTableCards(ICardConverter& library, const InputFile& input, const std::string& from,
                   const CsvReadOptions& options, ProgressBar& progress, CsvCards* result);

}  // namespace velmora::cli
