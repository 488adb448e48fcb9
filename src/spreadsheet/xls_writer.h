// Writing .xls workbooks.
#pragma once

#include <filesystem>
#include <string>

#include "spreadsheet/workbook_content.h"

namespace velmora {

// Writes the sheets' string cells to `file`.
bool WriteXls(const WorkbookContent& content, const std::filesystem::path& file,
              std::string* error);

}  // namespace velmora
