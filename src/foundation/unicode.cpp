#include <velmora/unicode.h>

#include "foundation/code_page.h"

namespace velmora {

std::u16string Utf8ToUtf16(std::string_view utf8) {
  return codepage::ToUtf16(codepage::kUtf8, utf8);
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  return codepage::FromUtf16(codepage::kUtf8, utf16);
}

}  // namespace velmora
