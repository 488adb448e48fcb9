// Small text helpers shared by every layer.
#pragma once

#include <string>
#include <string_view>

namespace velmora::text {

// White space here is space, TAB, CR, LF, VT and FF.
constexpr bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

std::string_view Trim(std::string_view s);
std::u16string_view Trim(std::u16string_view s);

// Lower case by Unicode's simple case mapping (locale-independent).
std::u16string ToLower(std::u16string_view s);
std::u16string ToUpper(std::u16string_view s);

bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
bool EqualsAsciiNoCase(std::string_view a, std::string_view b);
// Only A to Z and a to z are told apart from their other case.
bool EqualsAsciiNoCase(std::u16string_view a, std::u16string_view b);
bool StartsWithAsciiNoCase(std::string_view s, std::string_view prefix);

// `text` with every `from` replaced by `to`, left to right; unchanged for an
// empty `from`.
std::u16string ReplaceAll(std::u16string text, std::u16string_view from, std::u16string_view to);

// Widens ASCII (each byte to one unit); for literals and known-ASCII text.
std::u16string AsciiToUtf16(std::string_view ascii);

}  // namespace velmora::text
