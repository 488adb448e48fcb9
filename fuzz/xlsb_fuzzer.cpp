// Fuzzes the .xlsb reader through the check in workbook_fuzz.h.
#include "workbook_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return velmora::fuzz::FuzzWorkbook(velmora::spreadsheet::WorkbookKind::kXlsb, data, size);
}
