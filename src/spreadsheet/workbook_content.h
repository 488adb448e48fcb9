// What a reader gives the workbook: its date system and its sheets, in the
// file's order.
#pragma once

#include <memory>
#include <vector>

#include "spreadsheet/excel_date.h"
#include "spreadsheet/workbook_sheet.h"

namespace velmora::spreadsheet {

struct WorkbookContent {
  DateSystem date_system = DateSystem::k1900;
  std::vector<std::unique_ptr<WorkbookSheet>> sheets;
};

// Reading all sheets, or only the one at an index (which then becomes the
// content's only sheet).
inline constexpr int kAllSheets = -1;

}  // namespace velmora::spreadsheet
