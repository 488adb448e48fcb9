#include "csv/csv_escape.h"

#include "csv/csv_space.h"

namespace velmora::csv {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool NeedsQuotes(std::u16string_view cell, char16_t separator, char16_t list_separator) {
  if (cell.empty()) return false;
  for (char16_t c : cell) {
    switch (c) {
      case u'\t':
      case u'\r':
      case u'\n':
      case u';':
      case u',':
      case u'"':
      case u'\'':
        return true;
      default:
        if (c == separator || c == list_separator) return true;
    }
  }
  if (IsBlank(cell.front()) || (cell.size() >= 2 && IsBlank(cell.back()))) return true;
  // Any other space the reader trims from an unquoted cell (no-break space,
  // VT, FF) would be lost on the way back.
  return IsCsvSpace(cell.front()) || IsCsvSpace(cell.back());
}

}  // namespace

std::u16string EscapeCell(std::u16string_view cell, char16_t separator, char16_t list_separator,
                          bool force) {
  if (!force && !NeedsQuotes(cell, separator, list_separator)) return std::u16string(cell);
  std::u16string out;
  out.reserve(cell.size() + 2);
  out.push_back(u'"');
  for (char16_t c : cell) {
    if (c == u'"') out.push_back(u'"');
    out.push_back(c);
  }
  out.push_back(u'"');
  return out;
}

}  // namespace velmora::csv
