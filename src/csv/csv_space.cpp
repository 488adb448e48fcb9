#include "csv/csv_space.h"

#include <unicode/uchar.h>

namespace velmora::csv {

bool IsCsvSpace(char16_t c) {
  return (c >= u'\t' && c <= u'\r') || c == u' ' || u_isJavaSpaceChar(c);
}

std::u16string_view TrimCsvSpaceRight(std::u16string_view s) {
  while (!s.empty() && IsCsvSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::u16string_view TrimCsvSpace(std::u16string_view s) {
  while (!s.empty() && IsCsvSpace(s.front())) s.remove_prefix(1);
  return TrimCsvSpaceRight(s);
}

}  // namespace velmora::csv
