#include "vcard/value_unescape.h"

#include <bit>
#include <cstring>

#include "vcard/card_line_scan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora::vcard {

bool ValueNeedsUnescape(std::string_view raw, bool version30) {
  const char* p = raw.data();
  const char* end = p + raw.size();
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  // In 2.1 the backslash test looks for CR a second time instead.
  const __m128i backslash = _mm_set1_epi8(version30 ? '\\' : '\r');
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)),
                                     _mm_cmpeq_epi8(v, backslash));
    if (_mm_movemask_epi8(hit) != 0) return true;
  }
#endif
  for (; p < end; ++p) {
    if (*p == '\r' || *p == '\n' || (*p == '\\' && version30)) return true;
  }
  return false;
}

void UnfoldAndUnescape(std::string_view raw, bool version30, bool unescape_semicolons,
                       bool unescape_commas, std::string& out) {
  // The result is never longer than the value ("\n" gives two bytes for two).
  out.resize(raw.size());
  char* o = out.data();
  const std::size_t n = raw.size();
  std::size_t i = 0;
  while (i < n) {
    const char c = raw[i];
    if (c == '\r' || c == '\n') {
      i += (c == '\r' && i + 1 < n && raw[i + 1] == '\n') ? 2 : 1;
      if (version30 && i < n && raw[i] == ' ') ++i;
      continue;
    }
    if (c == '\\' && version30 && i + 1 < n) {
      const char next = raw[i + 1];
      bool handled = true;
      switch (next) {
        case ',':
          if (!unescape_commas) *o++ = '\\';
          *o++ = ',';
          break;
        case ';':
          if (!unescape_semicolons) *o++ = '\\';
          *o++ = ';';
          break;
        case 'n':
        case 'N':
          *o++ = '\r';
          *o++ = '\n';
          break;
        case '\\':
          *o++ = '\\';
          if (!(unescape_semicolons && unescape_commas)) *o++ = '\\';
          break;
        default:
          handled = false;  // the backslash alone; the next byte is read normally
          break;
      }
      if (handled) {
        i += 2;
        continue;
      }
    }
    // A run of ordinary bytes up to the next line break or backslash.
    const char* start = raw.data() + i;
    const char* run_end =
        scan::FindAnyOf4(start + 1, raw.data() + n, '\r', '\n', version30 ? '\\' : '\r', '\r');
    const std::size_t run = static_cast<std::size_t>(run_end - start);
    std::memcpy(o, start, run);
    o += run;
    i += run;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
}

}  // namespace velmora::vcard
