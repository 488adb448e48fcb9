#include "reference_scan.h"

#include <cstring>

#include <unicode/ustring.h>

namespace velmora::bench {

std::size_t CountLines(const std::string& text) {
  std::size_t lines = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  while (const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
    ++lines;
    p = static_cast<const char*>(hit) + 1;
  }
  return lines;
}

bool ScanAndConvert(const std::string& text, std::vector<char16_t>& utf16) {
  if (CountLines(text) == 0 && !text.empty()) return false;
  utf16.resize(text.size() + 1);
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strFromUTF8WithSub(utf16.data(), static_cast<int32_t>(utf16.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &error);
  return U_SUCCESS(error) && length > 0;
}

}  // namespace velmora::bench
