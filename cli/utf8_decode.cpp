#include "utf8_decode.h"

namespace velmora::cli {

Utf8CodePoint DecodeUtf8At(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(at);
  if (c < 0x80) return {c, 1, true};
  std::size_t length;
  std::uint32_t code;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
    code = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    code = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    code = c & 0x07;
  } else {
    return {0xFFFD, 1, false};
  }
  if (at + length > text.size()) return {0xFFFD, 1, false};
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) return {0xFFFD, 1, false};
    code = (code << 6) | (byte(at + k) & 0x3F);
  }
  if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
      (code >= 0xD800 && code <= 0xDFFF)) {
    return {0xFFFD, 1, false};
  }
  return {code, length, true};
}

}  // namespace velmora::cli
