// Conversion between bytes in a Windows code page and UTF-16.
//
// Code pages are named by their Windows numbers because that is what the
// system stores and reports (supportedEncodings.txt, CSV locales, statuses).
// The conversions run on ICU; converters are opened once per thread and kept.
#pragma once

#include <string>
#include <string_view>

namespace velmora::codepage {

inline constexpr int kAnsi = 0;  // CP_ACP: the system's ANSI code page
inline constexpr int kUtf16LE = 1200;
inline constexpr int kUtf16BE = 1201;
inline constexpr int kUsAscii = 20127;
inline constexpr int kLatin1 = 28591;
inline constexpr int kUtf7 = 65000;
inline constexpr int kUtf8 = 65001;
inline constexpr int kWindows1252 = 1252;

// Whether the platform can convert this code page. 0 (CP_ACP) counts as the
// ANSI code page.
bool IsKnown(int code_page);

// Decodes `bytes` into `out` (replacing its content). Invalid or truncated
// byte sequences become U+FFFD. Returns false, with `out` empty, only for an
// unknown code page. Code page 0 means the ANSI code page.
bool ToUtf16(int code_page, std::string_view bytes, std::u16string& out);

// Encodes `text` into `out` (replacing its content). Characters the code page
// cannot hold become '?' (U+FFFD for the Unicode code pages). Returns false,
// with `out` empty, only for an unknown code page.
bool FromUtf16(int code_page, std::u16string_view text, std::string& out);

// How many characters of `text` FromUtf16 wrote as '?' in `out` because
// the code page cannot hold them: the '?' of the output that the text did
// not have. 0 for the Unicode code pages. ('?' is never a trail byte of the
// double-byte code pages, so the count holds for them too.)
int CountSubstituted(int code_page, std::u16string_view text, std::string_view out);

// Convenience forms returning the result (empty for an unknown code page).
std::u16string ToUtf16(int code_page, std::string_view bytes);
std::string FromUtf16(int code_page, std::u16string_view text);

// True when every byte is below 0x80.
bool IsAscii(std::string_view bytes);

// True when `bytes` is well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);

}  // namespace velmora::codepage
