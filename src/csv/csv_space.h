// The white space that CSV readers trim from unquoted cells, and that the
// writer therefore has to protect with quotes.
#pragma once

#include <string_view>

namespace velmora::csv {

// TAB, LF, VT, FF, CR, space and every other Unicode space separator
// (no-break space included, which spreadsheets like to leave behind).
bool IsCsvSpace(char16_t c);

std::u16string_view TrimCsvSpaceRight(std::u16string_view s);
std::u16string_view TrimCsvSpace(std::u16string_view s);

}  // namespace velmora::csv
