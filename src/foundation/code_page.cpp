#include "foundation/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <cstring>
#include <memory>
#include <unordered_map>

#include "foundation/system_settings.h"

namespace velmora::codepage {
namespace {

// Windows code page numbers and the ICU converters that implement them.
struct CodePageName {
  int code_page;
  const char* icu_name;
};

constexpr CodePageName kCodePages[] = {
    {437, "IBM437"},          {737, "IBM737"},
    {775, "IBM775"},          {850, "IBM850"},
    {852, "IBM852"},          {855, "IBM855"},
    {857, "IBM857"},          {860, "IBM860"},
    {861, "IBM861"},          {862, "IBM862"},
    {863, "IBM863"},          {864, "IBM864"},
    {865, "IBM865"},          {866, "IBM866"},
    {869, "IBM869"},          {874, "windows-874"},
    {932, "windows-932"},     {936, "windows-936"},
    {949, "windows-949"},     {950, "windows-950"},
    {1200, "UTF-16LE"},       {1201, "UTF-16BE"},
    {1250, "windows-1250"},   {1251, "windows-1251"},
    {1252, "windows-1252"},   {1253, "windows-1253"},
    {1254, "windows-1254"},   {1255, "windows-1255"},
    {1256, "windows-1256"},   {1257, "windows-1257"},
    {1258, "windows-1258"},   {10000, "macintosh"},
    {10006, "x-mac-greek"},   {10007, "x-mac-cyrillic"},
    {10029, "x-mac-centraleurroman"}, {10081, "x-mac-turkish"},
    {12000, "UTF-32LE"},      {12001, "UTF-32BE"},
    {20127, "US-ASCII"},      {20866, "KOI8-R"},
    {21866, "KOI8-U"},        {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},    {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},    {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},    {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},    {28599, "ISO-8859-9"},
    {28600, "ISO-8859-10"},   {28601, "ISO-8859-11"},
    // 28602 would be ISO-8859-12, which was never published.
    {28603, "ISO-8859-13"},   {28604, "ISO-8859-14"},
    {28605, "ISO-8859-15"},   {28606, "ISO-8859-16"},
    {38598, "ISO-8859-8-I"},  {50220, "ISO-2022-JP"},
    {50221, "ISO-2022-JP"},   {50222, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"},   {51932, "EUC-JP"},
    {51936, "GB2312"},        {51949, "EUC-KR"},
    {52936, "HZ-GB-2312"},    {54936, "GB18030"},
    {65000, "UTF-7"},
};

const char* IcuName(int code_page) {
  for (const auto& entry : kCodePages) {
    if (entry.code_page == code_page) return entry.icu_name;
  }
  return nullptr;
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Converters keep conversion state, so each thread has its own set. A code
// page that ICU cannot open is remembered as null so it is not retried.
UConverter* Converter(int code_page) {
  thread_local std::unordered_map<int, ConverterPtr> cache;
  auto it = cache.find(code_page);
  if (it != cache.end()) return it->second.get();
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
  return (code_page >= 1250 && code_page <= 1258) ||
         (code_page >= 28591 && code_page <= 28606) || code_page == 874 ||
         code_page == 20127 || code_page == 932 || code_page == 936 ||
         code_page == 949 || code_page == 950 || code_page == 51932 ||
         code_page == 51949 || code_page == 54936 || code_page == 20866 ||
         code_page == 21866 || code_page == 866 || code_page == 10000;
}

int Resolve(int code_page) {
  return code_page == kAnsi ? settings::AnsiCodePage() : code_page;
}

void WidenAscii(std::string_view bytes, std::u16string& out) {
  out.resize(bytes.size());
  char16_t* dst = out.data();
  for (unsigned char c : bytes) *dst++ = c;
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
  return code_page == kUtf8 || Converter(code_page) != nullptr;
}

bool ToUtf16(int code_page, std::string_view bytes, std::u16string& out) {
  code_page = Resolve(code_page);
  out.clear();
  if (code_page == kUtf8) {
    if (IsAscii(bytes)) {
      WidenAscii(bytes, out);
      return true;
    }
    // UTF-8 never needs more UTF-16 units than it has bytes.
    out.resize(bytes.size());
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                         bytes.data(), static_cast<int32_t>(bytes.size()),
                         0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
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
  // One byte yields at most two UTF-16 units (a surrogate pair).
  out.resize(bytes.size() * 2 + 2);
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
    out.resize(text.size() * 3);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                       text.data(), static_cast<int32_t>(text.size()), 0xFFFD,
                       nullptr, &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
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
