#include "vcard/card_content_decoding.h"

#include <bit>
#include <cstring>

#include <velmora/status.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "foundation/code_page.h"

namespace velmora::vcard {
namespace {

constexpr char kLabel[] = "CCardDoc.Load_DecodeContent";

enum class ContentKind { k8Bit, kUtf8Bom, kUtf16LE, kUtf16BE };

void ReportBinary(CLog& log, const std::filesystem::path& file_name, std::int64_t count) {
  if (count > 0) {
    log.LogError(kLabel, E_GENERIC_FAILURE,
                 "Content(%s) contains unencoded binary data(%d bad symbols)! It "
                 "cannot be imported correctly.",
                 file_name.native(), count);
  }
}

constexpr bool IsControl(unsigned char c) {
  return c < 0x20 && c != 0 && c != '\t' && c != '\n' && c != '\r';
}

}  // namespace

bool DecodeCardContent(CLog& log, std::string& storage, std::int32_t& length,
                       const std::filesystem::path& file_name, bool& content_is_utf8) {
  content_is_utf8 = false;
  if (length < 2) return true;
  const auto* b = reinterpret_cast<const unsigned char*>(storage.data());
  ContentKind kind = ContentKind::k8Bit;
  std::int32_t skip = 0;
  if (length >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    kind = ContentKind::kUtf8Bom;
    skip = 3;
  } else if (b[0] == 0xFF && b[1] == 0xFE) {
    kind = ContentKind::kUtf16LE;
    skip = 2;
  } else if (b[0] == 0xFE && b[1] == 0xFF) {
    kind = ContentKind::kUtf16BE;
    skip = 2;
  } else if (b[0] != 0 && b[1] == 0) {
    kind = ContentKind::kUtf16LE;
  } else if (b[0] == 0 && b[1] != 0) {
    kind = ContentKind::kUtf16BE;
  }
  const std::int32_t n = length - skip;

  if (kind == ContentKind::k8Bit || kind == ContentKind::kUtf8Bom) {
    std::int64_t zeros = 0;
    char* data = storage.data() + skip;
    for (std::int32_t i = 0; i < n; ++i) {
      if (data[i] == '\0') {
        data[i] = ' ';
        ++zeros;
      }
    }
    ReportBinary(log, file_name, zeros);
    if (kind == ContentKind::kUtf8Bom) {
      storage.erase(0, 3);
      length = n;
      content_is_utf8 = true;
    }
    return true;
  }

  // UTF-16. The code units are gathered in host order while zero units are
  // counted, then converted to UTF-8 in one go.
  if (n % 2 != 0) {
    log.LogWarning(kLabel, E_GENERIC_FAILURE,
                   "UTF-16 content has an odd byte count(%d): the last byte is ignored", n);
  }
  const std::int32_t units = n / 2;
  std::u16string text(static_cast<std::size_t>(units), u'\0');
  std::int64_t zeros = 0;
  const unsigned char* src = b + skip;
  const bool little = kind == ContentKind::kUtf16LE;
  for (std::int32_t i = 0; i < units; ++i) {
    const unsigned lo = src[2 * i], hi = src[2 * i + 1];
    char16_t unit = static_cast<char16_t>(little ? (hi << 8 | lo) : (lo << 8 | hi));
    if (unit == 0) {
      unit = u' ';
      ++zeros;
    }
    text[static_cast<std::size_t>(i)] = unit;
  }
  ReportBinary(log, file_name, zeros);
  std::string utf8;
  if (units > 0) codepage::FromUtf16(codepage::kUtf8, text, utf8);
  if (utf8.size() > static_cast<std::size_t>(kMaxCardContentLength)) {
    log.LogError(kLabel, HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE),
                 "UTF-8 form of the content too large(%d bytes)", utf8.size());
    return false;
  }
  length = static_cast<std::int32_t>(utf8.size());
  storage = std::move(utf8);
  content_is_utf8 = true;
  return true;
}

std::int32_t ReplaceControlChars(char* data, std::int32_t length) {
  std::int32_t count = 0;
  std::int32_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time; a block is changed only when it holds a byte
  // below 0x20 that is neither TAB, LF, CR nor zero.
  const __m128i limit = _mm_set1_epi8(0x1F);
  const __m128i zero = _mm_setzero_si128();
  const __m128i tab = _mm_set1_epi8('\t');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i space = _mm_set1_epi8(' ');
  for (; length - i >= 16; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i below = _mm_cmpeq_epi8(_mm_max_epu8(v, limit), limit);
    const __m128i allowed =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, zero), _mm_cmpeq_epi8(v, tab)),
                     _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
    const __m128i control = _mm_andnot_si128(allowed, below);
    const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(control));
    if (bits == 0) continue;
    count += std::popcount(bits);
    v = _mm_or_si128(_mm_andnot_si128(control, v), _mm_and_si128(control, space));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(data + i), v);
  }
#endif
  for (; i < length; ++i) {
    if (IsControl(static_cast<unsigned char>(data[i]))) {
      data[i] = ' ';
      ++count;
    }
  }
  return count;
}

}  // namespace velmora::vcard
