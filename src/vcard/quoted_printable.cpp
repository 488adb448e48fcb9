#include "vcard/quoted_printable.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "vcard/card_line_scan.h"

namespace velmora::vcard {
namespace {

constexpr std::array<std::int8_t, 256> MakeHexTable() {
  std::array<std::int8_t, 256> table{};
  for (auto& v : table) v = -1;
  for (int i = 0; i < 10; ++i) table['0' + i] = static_cast<std::int8_t>(i);
  for (int i = 0; i < 6; ++i) {
    table['A' + i] = static_cast<std::int8_t>(10 + i);
    table['a' + i] = static_cast<std::int8_t>(10 + i);
  }
  return table;
}
constexpr std::array<std::int8_t, 256> kHexTable = MakeHexTable();

inline int HexValue(char c) { return kHexTable[static_cast<unsigned char>(c)]; }

}  // namespace

const char* QuotedPrintableExtent(const char* value_start, const char* end, const char** cursor) {
  const char* p = value_start;
  for (;;) {
    // Escapes often follow each other ("=D0=98"): look further only from an
    // ordinary character.
    if (*p != '=' && !scan::IsLineEnd(static_cast<unsigned char>(*p))) {
      p = scan::FindQuotedPrintableStop(p + 1, end);
    }
    const char c = *p;
    if (c == '=') {
      const char next = p[1];
      if (next == '\r' || next == '\n') {
        p = scan::SkipLineBreak(p + 1);  // a soft line break
      } else if (next == '\0') {
        // An '=' as the very last character belongs to the value; the text
        // ends right after it.
        ++p;
        *cursor = p;
        return p;
      } else if (HexValue(next) >= 0 && HexValue(p[2]) >= 0) {
        p += 3;
      } else {
        p += 2;
      }
      continue;
    }
    // CR, LF or the zero byte: the value ends here.
    *cursor = scan::SkipLineBreak(p);
    return p;
  }
}

void DecodeQuotedPrintable(std::string_view raw, std::string& out) {
  // The result is never longer than the value.
  out.resize(raw.size());
  char* o = out.data();
  const std::size_t n = raw.size();
  std::size_t i = 0;
  while (i < n) {
    const char c = raw[i];
    if (c == '\r' || c == '\n' || c == '\0') break;
    if (c != '=') {
      // A run of ordinary bytes up to the next '=', line break or zero.
      const char* run_end = scan::FindAnyOf4(raw.data() + i, raw.data() + n, '=', '\r', '\n', '\0');
      const std::size_t run = static_cast<std::size_t>(run_end - (raw.data() + i));
      std::memcpy(o, raw.data() + i, run);
      o += run;
      i += run;
      continue;
    }
    if (i + 1 >= n) {  // a lone '=' at the end stays
      *o++ = '=';
      break;
    }
    const char next = raw[i + 1];
    if (next == '\r') {
      i += 2;
      if (i < n && raw[i] == '\n') {
        ++i;
      } else if (i + 1 < n && raw[i] == '\r' && raw[i + 1] == '\n') {
        i += 2;  // CR CR LF, as the reader takes it
      }
      continue;
    }
    if (next == '\n') {
      i += 2;
      continue;
    }
    const int hi = HexValue(next);
    const int lo = i + 2 < n ? HexValue(raw[i + 2]) : -1;
    if (hi >= 0 && lo >= 0) {
      const char byte = static_cast<char>(hi << 4 | lo);
      if (byte == '\0') break;  // the text ends at its first zero byte
      *o++ = byte;
      i += 3;
      continue;
    }
    *o++ = '=';
    i += 2;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
}

// --- Encoding -------------------------------------------------------------

void EncodeQuotedPrintable(std::string_view bytes, std::string& out) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::size_t line = 0;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const bool printable = (byte >= 33 && byte <= 60) || (byte >= 62 && byte <= 126);
    const bool blank = byte == ' ' || byte == '\t';
    if (printable || (blank && line < kQpBlankLimit)) {
      out.push_back(c);
      ++line;
    } else {
      out.push_back('=');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0x0F]);
      line += 3;
    }
    if (line >= kQpLineLimit) {
      out.append("=\r\n");
      line = 0;
    }
  }
}

}  // namespace velmora::vcard
