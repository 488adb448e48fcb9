// The error values a spreadsheet cell can hold, by the codes the binary
// formats store (#NULL! 0, #DIV/0! 7, #VALUE! 15, #REF! 23, #NAME? 29,
// #NUM! 36, #N/A 42) and the texts the XML format stores.
#pragma once

#include <string_view>

namespace velmora::spreadsheet {

// The code stored for an error text that none of the codes stand for
// (newer values such as #SPILL!, #GETTING_DATA): readers keep the cell
// an error cell.
inline constexpr int kUnknownCellError = 255;

// The code of an error text ("#DIV/0!" gives 7); kUnknownCellError for
// any other text.
int CellErrorCode(std::string_view text);

// The text of an error code; empty for a code without one.
std::string_view CellErrorText(int code);

}  // namespace velmora::spreadsheet
