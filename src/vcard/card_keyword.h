// Comparing vCard names and keywords: equal length and the same letters
// without regard to ASCII case ("begin", "Begin" and "BEGIN" are one).
#pragma once

#include <string_view>

namespace velmora::vcard {

inline bool KeywordEquals(std::string_view text, std::string_view keyword) {
  if (text.size() != keyword.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char a = text[i];
    char b = keyword[i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
    if (a != b) return false;
  }
  return true;
}

}  // namespace velmora::vcard
