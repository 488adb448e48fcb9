#include "vcard/qp_encoder.h"

namespace velmora {

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

}  // namespace velmora
