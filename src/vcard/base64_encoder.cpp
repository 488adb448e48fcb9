#include "vcard/base64_encoder.h"

#include <limits>

namespace velmora {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
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
    put(kAlphabet[(v >> 18) & 63]);
    put(kAlphabet[(v >> 12) & 63]);
    put(kAlphabet[(v >> 6) & 63]);
    put(kAlphabet[v & 63]);
  }
  const std::size_t rest = size - i;
  if (rest != 0) {
    std::uint32_t v = std::uint32_t{data[i]} << 16;
    if (rest == 2) v |= std::uint32_t{data[i + 1]} << 8;
    put(kAlphabet[(v >> 18) & 63]);
    put(kAlphabet[(v >> 12) & 63]);
    put(rest == 2 ? kAlphabet[(v >> 6) & 63] : '=');
    put('=');
  }
  return true;
}

}  // namespace velmora
