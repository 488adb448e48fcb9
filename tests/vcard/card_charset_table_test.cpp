#include "vcard/card_charset_table.h"

#include <gtest/gtest.h>

#include "vcard_test_support.h"

namespace velmora {
namespace {

TEST(CardCharsetTable, BuiltInRowsInOrder) {
  const CCardCharsetTable table;
  const auto& rows = table.rows();
  ASSERT_EQ(rows.size(), 29u);
  EXPECT_EQ(rows[0], (std::pair<std::string, int>("UTF-7", 65000)));
  EXPECT_EQ(rows[1], (std::pair<std::string, int>("UTF-8", 65001)));
  EXPECT_EQ(rows[2], (std::pair<std::string, int>("US-ASCII", 20127)));
  for (int n = 1; n <= 16; ++n) {
    EXPECT_EQ(rows[2 + n].first, "ISO-8859-" + std::to_string(n));
    EXPECT_EQ(rows[2 + n].second, 28590 + n);
  }
  for (int n = 0; n <= 8; ++n) {
    EXPECT_EQ(rows[19 + n].first, "Windows-125" + std::to_string(n));
    EXPECT_EQ(rows[19 + n].second, 1250 + n);
  }
  EXPECT_EQ(rows[28], (std::pair<std::string, int>("Windows-874", 874)));
}

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
}  // namespace velmora
