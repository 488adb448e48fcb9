#include "vcard/card_charset_table.h"

#include <gtest/gtest.h>

#include "vcard_test_support.h"

namespace velmora::vcard {
namespace {

TEST(CardCharsetTable, Lookups) {
  test::CapturedLog captured;
  const CCardCharsetTable table(
      {{"Shift_JIS", 932}, {"utf8", 65001}, {"SJIS", 932}, {"GB2312", 936}});
  EXPECT_EQ(table.rows().size(), 31u);  // repeated code pages are left out
  std::string found;
  for (const char* charset : {"windows-1251", "ISO-8859-12", "gb2312", "UTF-8 ", "SJIS", ""}) {
    found += std::to_string(table.CodepageFromCharset(captured.log, charset)) + " ";
  }
  for (int code_page : {932, 28605, 437, 0}) {
    found += table.CharsetFromCodepage(captured.log, code_page) + "|";
  }
  EXPECT_EQ(found, "1251 28602 936 -1 -1 -1 Shift_JIS|ISO-8859-15|||");
  EXPECT_TRUE(captured.Has("Unknown charset(\"UTF-8 \")"));
  EXPECT_TRUE(captured.Has("Unknown charset(\"SJIS\")"));
  EXPECT_TRUE(captured.Has("Unknown codepage(437)"));
  EXPECT_EQ(captured.Count("ASSERT failed in line"), 2);
}

}  // namespace
}  // namespace velmora::vcard
