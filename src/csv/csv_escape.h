// The quoting rule for one CSV cell, shared by the table's text output and
// the CSV writer.
#pragma once

#include <string>
#include <string_view>

namespace velmora::csv {

// Returns `cell` unchanged, or enclosed in double quotes with every double
// quote doubled. Quoting happens with `force`, or when the cell holds TAB,
// CR, LF, ';', ',', '"', '\'', `separator` or `list_separator`, starts with
// a space or TAB, or (two characters or more) ends with one, or starts or
// ends with any other space that readers trim from unquoted cells (see
// csv_space.h): readers trim unquoted cells and split them at any of those. With `force` an empty
// cell becomes "". Output always quotes with U+0022, whatever quote a parse used.
std::u16string EscapeCell(std::u16string_view cell, char16_t separator, char16_t list_separator,
                          bool force);

}  // namespace velmora::csv
