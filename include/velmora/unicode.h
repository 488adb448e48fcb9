// UTF-8 <-> UTF-16 helpers for callers. The object model speaks UTF-16
// (std::u16string); most Linux programs hold UTF-8.
#pragma once

#include <string>
#include <string_view>

#include <velmora/export.h>

namespace velmora {

// Invalid UTF-8 sequences become U+FFFD; never fails.
VELMORA_API std::u16string Utf8ToUtf16(std::string_view utf8);
// Unpaired surrogates become U+FFFD; never fails.
VELMORA_API std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace velmora
