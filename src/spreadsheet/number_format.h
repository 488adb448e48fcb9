// Number formats, as far as reading needs them: whether a cell's format
// shows a date or a time (the file stores both as plain numbers), and the
// text of a number in the General format.
#pragma once

#include <string>
#include <string_view>

namespace velmora::spreadsheet {

// The built-in formats that show dates or times (14-22, 45-47, and the
// East Asian date formats 27-36 and 50-58).
bool IsBuiltInDateFormat(int id);

// Whether a format code shows a date or time: it holds y, m, d, h or s (in
// any case) outside quoted text, escapes, fills and brackets, or an elapsed
// time in brackets ("[h]:mm"). Colours, conditions and locale tags in
// brackets do not count.
bool IsDateFormatCode(std::u16string_view code);

// `value` as the General format shows it: integers below 10^15 in full,
// other numbers with up to 15 significant digits and no trailing zeros,
// very large or small ones as "1.5E+20". Empty for a non-finite number,
// which has no text.
std::u16string GeneralNumberText(double value);

}  // namespace velmora::spreadsheet
