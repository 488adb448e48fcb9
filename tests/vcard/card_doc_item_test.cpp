#include "vcard/card_doc_item.h"

#include <string>

#include <gtest/gtest.h>

#include "vcard_test_support.h"

namespace velmora {
namespace {

using test::CapturedLog;

TEST(CardDocItem, GetVersion) {
  const struct {
    const char* lines;
    double version;
    int no_version_errors;
  } cases[] = {
      {"VERSION:2.1\r\n", 2.1, 0},
      {"VERSION:3.0\r\n", 3.0, 0},
      {"version: \t4.0\r\n", 4.0, 0},
      {"VERSION:3.0.1beta\r\n", 3.0, 0},
      {"VERSION:abc\r\n", 0.0, 0},
      {"VERSION:.\r\n", 0.0, 0},
      {"VERSION:\r\n", 0.0, 1},
      {"FN:x\r\n", 0.0, 0},
      {"FN:x\r\nVERSION:2.1\r\nVERSION:3.0\r\n", 2.1, 0},  // the first one counts
      {"VERSION:\r\nVERSION:3.0\r\n", 0.0, 1},
  };
  for (const auto& c : cases) {
    CapturedLog captured;
    CCardDoc doc(captured.log);
    const std::string text = std::string("BEGIN:VCARD\r\n") + c.lines + "END:VCARD\r\n";
    ASSERT_EQ(doc.LoadFromString(text.c_str()), 0);
    EXPECT_DOUBLE_EQ(doc.GetItem(0)->GetVersion(), c.version) << c.lines;
    EXPECT_DOUBLE_EQ(doc.GetItem(0)->GetVersion(), c.version) << c.lines;
    EXPECT_EQ(captured.Count("No version"), c.no_version_errors) << c.lines;
  }
}

TEST(CardDocItem, VersionDecidesTheRules) {
  // A card whose VERSION is empty follows the 2.1 rules: no unescaping, the
  // fold's space kept, bare parameters as types.
  CapturedLog captured;
  CCardDoc doc(captured.log);
  ASSERT_EQ(doc.LoadFromString("BEGIN:VCARD\r\nVERSION:\r\nTEL;HOME:a\\,b\r\n c\r\n"
                               "END:VCARD\r\n"),
            0);
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
            0);
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

TEST(CardDocItemPropParam, Unfold) {
  const struct {
    const char* line;
    const char* name;
    const char* value;
    int errors;
  } cases[] = {
      {"X;TYPE=HOME,\r\n WORK:1", "TYPE", "HOME,WORK", 0},
      {"X;TY\r\n PE=a\n b:1", "TYPE", "ab", 0},
      {"X;A=x\r\n  y:1", "A", "x y", 0},
      {"X;A=x\r\n \r\n y:1", "A", "xy", 0},
      {"X;A=\r\n y\r\n z:1", "A", "yz", 0},
  };
  for (const auto& c : cases) {
    CapturedLog captured;
    CCardDoc doc(captured.log);
    const std::string text = std::string("BEGIN:VCARD\r\n") + c.line + "\r\nEND:VCARD\r\n";
    ASSERT_EQ(doc.LoadFromString(text.c_str()), 0) << c.line;
    const auto& params = doc.GetItem(0)->GetProp(0).params();
    ASSERT_EQ(params.size(), 1u) << c.line;
    EXPECT_EQ(params[0].GetName(), c.name) << c.line;
    EXPECT_EQ(params[0].GetValue(), c.value) << c.line;
    EXPECT_EQ(params[0].GetValue().data(), params[0].GetValue().data());  // cached
    EXPECT_EQ(captured.Count("No space after CrLf"), c.errors) << captured.Text();
  }
}

TEST(CardDocItemPropParam, ToStringAndTrimming) {
  CapturedLog captured;
  CCardDoc doc(captured.log);
  ASSERT_EQ(doc.LoadFromString("BEGIN:VCARD\r\nX;A= b ;c;;D=x\r\n  e :1\r\nEND:VCARD\r\n"), 0);
  const auto& params = doc.GetItem(0)->GetProp(0).params();
  ASSERT_EQ(params.size(), 4u);
  EXPECT_EQ(params[0].ToString(), "Param( \"A\" = \"b\" )");
  EXPECT_EQ(params[1].ToString(), "Param( \"c\" )");
  EXPECT_EQ(params[2].ToString(), "Param()");
  EXPECT_EQ(params[3].GetValue(), "x e");
  EXPECT_EQ(params[3].GetValueTrimmed(), "x e");
  EXPECT_TRUE(params[1].IsBare());
  EXPECT_FALSE(params[0].IsBare());
}

}  // namespace
}  // namespace velmora
