// Cell text of the OOXML formats: UTF-8 from the XML (or UTF-16 from the
// binary records) with the "_xHHHH_" escapes that writers use for
// characters XML cannot carry (carriage returns, control characters)
// turned back into those characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::spreadsheet {

// Turns every "_xHHHH_" into the unit it names; "_x005F_" stands for the
// underscore itself, so "_x005F_x000D_" stays the text "_x000D_".
std::u16string UnescapeOoxml(std::u16string text);

// Makes text that reads like an escape ("_x000D_") stay text, by escaping
// its underscore ("_x005F_x000D_"); writers escape control characters
// themselves.
std::u16string EscapeOoxmlLookalikes(std::u16string_view text);

// The cell reference "B12" as 0-based row 11 and column 1; false for a
// malformed reference or one beyond XFD1048576.
bool ParseCellReference(std::string_view reference, std::uint32_t* row, std::uint32_t* col);

}  // namespace velmora::spreadsheet
