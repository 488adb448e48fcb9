#include "spreadsheet/ooxml_text.h"

#include <cstdint>

namespace velmora::spreadsheet {
namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool IsEscapeAt(std::u16string_view text, std::size_t i) {
  if (i + 6 >= text.size() || text[i] != u'_' || text[i + 1] != u'x' || text[i + 6] != u'_') {
    return false;
  }
  for (std::size_t k = 2; k < 6; ++k) {
    if (HexValue(text[i + k]) < 0) return false;
  }
  return true;
}

}  // namespace

std::u16string EscapeOoxmlLookalikes(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsEscapeAt(text, i)) out += u"_x005F";
    out += text[i];
  }
  return out;
}

std::u16string UnescapeOoxml(std::u16string text) {
  if (text.find(u"_x") == std::u16string::npos) return text;
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsEscapeAt(text, i)) {
      int value = 0;
      for (std::size_t k = 2; k < 6; ++k) value = value * 16 + HexValue(text[i + k]);
      out += static_cast<char16_t>(value);
      i += 6;
      continue;
    }
    out += text[i];
  }
  return out;
}

bool ParseCellReference(std::string_view reference, std::uint32_t* row, std::uint32_t* col) {
  std::size_t i = 0;
  std::uint32_t c = 0;
  while (i < reference.size() && i < 3) {
    char letter = reference[i];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
    if (letter < 'A' || letter > 'Z') break;
    c = c * 26 + static_cast<std::uint32_t>(letter - 'A' + 1);
    ++i;
  }
  if (i == 0 || i == reference.size()) return false;
  std::uint32_t r = 0;
  for (std::size_t k = i; k < reference.size(); ++k) {
    if (reference[k] < '0' || reference[k] > '9' || k - i >= 7) return false;
    r = r * 10 + static_cast<std::uint32_t>(reference[k] - '0');
  }
  if (r < 1 || r > 1048576 || c > 16384) return false;
  *row = r - 1;
  *col = c - 1;
  return true;
}

}  // namespace velmora::spreadsheet
