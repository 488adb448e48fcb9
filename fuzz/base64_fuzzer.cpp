// Fuzzes base64: Base64Decode against a reference decoder on arbitrary
// text, into buffers of every size around the result (it must never write
// past the capacity it is given), and decode(encode(x)) == x through both
// the bare functions and a PHOTO property of a 2.1 and a 3.0 card.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/log.h"
#include "vcard/base64.h"
#include "vcard/card_doc.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

int Sextet(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// The plain reading: alphabet characters up to the first zero byte, in
// groups of four; a final group of 2 or 3 gives 1 or 2 bytes.
std::vector<std::uint8_t> Reference(std::string_view text) {
  std::vector<int> sextets;
  for (const char c : text) {
    if (c == '\0') break;
    const int v = Sextet(static_cast<unsigned char>(c));
    if (v >= 0) sextets.push_back(v);
  }
  std::vector<std::uint8_t> out;
  std::size_t i = 0;
  for (; i + 4 <= sextets.size(); i += 4) {
    const std::uint32_t acc =
        sextets[i] << 18 | sextets[i + 1] << 12 | sextets[i + 2] << 6 | sextets[i + 3];
    out.push_back(acc >> 16 & 0xFF);
    out.push_back(acc >> 8 & 0xFF);
    out.push_back(acc & 0xFF);
  }
  const std::size_t rest = sextets.size() - i;
  if (rest >= 2) {
    std::uint32_t acc = sextets[i] << 18 | sextets[i + 1] << 12;
    if (rest == 3) acc |= sextets[i + 2] << 6;
    out.push_back(acc >> 16 & 0xFF);
    if (rest == 3) out.push_back(acc >> 8 & 0xFF);
  }
  return out;
}

// Decodes `text` into a heap buffer of exactly `capacity` bytes, so that
// the address sanitizer sees any write past it.
void DecodeInto(std::string_view text, std::int32_t capacity,
                const std::vector<std::uint8_t>& expected) {
  auto buffer = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(capacity));
  std::int32_t size = capacity;
  const bool fits = velmora::vcard::Base64Decode(
      text.data(), static_cast<std::int32_t>(text.size()), buffer.get(), &size);
  Check(size == static_cast<std::int32_t>(expected.size()));
  Check(fits == (capacity >= size));
  const std::size_t written = std::min<std::size_t>(capacity, expected.size());
  Check(written == 0 || std::memcmp(buffer.get(), expected.data(), written) == 0);
}

void CheckDecode(std::string_view text) {
  const std::vector<std::uint8_t> expected = Reference(text);
  std::int32_t measured = 0;
  Check(!velmora::vcard::Base64Decode(text.data(), static_cast<std::int32_t>(text.size()), nullptr,
                                      &measured));
  Check(measured == static_cast<std::int32_t>(expected.size()));
  for (const std::int32_t capacity : {measured, measured - 1, measured + 1, 0, 1, 2, 3}) {
    if (capacity >= 0) DecodeInto(text, capacity, expected);
  }
}

void CheckRoundTrip(velmora::CLog& log, const std::uint8_t* data, std::size_t size,
                    std::size_t line_length, std::string_view line_break) {
  std::string encoded;
  Check(velmora::vcard::Base64Encode(data, size, line_length, line_break, encoded));
  Check(encoded.size() == velmora::vcard::Base64EncodedSize(size, line_length, line_break.size()));
  std::vector<std::uint8_t> bytes(size);
  std::int32_t decoded = static_cast<std::int32_t>(size);
  Check(velmora::vcard::Base64Decode(encoded.data(), static_cast<std::int32_t>(encoded.size()),
                                     bytes.data(), &decoded) ||
        size == 0);
  Check(decoded == static_cast<std::int32_t>(size));
  Check(size == 0 || std::memcmp(bytes.data(), data, size) == 0);
  if (size == 0) return;

  // The same bytes as a photo: written the way each version folds it.
  velmora::vcard::CCardDoc doc(log);
  for (const bool v30 : {false, true}) {
    std::string card = v30 ? "BEGIN:VCARD\r\nVERSION:3.0\r\nPHOTO;ENCODING=b;TYPE=JPEG:"
                           : "BEGIN:VCARD\r\nVERSION:2.1\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n ";
    std::string folded;
    Check(velmora::vcard::Base64Encode(data, size, v30 ? 0 : 72, "\r\n ", folded));
    card.append(folded).append(v30 ? "\r\n" : "\r\n\r\n").append("TEL:1\r\nEND:VCARD\r\n");
    Check(doc.LoadFromMemory(card.data(), static_cast<std::int32_t>(card.size()), false) ==
          velmora::vcard::LoadResult::kComplete);
    Check(doc.GetItemCount() == 1);
    const auto& props = doc.GetItem(0)->props();
    Check(props.size() == 3 && props[1].name() == "PHOTO" && props[2].name() == "TEL");
    std::vector<std::uint8_t> photo;
    Check(props[1].GetDecodedBinaryValue(photo));
    Check(photo.size() == size && std::memcmp(photo.data(), data, size) == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static velmora::CLog log;  // level 1, no files
  if (size > 1 << 20) return 0;
  CheckDecode(std::string_view(reinterpret_cast<const char*>(data), size));
  // The first byte picks the line layout of the encoder.
  const std::size_t line_length = size == 0 ? 0 : data[0] % 5 * 19;
  const std::string_view line_break = size != 0 && data[0] & 0x80 ? "\r\n " : "\r\n";
  CheckRoundTrip(log, data, size, line_length, line_break);
  return 0;
}
