#include "vcard/card_content_decoding.h"

#include <string>

#include <gtest/gtest.h>

#include "support/case_file.h"
#include "vcard_test_support.h"

namespace velmora::vcard {
namespace {

TEST(CardContent, Decoding) {
  for (const test::FileCase& c : test::ReadCases("vcard/data/content_decoding.txt")) {
    SCOPED_TRACE(c.name);
    test::CapturedLog captured;
    std::string storage = c["input"];
    std::int32_t length = static_cast<std::int32_t>(storage.size());
    bool utf8 = !c.Has("utf8");
    ASSERT_TRUE(DecodeCardContent(captured.log, storage, length, "f.vcf", utf8));
    EXPECT_EQ(std::string_view(storage.data(), length), c["text"]);
    EXPECT_EQ(static_cast<std::size_t>(length), storage.size());
    EXPECT_EQ(storage.c_str()[length], '\0');
    EXPECT_EQ(utf8, c.Has("utf8"));
    for (const std::string& message : c.All("logged")) {
      EXPECT_EQ(captured.Count(message), 1) << captured.Text();
    }
    EXPECT_EQ(captured.Problems(), static_cast<int>(c.All("logged").size())) << captured.Text();
  }
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
}  // namespace velmora::vcard
