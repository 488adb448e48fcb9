#include "foundation/code_page.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unordered_map>

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "foundation/system_settings.h"

namespace velmora::codepage {
namespace {

// Windows code page numbers and the ICU converters that implement them.
struct CodePageName {
  int code_page;
  const char* icu_name;
};

constexpr CodePageName kCodePages[] = {
    {437, "IBM437"},
    {737, "IBM737"},
    {775, "IBM775"},
    {850, "IBM850"},
    {852, "IBM852"},
    {855, "IBM855"},
    {857, "IBM857"},
    {860, "IBM860"},
    {861, "IBM861"},
    {862, "IBM862"},
    {863, "IBM863"},
    {864, "IBM864"},
    {865, "IBM865"},
    {866, "IBM866"},
    {869, "IBM869"},
    {874, "windows-874"},
    {932, "windows-932"},
    {936, "windows-936"},
    {949, "windows-949"},
    {950, "windows-950"},
    {1200, "UTF-16LE"},
    {1201, "UTF-16BE"},
    {1250, "windows-1250"},
    {1251, "windows-1251"},
    {1252, "windows-1252"},
    {1253, "windows-1253"},
    {1254, "windows-1254"},
    {1255, "windows-1255"},
    {1256, "windows-1256"},
    {1257, "windows-1257"},
    {1258, "windows-1258"},
    {10000, "macintosh"},
    {10006, "x-mac-greek"},
    {10007, "x-mac-cyrillic"},
    {10029, "x-mac-centraleurroman"},
    {10081, "x-mac-turkish"},
    {12000, "UTF-32LE"},
    {12001, "UTF-32BE"},
    {20127, "US-ASCII"},
    {20866, "KOI8-R"},
    {21866, "KOI8-U"},
    {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"},
    {28600, "ISO-8859-10"},
    {28601, "ISO-8859-11"},
    // 28602 would be ISO-8859-12, which was never published.
    {28603, "ISO-8859-13"},
    {28604, "ISO-8859-14"},
    {28605, "ISO-8859-15"},
    {38598, "ISO-8859-8-I"},
    {50220, "ISO-2022-JP"},
    {50221, "ISO-2022-JP"},
    {50222, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"},
    {51932, "EUC-JP"},
    {51936, "GB2312"},
    {51949, "EUC-KR"},
    {52936, "HZ-GB-2312"},
    {54936, "GB18030"},
    {65000, "UTF-7"},
};

const char* IcuName(int code_page) {
  for (const auto& entry : kCodePages) {
    if (entry.code_page == code_page) return entry.icu_name;
  }
  return nullptr;
}

// Single-byte code pages that ICU's data does not always carry, held here.
// Bytes below 0xA0 are the code points of the same number; `high` gives
// 0xA0 to 0xFF.
struct SingleByteTable {
  int code_page;
  char16_t high[96];
};

constexpr SingleByteTable kSingleByteTables[] = {
    {28606,  // ISO-8859-16 (South-Eastern European)
     {0x00A0, 0x0104, 0x0105, 0x0141, 0x20AC, 0x201E, 0x0160, 0x00A7, 0x0161, 0x00A9, 0x0218,
      0x00AB, 0x0179, 0x00AD, 0x017A, 0x017B, 0x00B0, 0x00B1, 0x010C, 0x0142, 0x017D, 0x201D,
      0x00B6, 0x00B7, 0x017E, 0x010D, 0x0219, 0x00BB, 0x0152, 0x0153, 0x0178, 0x017C, 0x00C0,
      0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0106, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB,
      0x00CC, 0x00CD, 0x00CE, 0x00CF, 0x0110, 0x0143, 0x00D2, 0x00D3, 0x00D4, 0x0150, 0x00D6,
      0x015A, 0x0170, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x0118, 0x021A, 0x00DF, 0x00E0, 0x00E1,
      0x00E2, 0x0103, 0x00E4, 0x0107, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC,
      0x00ED, 0x00EE, 0x00EF, 0x0111, 0x0144, 0x00F2, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x015B,
      0x0171, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x0119, 0x021B, 0x00FF}},
};

const SingleByteTable* FindSingleByteTable(int code_page) {
  for (const auto& table : kSingleByteTables) {
    if (table.code_page == code_page) return &table;
  }
  return nullptr;
}

void SingleByteToUtf16(const SingleByteTable& table, std::string_view bytes, std::u16string& out) {
  out.resize(bytes.size());
  char16_t* dst = out.data();
  for (unsigned char c : bytes) *dst++ = c < 0xA0 ? c : table.high[c - 0xA0];
}

// Characters outside the table become '?', a surrogate pair one '?'.
void Utf16ToSingleByte(const SingleByteTable& table, std::u16string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0xA0) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char byte = '?';
    for (int k = 0; k < 96; ++k) {
      if (table.high[k] == c) {
        byte = static_cast<char>(0xA0 + k);
        break;
      }
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
    }
    out.push_back(byte);
  }
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Converters keep conversion state, so each thread has its own set. A code
// page that ICU cannot open is remembered as null so it is not retried.
UConverter* Converter(int code_page) {
  thread_local std::unordered_map<int, ConverterPtr> cache;
  // Values come in runs of one code page: the last answer is kept at hand.
  thread_local int last_code_page = -1;
  thread_local UConverter* last = nullptr;
  if (code_page == last_code_page) return last;
  auto it = cache.find(code_page);
  if (it != cache.end()) {
    last_code_page = code_page;
    last = it->second.get();
    return last;
  }
  ConverterPtr converter;
  if (const char* name = IcuName(code_page)) {
    UErrorCode status = U_ZERO_ERROR;
    converter.reset(ucnv_open(name, &status));
    if (U_FAILURE(status)) {
      converter.reset();
    } else {
      // Unmappable characters become '?', as Windows writes them.
      UErrorCode sub_status = U_ZERO_ERROR;
      static const UChar kQuestion[] = {u'?'};
      ucnv_setSubstString(converter.get(), kQuestion, 1, &sub_status);
    }
  }
  UConverter* raw = converter.get();
  cache.emplace(code_page, std::move(converter));
  return raw;
}

// Code pages whose bytes below 0x80 are exactly ASCII, so pure-ASCII input
// can be widened without the converter. (Not UTF-7, UTF-16/32, the stateful
// ISO-2022 and HZ encodings, or IBM864, which moves '%'.)
bool AsciiCompatible(int code_page) {
  return (code_page >= 1250 && code_page <= 1258) || (code_page >= 28591 && code_page <= 28606) ||
         code_page == 874 || code_page == 20127 || code_page == 932 || code_page == 936 ||
         code_page == 949 || code_page == 950 || code_page == 51932 || code_page == 51949 ||
         code_page == 54936 || code_page == 20866 || code_page == 21866 || code_page == 866 ||
         code_page == 10000;
}

int Resolve(int code_page) { return code_page == kAnsi ? settings::AnsiCodePage() : code_page; }

void WidenAscii(std::string_view bytes, std::u16string& out) {
  out.resize(bytes.size());
  char16_t* dst = out.data();
  for (unsigned char c : bytes) *dst++ = c;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes well-formed UTF-8 in one pass, ASCII sixteen bytes at a time. False
// at the first ill-formed sequence: the caller then lets ICU substitute
// U+FFFD exactly as it always does. (Well-formed input decodes only one way.)
bool DecodeWellFormedUtf8(std::string_view bytes, std::u16string& out) {
  out.resize(bytes.size());  // never more UTF-16 units than bytes
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* const end = p + bytes.size();
  char16_t* dst = out.data();
  while (p < end) {
#if defined(__SSE2__)
    if (end - p >= 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      if (_mm_movemask_epi8(v) == 0) {
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_unpackhi_epi8(v, zero));
        p += 16;
        dst += 16;
        continue;
      }
    }
#endif
    const unsigned char c = *p;
    if (c < 0x80) {
      *dst++ = c;
      ++p;
    } else if (c >= 0xC2 && c <= 0xDF) {
      if (end - p < 2 || !IsContinuation(p[1])) return false;
      *dst++ = static_cast<char16_t>((c & 0x1F) << 6 | (p[1] & 0x3F));
      p += 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      // No overlong forms (E0 80..9F), no surrogates (ED A0..BF).
      const unsigned char lo = c == 0xE0 ? 0xA0 : 0x80;
      const unsigned char hi = c == 0xED ? 0x9F : 0xBF;
      if (end - p < 3 || p[1] < lo || p[1] > hi || !IsContinuation(p[2])) return false;
      *dst++ = static_cast<char16_t>((c & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
      p += 3;
    } else if (c >= 0xF0 && c <= 0xF4) {
      // No overlong forms (F0 80..8F), nothing above U+10FFFF (F4 90..).
      const unsigned char lo = c == 0xF0 ? 0x90 : 0x80;
      const unsigned char hi = c == 0xF4 ? 0x8F : 0xBF;
      if (end - p < 4 || p[1] < lo || p[1] > hi || !IsContinuation(p[2]) || !IsContinuation(p[3])) {
        return false;
      }
      const std::uint32_t code_point = static_cast<std::uint32_t>(c & 0x07) << 18 |
                                       static_cast<std::uint32_t>(p[1] & 0x3F) << 12 |
                                       static_cast<std::uint32_t>(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
      *dst++ = static_cast<char16_t>(0xD800 + ((code_point - 0x10000) >> 10));
      *dst++ = static_cast<char16_t>(0xDC00 + ((code_point - 0x10000) & 0x3FF));
      p += 4;
    } else {
      return false;
    }
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
  return true;
}

// Encodes UTF-16 as UTF-8 in one pass, ASCII eight units at a time; an
// unpaired surrogate becomes U+FFFD, as ICU writes it.
void EncodeUtf8(std::u16string_view text, std::string& out) {
  out.resize(text.size() * 3);  // one unit gives three bytes at most
  char* dst = out.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
#if defined(__SSE2__)
    if (n - i >= 8) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
      const __m128i high = _mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFF80)));
      if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) == 0xFFFF) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(v, v));
        i += 8;
        dst += 8;
        continue;
      }
    }
#endif
    std::uint32_t c = text[i++];
    if (c < 0x80) {
      *dst++ = static_cast<char>(c);
      continue;
    }
    if (c < 0x800) {
      *dst++ = static_cast<char>(0xC0 | c >> 6);
      *dst++ = static_cast<char>(0x80 | (c & 0x3F));
      continue;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      const bool paired = c <= 0xDBFF && i < n && text[i] >= 0xDC00 && text[i] <= 0xDFFF;
      if (paired) {
        // A pair takes two units and gives four bytes.
        c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
        *dst++ = static_cast<char>(0xF0 | c >> 18);
        *dst++ = static_cast<char>(0x80 | (c >> 12 & 0x3F));
        *dst++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        *dst++ = static_cast<char>(0x80 | (c & 0x3F));
        continue;
      }
      c = 0xFFFD;
    }
    *dst++ = static_cast<char>(0xE0 | c >> 12);
    *dst++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    *dst++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
}

}  // namespace

bool IsAscii(std::string_view bytes) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* end = p + bytes.size();
  // Eight bytes at a time: any high bit in the word means non-ASCII.
  for (; end - p >= 8; p += 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if (word & 0x8080808080808080ull) return false;
  }
  for (; p < end; ++p) {
    if (*p & 0x80) return false;
  }
  return true;
}

bool IsValidUtf8(std::string_view bytes) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* end = p + bytes.size();
  while (p < end) {
    if (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      if (!(word & 0x8080808080808080ull)) {
        p += 8;
        continue;
      }
    }
    unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int extra;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      if (c == 0xE0) lo = 0xA0;  // overlong
      if (c == 0xED) hi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      if (c == 0xF0) lo = 0x90;  // overlong
      if (c == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
      return false;
    }
    if (end - p <= extra) return false;
    if (p[1] < lo || p[1] > hi) return false;
    for (int i = 2; i <= extra; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
    }
    p += extra + 1;
  }
  return true;
}

bool IsKnown(int code_page) {
  code_page = Resolve(code_page);
  return code_page == kUtf8 || FindSingleByteTable(code_page) != nullptr ||
         Converter(code_page) != nullptr;
}

bool ToUtf16(int code_page, std::string_view bytes, std::u16string& out) {
  code_page = Resolve(code_page);
  out.clear();
  if (code_page == kUtf8) {
    if (DecodeWellFormedUtf8(bytes, out)) return true;
    // UTF-8 never needs more UTF-16 units than it has bytes.
    out.resize(bytes.size());
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, bytes.data(),
                         static_cast<int32_t>(bytes.size()), 0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return true;
  }
  if (const SingleByteTable* table = FindSingleByteTable(code_page)) {
    SingleByteToUtf16(*table, bytes, out);
    return true;
  }
  UConverter* converter = Converter(code_page);
  if (converter == nullptr) return false;
  if (bytes.empty()) return true;
  if (AsciiCompatible(code_page) && IsAscii(bytes)) {
    WidenAscii(bytes, out);
    return true;
  }
  ucnv_resetToUnicode(converter);
  // A single-byte code page gives one unit per byte; others at most two (a
  // surrogate pair). A table that breaks this takes the second pass below.
  const std::size_t units_per_byte = ucnv_getMaxCharSize(converter) == 1 ? 1 : 2;
  out.resize(bytes.size() * units_per_byte + 2);
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                 bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.resize(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    ucnv_resetToUnicode(converter);
    length = ucnv_toUChars(converter, out.data(), length, bytes.data(),
                           static_cast<int32_t>(bytes.size()), &status);
  }
  out.resize(U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING
                 ? 0
                 : static_cast<std::size_t>(length));
  return true;
}

bool FromUtf16(int code_page, std::u16string_view text, std::string& out) {
  code_page = Resolve(code_page);
  out.clear();
  if (code_page == kUtf8) {
    EncodeUtf8(text, out);
    return true;
  }
  if (const SingleByteTable* table = FindSingleByteTable(code_page)) {
    Utf16ToSingleByte(*table, text, out);
    return true;
  }
  UConverter* converter = Converter(code_page);
  if (converter == nullptr) return false;
  if (text.empty()) return true;
  ucnv_resetFromUnicode(converter);
  const int32_t max_char = ucnv_getMaxCharSize(converter);
  out.resize(text.size() * static_cast<std::size_t>(max_char) + 16);
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                   text.data(), static_cast<int32_t>(text.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.resize(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter);
    length = ucnv_fromUChars(converter, out.data(), length, text.data(),
                             static_cast<int32_t>(text.size()), &status);
  }
  out.resize(U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING
                 ? 0
                 : static_cast<std::size_t>(length));
  return true;
}

int CountSubstituted(int code_page, std::u16string_view text, std::string_view out) {
  code_page = Resolve(code_page);
  if (code_page == kUtf8 || code_page == kUtf7 || code_page == kUtf16LE || code_page == kUtf16BE) {
    return 0;
  }
  const auto marks = std::count(out.begin(), out.end(), '?');
  const auto kept = std::count(text.begin(), text.end(), u'?');
  return marks > kept ? static_cast<int>(marks - kept) : 0;
}

std::u16string ToUtf16(int code_page, std::string_view bytes) {
  std::u16string out;
  ToUtf16(code_page, bytes, out);
  return out;
}

std::string FromUtf16(int code_page, std::u16string_view text) {
  std::string out;
  FromUtf16(code_page, text, out);
  return out;
}

}  // namespace velmora::codepage
