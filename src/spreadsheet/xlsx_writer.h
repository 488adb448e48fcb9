// Writing .xlsx and .xlsm workbooks with libxlsxwriter: every cell a
// string cell, the strings shared. A .xlsm is the same package with the
// content type of a macro-enabled workbook and no macros: libxlsxwriter
// gives that type only with a macro project, so the package is copied
// with its [Content_Types].xml changed, every other part copied as it is
// compressed.
#pragma once

#include <filesystem>
#include <string>

#include "spreadsheet/workbook_content.h"

namespace velmora::spreadsheet {

// Writes the sheets' string cells to `file`. False with a message (the
// file may then be left partly written; callers write to a temporary one).
bool WriteXlsx(const WorkbookContent& content, const std::filesystem::path& file,
               bool macro_enabled, std::string* error);

}  // namespace velmora::spreadsheet
