// The command's one UTF-8 decoder: for JSON escaping (which must know where a
// valid sequence ends) and for terminal column widths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora::cli {

struct Utf8CodePoint {
  std::uint32_t value = 0;  // U+FFFD when not valid
  std::size_t length = 1;   // bytes taken; 1 for an invalid byte
  bool valid = false;
};

// The code point at `text[at]` (`at` < text.size()). Overlong forms,
// surrogates, values above U+10FFFF and cut-off sequences are not valid:
// their first byte is taken alone.
Utf8CodePoint DecodeUtf8At(std::string_view text, std::size_t at);

}  // namespace velmora::cli
