#include "foundation/code_page.h"

#include <cstdint>

#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include "support/case_file.h"
#include "support/test_env.h"

namespace velmora::codepage {
namespace {

// The cases of tests/foundation/data/code_pages.txt and utf8_validity.txt.
TEST(CodePageTest, DecodesAndEncodesEachCodePage) {
  for (const test::FileCase& c : test::ReadCases("foundation/data/code_pages.txt")) {
    SCOPED_TRACE(c.name);
    const int code_page = c.Number("code page");
    std::u16string decoded;
    ASSERT_TRUE(ToUtf16(code_page, c["bytes"], decoded));
    EXPECT_EQ(decoded, test::U16(c["text"]));
    std::string encoded;
    ASSERT_TRUE(FromUtf16(code_page, decoded, encoded));
    EXPECT_EQ(encoded, c["bytes"]);
    if (code_page == kUtf8) {
      EXPECT_TRUE(IsValidUtf8(c["bytes"]));
    }
  }
  for (const test::FileCase& c : test::ReadCases("foundation/data/utf8_validity.txt")) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsValidUtf8(c["bytes"]), c["valid"] == "yes");
  }
}

TEST(CodePageTest, ReplacesWhatCannotBeConverted) {
  // Invalid UTF-8: a lone continuation byte, a truncated sequence, an
  // overlong form and an encoded surrogate each become U+FFFD.
  EXPECT_EQ(ToUtf16(kUtf8, "a\x80z"), u"a\uFFFDz");
  EXPECT_EQ(ToUtf16(kUtf8, "a\xe2\x82"), u"a\uFFFD");
  EXPECT_EQ(ToUtf16(kUtf8, "\xc0\xaf").find(u'/'), std::u16string::npos);
  EXPECT_EQ(ToUtf16(kUtf8, "\xed\xa0\x80").find_first_not_of(u'\uFFFD'), std::u16string::npos);
  // A truncated double-byte character at the end of Shift_JIS.
  EXPECT_EQ(ToUtf16(932, "A\x93"), u"A\uFFFD");
  // An odd byte count in UTF-16: the stray byte becomes U+FFFD.
  EXPECT_EQ(ToUtf16(kUtf16LE, std::string("A\0B", 3)), u"A\uFFFD");
  // Characters the target cannot hold become '?'.
  EXPECT_EQ(FromUtf16(1252, u"Иван €"), "???? \x80");
  EXPECT_EQ(FromUtf16(kUsAscii, u"café"), "caf?");
  EXPECT_EQ(FromUtf16(28606, u"Иż😀é"), "?\xbf?\xe9");
  EXPECT_EQ(FromUtf16(932, u"日本😀"), "\x93\xfa\x96\x7b?");
  // An unpaired surrogate cannot be written as UTF-8.
  EXPECT_EQ(FromUtf16(kUtf8, std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
}

TEST(CodePageTest, UnknownCodePagesGiveNothing) {
  for (int code_page : {28602, 12345, -1, 65002, 1}) {
    SCOPED_TRACE(code_page);
    EXPECT_FALSE(IsKnown(code_page));
    std::u16string text = u"stale";
    EXPECT_FALSE(ToUtf16(code_page, "abc", text));
    EXPECT_TRUE(text.empty());
    std::string bytes = "stale";
    EXPECT_FALSE(FromUtf16(code_page, u"abc", bytes));
    EXPECT_TRUE(bytes.empty());
  }
}

TEST(CodePageTest, CodePageZeroIsTheAnsiCodePage) {
  test::ScopedSettings settings;
  settings.AnsiCodePage(1251);
  EXPECT_EQ(ToUtf16(kAnsi, "\xc8"), u"И");
  settings.AnsiCodePage(1252);
  EXPECT_EQ(ToUtf16(kAnsi, "\xc8"), u"È");
}

TEST(CodePageTest, AsciiFastPathAgreesWithTheConverter) {
  std::string ascii;
  for (int i = 0; i < 128; ++i) ascii.push_back(static_cast<char>(i));
  for (int code_page : {kUtf8, 1252, 1251, 932, 28591, 54936}) {
    EXPECT_EQ(ToUtf16(code_page, ascii), std::u16string(ascii.begin(), ascii.end())) << code_page;
  }
  // UTF-16 pairs ASCII bytes and UTF-7 reads '+' as a shift: no shortcut.
  EXPECT_EQ(ToUtf16(kUtf16LE, "AB"), u"\u4241");
  EXPECT_EQ(ToUtf16(kUtf7, "1+-1"), u"1+1");
}

// What ICU itself gives, the reference for the UTF-8 fast paths.
std::u16string IcuFromUtf8(const std::string& bytes) {
  std::u16string out(bytes.size(), u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, bytes.data(),
                       static_cast<int32_t>(bytes.size()), 0xFFFD, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
  return out;
}

std::string IcuToUtf8(const std::u16string& text) {
  std::string out(text.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                     static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
  return out;
}

TEST(CodePageTest, Utf8FastPathsAgreeWithIcu) {
  // Pieces placed before, across and after the sixteen-byte (eight-unit)
  // blocks of the fast paths.
  const std::string pad(17, 'a');
  const std::string byte_pieces[] = {
      "",
      "\xc3\xa9",
      "\xe2\x82\xac",
      "\xf0\x9f\x98\x80",
      "\xf4\x8f\xbf\xbf",
      std::string(1, '\0'),
      "\x80",
      "\xe2\x82",
      "\xc0\xaf",
      "\xed\xa0\x80",
      "\xf4\x90\x80\x80",
      "\xff",
      "\xf0\x9f\x98",
  };
  for (const std::string& piece : byte_pieces) {
    for (std::size_t offset : {0u, 1u, 7u, 8u, 15u, 16u}) {
      const std::string bytes = pad.substr(0, offset) + piece + pad + piece;
      EXPECT_EQ(ToUtf16(kUtf8, bytes), IcuFromUtf8(bytes)) << offset << " " << bytes;
    }
  }
  const std::u16string unit_pieces[] = {
      u"",
      u"\u00e9",
      u"\u20ac",
      u"\U0001F600",
      std::u16string(1, char16_t(0xD800)),
      std::u16string(1, char16_t(0xDC00)),
      std::u16string(1, u'\0'),
      u"\u007f\u0080",
  };
  const std::u16string wide_pad(9, u'b');
  for (const std::u16string& piece : unit_pieces) {
    for (std::size_t offset : {0u, 1u, 7u, 8u}) {
      const std::u16string text = wide_pad.substr(0, offset) + piece + wide_pad + piece;
      EXPECT_EQ(FromUtf16(kUtf8, text), IcuToUtf8(text)) << offset;
    }
  }
  // Random mixtures, decoded and encoded both ways.
  std::uint32_t state = 12345;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  for (int round = 0; round < 500; ++round) {
    std::string bytes;
    std::u16string text;
    const int length = static_cast<int>(next() % 40);
    for (int i = 0; i < length; ++i) {
      const std::uint32_t r = next();
      bytes.push_back(static_cast<char>(r % 4 == 0 ? r >> 8 : 'a' + r % 26));
      text.push_back(static_cast<char16_t>(r % 4 == 0 ? r >> 16 : 'a' + r % 26));
    }
    EXPECT_EQ(ToUtf16(kUtf8, bytes), IcuFromUtf8(bytes)) << round;
    EXPECT_EQ(FromUtf16(kUtf8, text), IcuToUtf8(text)) << round;
  }
}

}  // namespace
}  // namespace velmora::codepage
