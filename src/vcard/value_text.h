// Turning the bytes of a decoded vCard value into UTF-16 text.
#pragma once

#include <string>
#include <string_view>

namespace velmora::vcard {

// Converts `bytes` from `code_page` into `out` (replacing it), the text cut
// at its first zero character. False, with `out` empty, when the platform
// cannot convert that code page.
bool ValueBytesToUtf16(int code_page, std::string_view bytes, std::u16string& out);

}  // namespace velmora::vcard
