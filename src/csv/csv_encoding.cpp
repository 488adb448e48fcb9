#include "csv/csv_encoding.h"

#include <cstdint>
#include <cstring>

#include "foundation/code_page.h"

namespace velmora::csv {
namespace {

// The byte at `i`, or 0 past the end: the content is read as if a zero byte
// followed it, so a sequence cut off by the end fails like one cut off by a
// zero byte.
unsigned char At(std::string_view s, std::size_t i) {
  return i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
}

bool InRange(unsigned char c, unsigned char low, unsigned char high) {
  return c >= low && c <= high;
}

// Length of the well-formed UTF-8 sequence at `i` (lead byte 0x80 or above),
// or 0 when there is none.
std::size_t SequenceLength(std::string_view s, std::size_t i) {
  const unsigned char b0 = At(s, i);
  const unsigned char b1 = At(s, i + 1);
  auto tail = [&](std::size_t from, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k) {
      if (!InRange(At(s, from + k), 0x80, 0xBF)) return false;
    }
    return true;
  };
  if (InRange(b0, 0xC2, 0xDF)) return tail(i + 1, 1) ? 2 : 0;
  if (b0 == 0xE0) return InRange(b1, 0xA0, 0xBF) && tail(i + 2, 1) ? 3 : 0;
  if (InRange(b0, 0xE1, 0xEC) || InRange(b0, 0xEE, 0xEF)) return tail(i + 1, 2) ? 3 : 0;
  if (b0 == 0xED) return InRange(b1, 0x80, 0x9F) && tail(i + 2, 1) ? 3 : 0;
  if (b0 == 0xF0) return InRange(b1, 0x90, 0xBF) && tail(i + 2, 2) ? 4 : 0;
  if (InRange(b0, 0xF1, 0xF3)) return tail(i + 1, 3) ? 4 : 0;
  if (b0 == 0xF4) return InRange(b1, 0x80, 0x8F) && tail(i + 2, 2) ? 4 : 0;
  return 0;
}

// Whether the eight bytes at `p` are all plain ASCII the test accepts
// (1 to 0x7E): no zero byte, no 0x7F, nothing from 0x80 up. Whole files are
// tested, so runs of ASCII are skipped a word at a time.
bool IsPlainAsciiWord(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighs = 0x8080808080808080u;
  const std::uint64_t zero_byte = (word - kOnes) & ~word & kHighs;
  // With no byte at 0x80 or above, adding 1 to each cannot carry, and a
  // byte reaches 0x80 only when it was 0x7F.
  const std::uint64_t high_or_delete = (word | (word + kOnes)) & kHighs;
  return (zero_byte | high_or_delete) == 0;
}

}  // namespace

// The length a sequence starting with `lead` (0x80 or above) claims.
std::size_t ClaimedLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  return 2;
}

std::size_t CsvUtf8Test::Feed(std::string_view piece, bool last) {
  std::size_t i = 0;
  while (!done_ && i < piece.size()) {
    if (i + 8 <= piece.size() && IsPlainAsciiWord(piece.data() + i)) {
      i += 8;
      continue;
    }
    const unsigned char c = At(piece, i);
    if (c == 0) {
      // The test reads up to the first zero byte.
      done_ = true;
      utf8_ = multi_byte_;
      return i;
    }
    if (c < 0x7F) {
      ++i;
      continue;
    }
    if (!last && i + ClaimedLength(c) > piece.size()) return i;
    const std::size_t length = SequenceLength(piece, i);
    if (length == 0) {
      done_ = true;
      return i;
    }
    multi_byte_ = true;
    i += length;
  }
  if (last && !done_) {
    done_ = true;
    utf8_ = multi_byte_;
  }
  return i;
}

bool CsvLooksLikeUtf8(std::string_view content) {
  CsvUtf8Test test;
  test.Feed(content, true);
  return test.looks_like_utf8();
}

std::optional<CsvEncodingGuess> DetectCsvEncodingByStart(std::string_view head) {
  if (head.size() < 2) return CsvEncodingGuess{};
  const unsigned char b0 = At(head, 0);
  const unsigned char b1 = At(head, 1);
  if (b0 == 0xEF && b1 == 0xBB) {
    if (At(head, 2) == 0xBF && head.size() >= 3) return CsvEncodingGuess{codepage::kUtf8, 3};
    return CsvEncodingGuess{};
  }
  if (b0 == 0xFF && b1 == 0xFE) return CsvEncodingGuess{codepage::kUtf16LE, 2};
  if (b0 == 0xFE && b1 == 0xFF) return CsvEncodingGuess{codepage::kUtf16BE, 2};
  if (b0 != 0 && b1 == 0) return CsvEncodingGuess{codepage::kUtf16LE, 0};
  if (b0 == 0 && b1 != 0) return CsvEncodingGuess{codepage::kUtf16BE, 0};
  return std::nullopt;
}

CsvEncodingGuess DetectCsvEncoding(std::string_view content) {
  if (const auto guess = DetectCsvEncodingByStart(content)) return *guess;
  if (CsvLooksLikeUtf8(content)) return {codepage::kUtf8, 0};
  return {};
}

}  // namespace velmora::csv
