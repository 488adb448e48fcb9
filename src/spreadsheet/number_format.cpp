#include "spreadsheet/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "foundation/text_util.h"

namespace velmora::spreadsheet {
namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool IsElapsedTime(std::u16string_view inside) {
  if (inside.empty()) return false;
  const char16_t first = Lower(inside.front());
  if (first != u'h' && first != u'm' && first != u's') return false;
  for (const char16_t c : inside) {
    if (Lower(c) != first) return false;
  }
  return true;
}

}  // namespace

bool IsBuiltInDateFormat(int id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
         (id >= 50 && id <= 58);
}

bool IsDateFormatCode(std::u16string_view code) {
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char16_t c = code[i];
    switch (c) {
      case u'"': {
        const std::size_t end = code.find(u'"', i + 1);
        if (end == std::u16string_view::npos) return false;
        i = end;
        break;
      }
      case u'\\':
      case u'_':
      case u'*':
        ++i;  // the next character is literal text, padding or fill
        break;
      case u'[': {
        const std::size_t end = code.find(u']', i + 1);
        if (end == std::u16string_view::npos) return false;
        if (IsElapsedTime(code.substr(i + 1, end - i - 1))) return true;
        i = end;
        break;
      }
      default:
        switch (Lower(c)) {
          case u'y':
          case u'm':
          case u'd':
          case u'h':
          case u's':
            return true;
          default:
            break;
        }
    }
  }
  return false;
}

std::u16string GeneralNumberText(double value) {
  if (!std::isfinite(value)) return {};
  if (value == 0) return u"0";
  char text[64];
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    std::snprintf(text, sizeof text, "%.0f", value);
    return text::AsciiToUtf16(text);
  }
  std::snprintf(text, sizeof text, "%.15g", value);
  std::string out = text;
  const std::size_t e = out.find('e');
  if (e != std::string::npos) {
    // 1.5e+20 as 1.5E+20, the exponent with at least two digits.
    const char sign = out[e + 1];
    const int exponent = std::atoi(out.c_str() + e + 2);
    std::snprintf(text, sizeof text, "E%c%02d", sign, exponent);
    out = out.substr(0, e) + text;
  }
  return text::AsciiToUtf16(out);
}

}  // namespace velmora::spreadsheet
