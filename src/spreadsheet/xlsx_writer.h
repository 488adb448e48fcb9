// Writing .xlsx and .xlsm workbooks.
#pragma once

#include <filesystem>
#include <string>

#include "spreadsheet/workbook_content.h"

namespace velmora {

// Writes the sheets' string cells to `file`; `macro_enabled` gives the
// package the content type of a macro-enabled workbook (without macros).
bool WriteXlsx(const WorkbookContent& content, const std::filesystem::path& file,
               bool macro_enabled, std::string* error);

}  // namespace velmora
