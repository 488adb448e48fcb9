// Reading .xlsb workbooks (BIFF12 records in a zip package).
#pragma once

#include <string>

#include "spreadsheet/workbook_content.h"
#include "spreadsheet/workbook_limits.h"
#include "spreadsheet/zip_archive.h"

namespace velmora {

// Reads every sheet, or only the one at `sheet_index`. False with a
// message when the package is damaged or a limit is reached.
bool ReadXlsb(ZipArchive& zip, int sheet_index, const WorkbookLimits& limits,
              WorkbookContent* content, std::string* error);

}  // namespace velmora
