// Preparing a vCard document's content for the reader: byte-order marks,
// UTF-16 (with or without mark) turned into UTF-8, stray zero code units and
// control characters made harmless.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "foundation/log.h"

namespace velmora::vcard {

// The longest content a vCard document holds: its length is a 32-bit number
// (with room to spare for a terminator).
inline constexpr std::int32_t kMaxCardContentLength = 0x7FFFFFFD;

// The UTF-8 byte-order mark: at the start of content it marks the whole
// content as UTF-8; right before a BEGIN line, that one card.
inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// True when `at` (within content ending at `end`) starts with the mark.
inline bool StartsWithUtf8Mark(const char* at, const char* end) {
  return end - at >= 3 && at[0] == '\xEF' && at[1] == '\xBB' && at[2] == '\xBF';
}

// Decodes the content held in `storage` (exactly `length` bytes) in place or
// by replacing the string; the same holds on return.
//  - EF BB BF: UTF-8 with a mark; the mark goes, `content_is_utf8` is set.
//  - FF FE / FE FF, or a first byte and a zero (LE) or a zero and a byte (BE)
//    without mark: UTF-16, converted to UTF-8; `content_is_utf8` is set. An
//    odd trailing byte cannot form a code unit; it is dropped with a warning.
//  - anything else: 8-bit text, left as it is.
// Zero code units are replaced by spaces and reported as binary content
// (with `file_name`). False, with an error logged, only when the UTF-8 form
// would exceed the document's size limit.
bool DecodeCardContent(CLog& log, std::string& storage, std::int32_t& length,
                       const std::filesystem::path& file_name, bool& content_is_utf8);

// Replaces the control characters 0x01-0x08, 0x0B, 0x0C and 0x0E-0x1F by
// spaces (TAB, LF, CR and zero bytes stay); returns how many there were.
std::int32_t ReplaceControlChars(char* data, std::int32_t length);

}  // namespace velmora::vcard
