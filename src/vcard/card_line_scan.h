// Fast scans over a document's content for the bytes that end a line or a
// quoted-printable run, and for control characters. Sixteen bytes are
// tested at a time (SSE2) while at least sixteen remain before `end` (the
// content's terminating zero byte); the rest is read byte by byte, stopping
// at that zero at the latest.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora::vcard::scan {

constexpr bool IsLineEnd(unsigned char c) {
  return c <= '\r' && (c == '\r' || c == '\n' || c == '\0');
}

// Past the line break at `p`: CR LF, a lone LF or a lone CR, and also CR CR
// LF, which some phone exports (iOS 6) write for every line break and which
// would otherwise read as an extra empty line that cuts multi-line base64
// data apart. A zero byte (or any other) stays.
inline const char* SkipLineBreak(const char* p) {
  if (*p == '\r') {
    if (p[1] == '\n') return p + 2;
    if (p[1] == '\r' && p[2] == '\n') return p + 3;
    return p + 1;
  }
  return *p == '\n' ? p + 1 : p;
}

// The first CR, LF or zero byte at or after `p`.
inline const char* FindLineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)),
                                     _mm_cmpeq_epi8(v, zero));
    const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
    if (bits != 0) return p + std::countr_zero(bits);
    p += 16;
  }
#endif
  while (!IsLineEnd(static_cast<unsigned char>(*p))) ++p;
  return p;
}

// The first '=', CR, LF or zero byte at or after `p`.
inline const char* FindQuotedPrintableStop(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i eq = _mm_set1_epi8('=');
  const __m128i zero = _mm_setzero_si128();
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)),
                                     _mm_or_si128(_mm_cmpeq_epi8(v, eq), _mm_cmpeq_epi8(v, zero)));
    const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
    if (bits != 0) return p + std::countr_zero(bits);
    p += 16;
  }
#endif
  for (;; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c == '=' || IsLineEnd(c)) return p;
  }
}

// The first byte at or after `p` and before `end` that is `a`, `b`, `c` or
// `d`; `end` when there is none. Reads nothing at or past `end`.
inline const char* FindAnyOf4(const char* p, const char* end, char a, char b, char c, char d) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a);
  const __m128i vb = _mm_set1_epi8(b);
  const __m128i vc = _mm_set1_epi8(c);
  const __m128i vd = _mm_set1_epi8(d);
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)),
                                     _mm_or_si128(_mm_cmpeq_epi8(v, vc), _mm_cmpeq_epi8(v, vd)));
    const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
    if (bits != 0) return p + std::countr_zero(bits);
    p += 16;
  }
#endif
  while (p < end && *p != a && *p != b && *p != c && *p != d) ++p;
  return p;
}

#if defined(__SSE2__)
// Bits of the bytes of `v` that end a line (CR, LF, zero).
inline unsigned LineEndBits(__m128i v) {
  const __m128i hit = _mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))),
      _mm_cmpeq_epi8(v, _mm_setzero_si128()));
  return static_cast<unsigned>(_mm_movemask_epi8(hit));
}
#endif

// The end of a property name at or after `p`: the first ':', ';', '.', CR,
// LF or zero byte (with `with_dot` false, '.' does not stop).
inline const char* FindNameStop(const char* p, const char* end, bool with_dot) {
#if defined(__SSE2__)
  const __m128i colon = _mm_set1_epi8(':');
  const __m128i semicolon = _mm_set1_epi8(';');
  const __m128i dot = _mm_set1_epi8(with_dot ? '.' : ':');
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hit =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, colon), _mm_cmpeq_epi8(v, semicolon)),
                     _mm_cmpeq_epi8(v, dot));
    const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit)) | LineEndBits(v);
    if (bits != 0) return p + std::countr_zero(bits);
    p += 16;
  }
#endif
  for (;; ++p) {
    const char c = *p;
    if (c == ':' || c == ';' || (c == '.' && with_dot) ||
        IsLineEnd(static_cast<unsigned char>(c))) {
      return p;
    }
  }
}

// The first ':', CR, LF or zero byte at or after `p`, adding the number of
// ';' before it to `count`.
inline const char* FindColonCountingSemicolons(const char* p, const char* end, std::size_t& count) {
#if defined(__SSE2__)
  const __m128i colon = _mm_set1_epi8(':');
  const __m128i semicolon = _mm_set1_epi8(';');
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const unsigned stops =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, colon))) | LineEndBits(v);
    unsigned semicolons = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, semicolon)));
    int at = 16;
    if (stops != 0) {
      at = std::countr_zero(stops);
      semicolons &= (1u << at) - 1;
    }
    for (; semicolons != 0; semicolons &= semicolons - 1) ++count;
    if (stops != 0) return p + at;
    p += 16;
  }
#endif
  for (;; ++p) {
    const char c = *p;
    if (c == ':' || IsLineEnd(static_cast<unsigned char>(c))) return p;
    count += c == ';';
  }
}

}  // namespace velmora::vcard::scan
