// Reading .xlsx and .xlsm workbooks (SpreadsheetML in a zip package): the
// workbook part for the sheet list and date system, the styles for which
// cells show dates, the shared strings, and each sheet's XML streamed cell
// by cell into the sheet's cell store. Chart and dialog sheets are listed,
// without cells.
#pragma once

#include <string>

#include "spreadsheet/workbook_content.h"
#include "spreadsheet/workbook_limits.h"
#include "spreadsheet/zip_archive.h"

namespace velmora::spreadsheet {

// Reads every sheet, or only the one at `sheet_index`. False with a
// message when the package is damaged or a limit is reached; `content`
// then holds nothing usable.
bool ReadXlsx(ZipArchive& zip, int sheet_index, const WorkbookLimits& limits,
              WorkbookContent* content, std::string* error);

}  // namespace velmora::spreadsheet
