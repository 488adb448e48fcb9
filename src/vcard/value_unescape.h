// Plain (neither quoted-printable nor base64) vCard values: folds removed
// and, from vCard 3.0 on, backslash escapes resolved.
#pragma once

#include <string>
#include <string_view>

namespace velmora::vcard {

// True when UnfoldAndUnescape would change `raw` (it holds a line break, or
// a backslash in a 3.0 value).
bool ValueNeedsUnescape(std::string_view raw, bool version30);

// Writes `raw` to `out` (replacing it) with every line break (CR LF, CR or
// LF) dropped; in 3.0 also the one space after it, which only marks the fold
// ("a\r\n b" is "a b" in 2.1 and "ab" in 3.0). In 3.0 a backslash escapes:
// "\," -> "," and "\;" -> ";" when unescaping those, "\n" or "\N" -> CR LF,
// "\\" -> "\" when unescaping both, otherwise the pair stays; a backslash
// before anything else stays alone. In 2.1 a backslash is an ordinary byte.
void UnfoldAndUnescape(std::string_view raw, bool version30, bool unescape_semicolons,
                       bool unescape_commas, std::string& out);

}  // namespace velmora::vcard
