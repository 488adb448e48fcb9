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
  EXPECT_EQ(table.CodepageFromCharset(captured.log, "windows-1251"), 1251);
  EXPECT_EQ(table.CodepageFromCharset(captured.log, "ISO-8859-12"), 28602);
  EXPECT_EQ(table.CodepageFromCharset(captured.log, "gb2312"), 936);
  EXPECT_EQ(table.CodepageFromCharset(captured.log, "UTF-8 "), -1);
  EXPECT_EQ(table.CodepageFromCharset(captured.log, "SJIS"), -1);
  EXPECT_EQ(table.CharsetFromCodepage(captured.log, 932), "Shift_JIS");
  EXPECT_EQ(table.CharsetFromCodepage(captured.log, 28605), "ISO-8859-15");
  EXPECT_EQ(table.CharsetFromCodepage(captured.log, 437), "");
  EXPECT_EQ(table.CodepageFromCharset(captured.log, ""), -1);
  EXPECT_EQ(table.CharsetFromCodepage(captured.log, 0), "");
  EXPECT_TRUE(captured.Has("Unknown charset(\"UTF-8 \")"));
  EXPECT_TRUE(captured.Has("Unknown charset(\"SJIS\")"));
  EXPECT_TRUE(captured.Has("Unknown codepage(437)"));
  EXPECT_EQ(captured.Count("ASSERT failed in line"), 2);
}

}  // namespace
}  // namespace velmora::vcard
