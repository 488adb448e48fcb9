// Recognising the encoding of CSV bytes: byte-order marks, UTF-16 without a
// mark, and UTF-8 without a mark. Whatever is not recognised is left to a
// code page the caller chooses.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace velmora::csv {

struct CsvEncodingGuess {
  // 65001 (UTF-8), 1200 (UTF-16LE), 1201 (UTF-16BE), or 0: not recognised.
  int code_page = 0;
  // Bytes of byte-order mark in front of the text.
  std::size_t mark_length = 0;
};

// Looks at the first bytes of `content` (nothing is recognised below 2
// bytes). A mark wins; else a zero byte in one of the first two positions
// means UTF-16 in that byte order (address books write ASCII-heavy text, so
// one half of the first unit is zero); else the UTF-8 test below decides.
// "EF BB" followed by anything but "BF" is taken as 8-bit text outright.
CsvEncodingGuess DetectCsvEncoding(std::string_view content);

// The part of DetectCsvEncoding that the first bytes decide (`head`: at
// least the first three bytes, or all of a shorter content): a mark, UTF-16,
// too short, or a broken UTF-8 mark. Nothing when the UTF-8 test must decide.
std::optional<CsvEncodingGuess> DetectCsvEncodingByStart(std::string_view head);

// The UTF-8 test of CSV files: true when `content`, read up to its first zero
// byte (or its end), holds only ASCII below 0x7F and well-formed UTF-8
// sequences, and at least one such sequence: pure ASCII says nothing about
// the encoding, and 0x7F is not expected in text. (Values of vCards use
// LooksLikeUtf8, which has no zero bytes to stop at.)
bool CsvLooksLikeUtf8(std::string_view content);

// The same test over content given in pieces, so that a file can be tested
// without holding it.
class CsvUtf8Test {
 public:
  // Tests the next piece and returns how many of its bytes were used. With
  // `last` false a sequence cut off by the piece's end is left: the caller
  // hands the bytes not used in again, in front of the next piece.
  std::size_t Feed(std::string_view piece, bool last);
  // Whether the verdict is in: a bad sequence or a zero byte was met, or the
  // last piece was fed.
  bool done() const { return done_; }
  bool looks_like_utf8() const { return done_ && utf8_; }

 private:
  bool done_ = false;
  bool utf8_ = false;
  bool multi_byte_ = false;
};

}  // namespace velmora::csv
