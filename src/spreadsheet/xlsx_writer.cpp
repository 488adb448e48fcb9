#include "spreadsheet/xlsx_writer.h"

namespace velmora {

bool WriteXlsx(const WorkbookContent&, const std::filesystem::path&, bool, std::string* error) {
  *error = "writing .xlsx is not available yet";
  return false;
}

}  // namespace velmora
