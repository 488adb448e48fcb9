#include "csv/csv_encoding.h"

#include <string>

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct EncodingCase {
  const char* name;
  std::string bytes;
  int code_page;
  std::size_t mark_length;
};

using namespace std::string_literals;

const EncodingCase kEncodingCases[] = {
    {"UTF-8 mark",
     "\xEF\xBB\xBF"
     "a",
     65001, 3},
    {"UTF-8 mark alone", "\xEF\xBB\xBF", 65001, 3},
    {"EF BB without BF is not tested further", "\xEF\xBB\xC3\xA9", 0, 0},
    {"EF BB alone", "\xEF\xBB", 0, 0},
    {"UTF-16LE mark",
     "\xFF\xFE"
     "a\0"s,
     1200, 2},
    {"UTF-16BE mark", "\xFE\xFF\0a"s, 1201, 2},
    {"UTF-16LE without mark", "a\0b\0"s, 1200, 0},
    {"UTF-16BE without mark", "\0a\0b"s, 1201, 0},
    {"two zero bytes", "\0\0"s, 0, 0},
    {"one byte is never recognised", "\xC3", 0, 0},
    {"ASCII only", "name,mail", 0, 0},
    {"one two-byte sequence", "Ren\xC3\xA9", 65001, 0},
    {"invalid UTF-8 is a code page", "Ren\xE9", 0, 0},
};

TEST(CsvEncoding, RecognisesMarksAndForms) {
  for (const EncodingCase& c : kEncodingCases) {
    const CsvEncodingGuess guess = DetectCsvEncoding(c.bytes);
    EXPECT_EQ(guess.code_page, c.code_page) << c.name;
    EXPECT_EQ(guess.mark_length, c.mark_length) << c.name;
  }
}

struct Utf8Case {
  std::string bytes;
  bool utf8;
};

// Boundaries of the well-formed sequences: each lead byte with its first
// and last allowed second byte, and the values just outside.
const Utf8Case kUtf8Cases[] = {
    {"", false},
    {"abc", false},
    {"\x7F\xC3\xA9", false},  // DEL is not text
    {"\xC2\x80", true},
    {"\xDF\xBF", true},
    {"\xC1\xBF", false},  // overlong
    {"\xC2\x7F", false},
    {"\xC2\xC0", false},
    {"\xE0\xA0\x80", true},
    {"\xE0\x9F\x80", false},  // overlong
    {"\xE1\x80\x80", true},
    {"\xEC\xBF\xBF", true},
    {"\xED\x9F\xBF", true},
    {"\xED\xA0\x80", false},  // surrogate
    {"\xEE\x80\x80", true},
    {"\xEF\xBF\xBF", true},
    {"\xF0\x90\x80\x80", true},
    {"\xF0\x8F\xBF\xBF", false},  // overlong
    {"\xF1\x80\x80\x80", true},
    {"\xF3\xBF\xBF\xBF", true},
    {"\xF4\x8F\xBF\xBF", true},
    {"\xF4\x90\x80\x80", false},  // above U+10FFFF
    {"\xF5\x80\x80\x80", false},
    {"\x80", false},
    {"a\xC3", false},           // cut off by the end
    {"\xE2\x82", false},        // cut off by the end
    {"\xC3\xA9\0\xFF"s, true},  // the test stops at the first zero byte
    {"\xC3\0\xA9"s, false},     // a zero byte inside a sequence
    {"\0\xC3\xA9"s, false},     // nothing before the zero byte
};

TEST(CsvEncoding, Utf8TestFollowsTheWellFormedTable) {
  for (const Utf8Case& c : kUtf8Cases) {
    std::string hex;
    for (unsigned char b : c.bytes) hex += std::to_string(b) + " ";
    EXPECT_EQ(CsvLooksLikeUtf8(c.bytes), c.utf8) << hex;
  }
}

}  // namespace
}  // namespace velmora
