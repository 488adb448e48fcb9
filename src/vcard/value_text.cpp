#include "vcard/value_text.h"

#include "foundation/code_page.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora::vcard {
namespace {

// Code pages in which every byte below 0x80 is the ASCII character, so that
// ASCII bytes can be widened without a converter. (UTF-8 is not listed: the
// platform decodes it, ASCII included, in one pass.)
bool IsAsciiCompatible(int code_page) {
  return code_page == 20127 || code_page == 874 || (code_page >= 1250 && code_page <= 1258) ||
         (code_page >= 28591 && code_page <= 28606);
}

// Widens `bytes` into `out` when they are all ASCII; false otherwise.
bool WidenAscii(std::string_view bytes, std::u16string& out) {
  const std::size_t n = bytes.size();
  out.resize(n);
  const char* p = bytes.data();
  char16_t* o = out.data();
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; n - i >= 16; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    if (_mm_movemask_epi8(v) != 0) return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o + i), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o + i + 8), _mm_unpackhi_epi8(v, zero));
  }
#endif
  for (; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(p[i]);
    if (c >= 0x80) return false;
    o[i] = c;
  }
  return true;
}

}  // namespace

bool ValueBytesToUtf16(int code_page, std::string_view bytes, std::u16string& out) {
  const std::size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);
  // UTF-8 has no zero character without a zero byte.
  if (code_page == codepage::kUtf8) return codepage::ToUtf16(code_page, bytes, out);
  if (IsAsciiCompatible(code_page) && WidenAscii(bytes, out) && codepage::IsKnown(code_page)) {
    return true;
  }
  if (!codepage::ToUtf16(code_page, bytes, out)) {
    out.clear();
    return false;
  }
  const std::size_t zero16 = out.find(u'\0');
  if (zero16 != std::u16string::npos) out.resize(zero16);
  return true;
}

}  // namespace velmora::vcard
