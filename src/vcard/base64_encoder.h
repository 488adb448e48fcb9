// Base64 encoding (standard alphabet, "=" padding) of binary property
// values such as photos, cut into lines of fixed length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Appends the base64 form of `size` bytes at `data` to `out`, writing
// `line_break` after every `line_length` output characters except after
// the last ones (0 makes one line). False, with `out` unchanged, when bytes
// are announced without data or the encoded size cannot be represented.
bool Base64Encode(const std::uint8_t* data, std::size_t size, std::size_t line_length,
                  std::string_view line_break, std::string& out);

// The number of characters Base64Encode appends (0 on overflow).
std::size_t Base64EncodedSize(std::size_t size, std::size_t line_length,
                              std::size_t line_break_length);

}  // namespace velmora
