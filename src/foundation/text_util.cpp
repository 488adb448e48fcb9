#include "foundation/text_util.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace velmora::text {
namespace {

template <typename Char>
std::basic_string_view<Char> TrimView(std::basic_string_view<Char> s) {
  std::size_t begin = 0, end = s.size();
  while (begin < end && IsSpace(static_cast<char16_t>(s[begin]))) ++begin;
  while (end > begin && IsSpace(static_cast<char16_t>(s[end - 1]))) --end;
  return s.substr(begin, end - begin);
}

template <typename Map>
std::u16string MapCase(std::u16string_view s, Map map) {
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    UChar32 c;
    U16_NEXT(s.data(), i, s.size(), c);
    c = map(c);
    if (U_IS_BMP(c)) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      out.push_back(U16_LEAD(c));
      out.push_back(U16_TRAIL(c));
    }
  }
  return out;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

std::string_view Trim(std::string_view s) { return TrimView(s); }
std::u16string_view Trim(std::u16string_view s) { return TrimView(s); }

std::u16string ToLower(std::u16string_view s) {
  return MapCase(s, [](UChar32 c) { return u_tolower(c); });
}

std::u16string ToUpper(std::u16string_view s) {
  return MapCase(s, [](UChar32 c) { return u_toupper(c); });
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && u_tolower(a[i]) != u_tolower(b[i])) return false;
  }
  return true;
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool EqualsAsciiNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char16_t x = a[i] >= u'A' && a[i] <= u'Z' ? static_cast<char16_t>(a[i] + 32) : a[i];
    const char16_t y = b[i] >= u'A' && b[i] <= u'Z' ? static_cast<char16_t>(b[i] + 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

bool StartsWithAsciiNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsAsciiNoCase(s.substr(0, prefix.size()), prefix);
}

std::u16string ReplaceAll(std::u16string text, std::u16string_view from, std::u16string_view to) {
  if (from.empty()) return text;
  for (std::size_t p = text.find(from); p != std::u16string::npos;
       p = text.find(from, p + to.size())) {
    text.replace(p, from.size(), to);
  }
  return text;
}

std::u16string AsciiToUtf16(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace velmora::text
