#include "foundation/text_format.h"

#include <velmora/status.h>

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(TextFormatTest, FormatsLikePrintfByArgumentType) {
  const std::string s8 = "bytes";
  const std::u16string s16 = u"Иван";
  EXPECT_EQ(Format("%d items", 42), u"42 items");
  EXPECT_EQ(Format("%04d-%02d-%02d", 2024, 3, 9), u"2024-03-09");
  EXPECT_EQ(Format("0x%X", E_INVALIDARG), u"0x80070057");
  EXPECT_EQ(Format("0x%x", -1), u"0xffffffff");
  EXPECT_EQ(Format("%x %x", u'\x1F', 26.0), u"1f 1a");
  EXPECT_EQ(Format("%u", 4000000000u), u"4000000000");
  EXPECT_EQ(Format("%s and %s", s8, s16), u"bytes and Иван");
  EXPECT_EQ(Format("%S|%ls", u"wide", "narrow"), u"wide|narrow");
  EXPECT_EQ(Format("[%5s][%-5s][%.2s]", "ab", "ab", "abcd"), u"[   ab][ab   ][ab]");
  EXPECT_EQ(Format("%c%c", u'Ж', 65), u"ЖA");
  EXPECT_EQ(Format("%.2f %g", 1.005, 0.5), u"1.00 0.5");
  EXPECT_EQ(Format("100%% %I64d %lld %ld", int64_t{5}, 6LL, 7L), u"100% 5 6 7");
  EXPECT_EQ(Format("%*d|%.*s", 4, 7, 2, "xyz"), u"   7|xy");
  // Mismatched conversions print the argument as what it is.
  EXPECT_EQ(Format("%d", "text"), u"text");
  EXPECT_EQ(Format("%s", 12), u"12");
  // Missing arguments print nothing; stray or unknown specs stay as text.
  EXPECT_EQ(Format("a%db%s"), u"ab");
  EXPECT_EQ(Format("50%"), u"50%");
  EXPECT_EQ(Format("%y", 1), u"%y");
  // UTF-8 in the format; 8-bit arguments that are not UTF-8 read in the
  // ANSI code page (1252 in tests).
  EXPECT_EQ(Format("Größe %s",
                   "Gr\xf6\xdf"
                   "e"),
            u"Größe Größe");
}

TEST(TextFormatTest, StopsAtTheLimit) {
  std::u16string out;
  const FormatArg args[] = {FormatArg("0123456789")};
  FormatInto(out, "ab%scd", args, 5);
  EXPECT_EQ(out, u"ab012");
}

}  // namespace
}  // namespace velmora
