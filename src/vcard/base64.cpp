#include "vcard/base64.h"

#include <array>
#include <limits>

#include "vcard/card_line_scan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora::vcard {
namespace {

constexpr std::array<std::int8_t, 256> MakeTable() {
  std::array<std::int8_t, 256> t{};
  for (auto& v : t) v = -1;
  for (int i = 0; i < 26; ++i) {
    t['A' + i] = static_cast<std::int8_t>(i);
    t['a' + i] = static_cast<std::int8_t>(26 + i);
  }
  for (int i = 0; i < 10; ++i) t['0' + i] = static_cast<std::int8_t>(52 + i);
  t['+'] = 62;
  t['/'] = 63;
  return t;
}
constexpr std::array<std::int8_t, 256> kTable = MakeTable();

inline bool IsAlphabet(char c) { return kTable[static_cast<unsigned char>(c)] >= 0; }

#if defined(__SSE2__)
// True when all 16 bytes at `p` are base64 alphabet characters.
inline bool SixteenAlphabet(const char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  auto in = [&v](char low, char high) {
    // Signed compares: bytes from 0x80 are negative and fall outside.
    return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(high + 1))));
  };
  const __m128i ok = _mm_or_si128(
      _mm_or_si128(_mm_or_si128(in('A', 'Z'), in('a', 'z')), in('0', '9')),
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('+')), _mm_cmpeq_epi8(v, _mm_set1_epi8('/'))));
  return _mm_movemask_epi8(ok) == 0xFFFF;
}
#endif

}  // namespace

const char* Base64Extent(const char* value_start, const char* end, const char** cursor) {
  int line_alpha = 0, line_pad = 0;
  std::int64_t total_alpha = 0, total_pad = 0;
  int lines = 0;
  bool indented = false;
  const char* line_start = value_start;
  const char* value_end = value_start;
  const char* p = value_start;
  for (;;) {
    const char c = *p;
    if (c == ' ' || c == '\t') {
      if (lines == 1 && p == line_start) indented = true;
      ++p;
      continue;
    }
    if (IsAlphabet(c)) {
      if (total_pad + line_pad > 0) break;  // data after padding
#if defined(__SSE2__)
      // The bulk of a photo: whole blocks of alphabet characters at once.
      while (end - p >= 16 && SixteenAlphabet(p)) {
        line_alpha += 16;
        p += 16;
      }
      if (!IsAlphabet(*p)) continue;
#endif
      ++line_alpha;
      ++p;
      continue;
    }
    if (c == '=') {
      ++line_pad;
      if (total_pad + line_pad > 2) break;
      ++p;
      continue;
    }
    if (c == '\r' || c == '\n' || c == '\0') {
      value_end = p;
      p = scan::SkipLineBreak(p);
      total_alpha += line_alpha;
      total_pad += line_pad;
      ++lines;
      line_start = p;
      if (c == '\0') break;
      if (line_alpha == 0 && lines >= 2) break;
      if (total_pad > 0 && (total_alpha + total_pad) % 4 == 0) break;
      if (indented) {
        const char next = *p;
        if (next != ' ' && next != '\t' && next != '\r' && next != '\n') break;
      }
      line_alpha = 0;
      line_pad = 0;
      continue;
    }
    break;  // a character outside the alphabet: this line is not taken
  }
  *cursor = line_start;
  return value_end;
}

bool Base64Decode(const char* source, std::int32_t length, std::uint8_t* destination,
                  std::int32_t* size) {
  if (size == nullptr) return false;
  const std::int32_t capacity = destination ? *size : 0;
  std::int32_t total = 0;
  bool fits = destination != nullptr;
  auto emit = [&](std::uint32_t byte) {
    if (total < capacity) {
      destination[total] = static_cast<std::uint8_t>(byte);
    } else {
      fits = false;
    }
    ++total;
  };
  std::uint32_t acc = 0;
  int count = 0;
  for (std::int32_t i = 0; source != nullptr && i < length; ++i) {
    const char c = source[i];
    if (c == '\0') break;
    const std::int8_t v = kTable[static_cast<unsigned char>(c)];
    if (v < 0) continue;
    acc = acc << 6 | static_cast<std::uint32_t>(v);
    if (++count == 4) {
      emit(acc >> 16 & 0xFF);
      emit(acc >> 8 & 0xFF);
      emit(acc & 0xFF);
      acc = 0;
      count = 0;
    }
  }
  if (count == 3) {
    emit(acc >> 10 & 0xFF);
    emit(acc >> 2 & 0xFF);
  } else if (count == 2) {
    emit(acc >> 4 & 0xFF);
  }
  *size = total;
  return fits;
}

// --- Encoding -------------------------------------------------------------

namespace {

constexpr char kEncodeAlphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();

}  // namespace

std::size_t Base64EncodedSize(std::size_t size, std::size_t line_length,
                              std::size_t line_break_length) {
  const std::size_t groups = size / 3 + (size % 3 != 0 ? 1 : 0);
  if (groups > kMax / 4) return 0;
  const std::size_t chars = groups * 4;
  if (line_length == 0 || chars == 0) return chars;
  const std::size_t breaks = (chars - 1) / line_length;
  if (line_break_length != 0 && breaks > (kMax - chars) / line_break_length) return 0;
  return chars + breaks * line_break_length;
}

bool Base64Encode(const std::uint8_t* data, std::size_t size, std::size_t line_length,
                  std::string_view line_break, std::string& out) {
  if (size == 0) return true;
  if (data == nullptr) return false;
  const std::size_t encoded = Base64EncodedSize(size, line_length, line_break.size());
  if (encoded == 0 || encoded > out.max_size() - out.size()) return false;
  out.reserve(out.size() + encoded);

  std::size_t column = 0;
  auto put = [&](char c) {
    if (line_length != 0 && column == line_length) {
      out.append(line_break);
      column = 0;
    }
    out.push_back(c);
    ++column;
  };
  std::size_t i = 0;
  for (; i + 3 <= size; i += 3) {
    const std::uint32_t v =
        (std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8) | data[i + 2];
    put(kEncodeAlphabet[(v >> 18) & 63]);
    put(kEncodeAlphabet[(v >> 12) & 63]);
    put(kEncodeAlphabet[(v >> 6) & 63]);
    put(kEncodeAlphabet[v & 63]);
  }
  const std::size_t rest = size - i;
  if (rest != 0) {
    std::uint32_t v = std::uint32_t{data[i]} << 16;
    if (rest == 2) v |= std::uint32_t{data[i + 1]} << 8;
    put(kEncodeAlphabet[(v >> 18) & 63]);
    put(kEncodeAlphabet[(v >> 12) & 63]);
    put(rest == 2 ? kEncodeAlphabet[(v >> 6) & 63] : '=');
    put('=');
  }
  return true;
}

}  // namespace velmora::vcard
