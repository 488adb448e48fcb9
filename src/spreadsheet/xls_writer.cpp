#include "spreadsheet/xls_writer.h"

namespace velmora {

bool WriteXls(const WorkbookContent&, const std::filesystem::path&, std::string* error) {
  *error = "writing .xls is not available yet";
  return false;
}

}  // namespace velmora
