// Base64 as vCard uses it for photos, sounds and keys: how far such a value
// reaches in the text, how it decodes, and how binary values are written
// (standard alphabet, "=" padding, cut into lines of fixed length).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::vcard {

// How far a base64 value reaches, from `value_start` in zero-terminated
// content ending at `end` (a zero byte). Only whole lines are taken: the value ends where a line
// holds a character outside the alphabet, where a line without data follows data, where padding
// completes a multiple of four characters, or (for indented data) where a line starts without
// indentation. Returns the value end (the line break of the last line taken is not part of it) and
// sets `cursor` to the start of the first line not taken. When the first line holds other
// characters, the value is empty and `cursor` is `value_start`. Never steps
// over a zero byte.
const char* Base64Extent(const char* value_start, const char* end, const char** cursor);

// Decodes the standard alphabet (A-Z a-z 0-9 + /) four characters at a time,
// skipping every other character ('=', white space, line breaks) and
// stopping at a zero byte: a group of 4 gives 3 bytes, of 3 gives 2, of 2
// gives 1, of 1 nothing. On entry `*size` is the capacity of `destination`;
// bytes are written while they fit. On return `*size` is the whole decoded
// length. True only when a destination was given and everything fitted;
// with no destination the call only measures.
bool Base64Decode(const char* source, std::int32_t length, std::uint8_t* destination,
                  std::int32_t* size);

// Appends the base64 form of `size` bytes at `data` to `out`, writing
// `line_break` after every `line_length` output characters except after
// the last ones (0 makes one line). False, with `out` unchanged, when bytes
// are announced without data or the encoded size cannot be represented.
bool Base64Encode(const std::uint8_t* data, std::size_t size, std::size_t line_length,
                  std::string_view line_break, std::string& out);

// The number of characters Base64Encode appends (0 on overflow).
std::size_t Base64EncodedSize(std::size_t size, std::size_t line_length,
                              std::size_t line_break_length);

}  // namespace velmora::vcard
