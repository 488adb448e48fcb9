// Reading .xls workbooks (BIFF5 and BIFF8 in a compound file). freexl
// reads the sheets, their names and cells and decodes the strings in the
// workbook's code page. freexl leaves out booleans, error values and the
// results of formulas, and hands dates over as text cut to what their
// format shows; a pass of our own over the records (the compound file
// opened with libgsf) adds those cells and the exact date numbers, and
// tells dates by the cell formats with the same rules as the other
// formats. A BIFF5 workbook that freexl cannot read at all (it fails on
// some code pages, Mac Roman among them) is read from the records alone;
// BIFF8 keeps its text in shared strings that only freexl reads. Chart
// sheets are listed without cells.
#pragma once

#include <filesystem>
#include <string>

#include "spreadsheet/workbook_content.h"
#include "spreadsheet/workbook_limits.h"

namespace velmora::spreadsheet {

// Reads every sheet, or only the one at `sheet_index`. False with a
// message when the file cannot be read, is damaged or reaches a limit.
bool ReadXls(const std::filesystem::path& file, int sheet_index, const WorkbookLimits& limits,
             WorkbookContent* content, std::string* error);

// The same from the records alone, for BIFF5 workbooks (false for BIFF8):
// the path ReadXls takes when freexl cannot read one.
bool ReadXlsRecords(const std::filesystem::path& file, int sheet_index,
                    const WorkbookLimits& limits, WorkbookContent* content, std::string* error);

}  // namespace velmora::spreadsheet
