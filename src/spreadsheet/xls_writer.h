// Writing .xls workbooks: no Debian library writes BIFF, so the records
// are ours. The workbook stream holds BIFF8 records (the globals with one
// BOUNDSHEET per sheet and every text once in the shared string table,
// then per sheet its cells as LABELSST records) and libgsf puts it into a
// compound file, the container Excel 97 and later read.
#pragma once

#include <filesystem>
#include <string>

#include "spreadsheet/workbook_content.h"

namespace velmora::spreadsheet {

// The workbook stream of the sheets' string cells.
std::string XlsWorkbookStream(const WorkbookContent& content);

// Writes it to `file` in a compound file. False with a message.
bool WriteXls(const WorkbookContent& content, const std::filesystem::path& file,
              std::string* error);

}  // namespace velmora::spreadsheet
