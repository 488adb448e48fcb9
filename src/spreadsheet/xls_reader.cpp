#include "spreadsheet/xls_reader.h"

namespace velmora {

bool ReadXls(const std::filesystem::path&, int, const WorkbookLimits&, WorkbookContent*,
             std::string* error) {
  *error = "reading .xls is not available yet";
  return false;
}

}  // namespace velmora
