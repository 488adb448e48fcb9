// Reading .xls workbooks (BIFF5 and BIFF8 in a compound file).
#pragma once

#include <filesystem>
#include <string>

#include "spreadsheet/workbook_content.h"
#include "spreadsheet/workbook_limits.h"

namespace velmora {

// Reads every sheet, or only the one at `sheet_index`. False with a
// message when the file cannot be read or is damaged.
bool ReadXls(const std::filesystem::path& file, int sheet_index, const WorkbookLimits& limits,
             WorkbookContent* content, std::string* error);

}  // namespace velmora
