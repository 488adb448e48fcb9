#include "spreadsheet/xlsb_reader.h"

namespace velmora {

bool ReadXlsb(ZipArchive&, int, const WorkbookLimits&, WorkbookContent*, std::string* error) {
  *error = "reading .xlsb is not available yet";
  return false;
}

}  // namespace velmora
