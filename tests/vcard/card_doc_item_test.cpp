#include "vcard/card_doc_item.h"

#include <string>

#include <gtest/gtest.h>

#include "vcard_test_support.h"

namespace velmora::vcard {
namespace {

using test::CapturedLog;

TEST(CardDocItem, VersionDecidesTheRules) {
  // A card whose VERSION is empty follows the 2.1 rules: no unescaping, the
  // fold's space kept, bare parameters as types.
  CapturedLog captured;
  CCardDoc doc(captured.log);
  ASSERT_EQ(doc.LoadFromString("BEGIN:VCARD\r\nVERSION:\r\nTEL;HOME:a\\,b\r\n c\r\n"
                               "END:VCARD\r\n"),
            LoadResult::kComplete);
  const CCardDocItemProp* tel = doc.GetItem(0)->FindProp("TEL");
  std::u16string text;
  tel->GetDecodedValue(text);
  EXPECT_EQ(text, u"a\\,b c");
  std::string types;
  tel->GetTypes(types);
  EXPECT_EQ(types, "HOME");
}

TEST(CardDocItem, FindProp) {
  CapturedLog captured;
  CCardDoc doc(captured.log);
  ASSERT_EQ(doc.LoadFromString("BEGIN:VCARD\r\nVERSION:3.0\r\nTEL:1\r\nitem1.tel:2\r\n"
                               "END:VCARD\r\n"),
            LoadResult::kComplete);
  const CCardDocItem& item = *doc.GetItem(0);
  int index = -5;
  const CCardDocItemProp* tel = item.FindProp("Tel", &index);
  ASSERT_NE(tel, nullptr);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(tel->raw_value(), "1");
  EXPECT_EQ(item.FindProp("BEGIN", &index), nullptr);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(item.FindProp("TE"), nullptr);
  EXPECT_EQ(item.FindProp("", &index), nullptr);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(captured.Count("in CCardDocItem.FindProp: ASSERT failed in line"), 1)
      << captured.Text();
  EXPECT_EQ(item.GetPropCount(), 3);
  EXPECT_EQ(item.Charset2Codepage("Windows-1250"), 1250);
  EXPECT_EQ(item.Charset2Codepage("nonsense"), -1);
}

}  // namespace
}  // namespace velmora::vcard
