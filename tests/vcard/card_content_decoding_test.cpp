#include "vcard/card_content_decoding.h"

#include <string>

#include <gtest/gtest.h>

#include "vcard_test_support.h"

namespace velmora {
namespace {

using test::CapturedLog;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out.push_back(static_cast<char>(b));
  return out;
}

struct DecodeCase {
  const char* name;
  std::string input;
  std::string expected;
  bool utf8;
  const char* message;  // logged once, or null for a clean decode
};

const DecodeCase kDecodeCases[] = {
    {"utf8_bom",
     "\xEF\xBB\xBF"
     "A\xC3\xA9",
     "A\xC3\xA9", true, nullptr},
    {"utf16le_bom", Bytes({0xFF, 0xFE, 'A', 0, 0xE9, 0}), "A\xC3\xA9", true, nullptr},
    {"utf16be_bom", Bytes({0xFE, 0xFF, 0, 'A', 0x04, 0x14}), "A\xD0\x94", true, nullptr},
    {"utf16le_no_bom", Bytes({'A', 0, 'B', 0}), "AB", true, nullptr},
    {"utf16be_no_bom", Bytes({0, 'A', 0, 'B'}), "AB", true, nullptr},
    {"utf16le_surrogate_pair", Bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}), "\xF0\x9F\x98\x80",
     true, nullptr},
    {"utf16le_lone_surrogate", Bytes({0xFF, 0xFE, 0x00, 0xD8, 'x', 0}), "\xEF\xBF\xBDx", true,
     nullptr},
    {"utf16_odd_byte_count", Bytes({0xFF, 0xFE, 'A', 0, 'B'}), "A", true,
     "UTF-16 content has an odd byte count(3): the last byte is ignored"},
    {"utf16_zero_unit", Bytes({0xFF, 0xFE, 'A', 0, 0, 0, 'B', 0}), "A B", true,
     "contains unencoded binary data(1 bad symbols)"},
    {"utf16be_zero_unit", Bytes({0, 'A', 0, 0, 0, 'B'}), "A B", true,
     "contains unencoded binary data(1 bad symbols)"},
    {"utf16_bom_only", Bytes({0xFF, 0xFE}), "", true, nullptr},
    {"eight_bit", "AB\xE9", "AB\xE9", false, nullptr},
    {"eight_bit_zero_bytes", std::string("AB\0C\0", 5), "AB C ", false,
     "contains unencoded binary data(2 bad symbols)"},
    {"utf8_bom_zero_byte",
     std::string("\xEF\xBB\xBF"
                 "A\0",
                 5),
     "A ", true, "contains unencoded binary data(1 bad symbols)"},
    {"ef_bb_without_bf",
     "\xEF\xBB"
     "A",
     "\xEF\xBB"
     "A",
     false, nullptr},
    {"ef_bb_only", "\xEF\xBB", "\xEF\xBB", false, nullptr},
    {"one_byte", "A", "A", false, nullptr},
    {"one_zero_byte", std::string("\0", 1), std::string("\0", 1), false, nullptr},
};

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, Matrix) {
  const DecodeCase& c = GetParam();
  CapturedLog captured;
  std::string storage = c.input;
  std::int32_t length = static_cast<std::int32_t>(storage.size());
  bool utf8 = !c.utf8;
  ASSERT_TRUE(DecodeCardContent(captured.log, storage, length, "f.vcf", utf8));
  EXPECT_EQ(std::string_view(storage.data(), length), c.expected);
  EXPECT_EQ(static_cast<std::size_t>(length), storage.size());
  EXPECT_EQ(storage.c_str()[length], '\0');
  EXPECT_EQ(utf8, c.utf8);
  if (c.message) {
    EXPECT_EQ(captured.Count(c.message), 1) << captured.Text();
  }
  EXPECT_EQ(captured.Problems(), c.message ? 1 : 0) << captured.Text();
}

INSTANTIATE_TEST_SUITE_P(CardContent, DecodeTest, ::testing::ValuesIn(kDecodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CardContent, BinaryMessageNamesTheFile) {
  CapturedLog captured;
  std::string storage("AB\0", 3);
  std::int32_t length = 3;
  bool utf8 = false;
  DecodeCardContent(captured.log, storage, length, "/x/cards.vcf", utf8);
  EXPECT_TRUE(captured.Has(
      "Content(/x/cards.vcf) contains unencoded binary data(1 bad symbols)! It cannot be "
      "imported correctly."))
      << captured.Text();
}

TEST(CardContent, ControlCharacters) {
  std::string all;
  for (int c = 0; c < 0x21; ++c) all.push_back(static_cast<char>(c));
  all += "\x7F\x80\xFF";
  const std::int32_t count = ReplaceControlChars(all.data(), static_cast<std::int32_t>(all.size()));
  EXPECT_EQ(count, 28);  // 0x01-0x08, 0x0B, 0x0C, 0x0E-0x1F
  std::string expected("\0        \t\n  \r", 14);
  expected += std::string(18, ' ') + " \x7F\x80\xFF";  // 0x0E-0x1F, then 0x20
  EXPECT_EQ(all, expected);

  std::string clean = "BEGIN:VCARD\r\n\tx";
  EXPECT_EQ(ReplaceControlChars(clean.data(), static_cast<std::int32_t>(clean.size())), 0);
  EXPECT_EQ(clean, "BEGIN:VCARD\r\n\tx");
}

}  // namespace
}  // namespace velmora
