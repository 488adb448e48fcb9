// Inputs that once were, or easily could be, dangerous for the reader: each
// is loaded, every property of every item is decoded in every way, and the
// result must be sane. The document's buffer is exactly the input, so any
// read past it is caught by the sanitizer builds (scripts/fuzz.sh).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vcard/card_doc.h"
#include "vcard_test_support.h"

namespace velmora::vcard {
namespace {

// Loads `input` both ways and decodes everything; returns the item count of
// the decoded load.
int LoadAndDecodeAll(CLog& log, const std::string& input) {
  CCardDoc doc(log);
  int items = 0;
  for (const bool decode : {true, false}) {
    const int result = static_cast<int>(
        doc.LoadFromMemory(input.data(), static_cast<std::int32_t>(input.size()), decode));
    EXPECT_GE(result, -1);
    EXPECT_LE(result, 1);
    if (decode) items = doc.GetItemCount();
    for (const auto& item : doc.items()) {
      EXPECT_LE(item->start() + item->length(), doc.content().data() + doc.content().size());
      std::u16string text;
      std::vector<std::u16string> parts;
      std::vector<std::uint8_t> bytes;
      std::string types;
      for (const auto& prop : item->props()) {
        EXPECT_LE(prop.raw_text().data() + prop.raw_text().size(),
                  doc.content().data() + doc.content().size());
        prop.GetDecodedValue(text, false, false);
        prop.GetDecodedValue(text, true, true);
        prop.GetDecodedMultiValue(parts, 3, true);
        double date;
        bool valid, utc;
        prop.GetDecodedDateTimeValue(date, valid, utc, true);
        prop.GetDecodedBinaryValue(bytes);
        prop.GetTypes(types);
        prop.ToString();
      }
      EXPECT_FALSE(item->ToString().empty());
    }
  }
  return items;
}

struct BadInput {
  const char* name;
  std::string bytes;
  int items;
};

const BadInput kBadInputs[] = {
    {"qp_equals_at_the_very_end", "BEGIN:VCARD\r\nN;ENCODING=QUOTED-PRINTABLE:abc=", 0},
    {"qp_equals_hex_digit_at_end", "BEGIN:VCARD\r\nN;ENCODING=QUOTED-PRINTABLE:abc=4", 0},
    {"qp_soft_break_at_end", "BEGIN:VCARD\r\nN;QUOTED-PRINTABLE:abc=\r", 0},
    {"qp_last_item_value", "BEGIN:VCARD\r\nEND:VCARD\r\nX;ENCODING=QUOTED-PRINTABLE:=", 1},
    {"base64_at_the_very_end", "BEGIN:VCARD\r\nPHOTO;ENCODING=BASE64:QUJ", 0},
    {"base64_padding_at_end", "BEGIN:VCARD\r\nPHOTO;ENCODING=b:\r\n QQ=", 0},
    {"lone_cr", "\r", 0},
    {"lone_cr_lines", "BEGIN:VCARD\rFN:a\rEND:VCARD\r", 1},
    {"nul_bytes", std::string("BEGIN:VCARD\0\0\r\nFN:\0a\r\nEND:VCARD\0", 33), 1},
    {"nul_only", std::string(64, '\0'), 0},
    {"only_separators", std::string(4096, ';') + ":::\r\n\r\n;;:", 0},
    {"only_line_breaks", std::string(10000, '\n') + std::string(10000, '\r'), 0},
    {"utf16_odd_byte_count",
     std::string("\xFF\xFE"
                 "B\0E\0G\0I\0N\0:\0V\0C\0A\0R\0D\0\n",
                 25),
     0},
    {"utf16_without_bom_odd", std::string("B\0E\0G\0", 5), 0},
    {"bom_only", "\xEF\xBB\xBF", 0},
    {"folded_parameters_to_the_end", "BEGIN:VCARD\r\nX;A=b\r\n c\r\n d\r\n ", 0},
    {"equals_in_parameter_at_end", "BEGIN:VCARD\r\nEND:VCARD\r\nX;A=", 1},
};

class BadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, ReadsSafely) {
  test::CapturedLog captured;
  EXPECT_EQ(LoadAndDecodeAll(captured.log, GetParam().bytes), GetParam().items) << captured.Text();
}

INSTANTIATE_TEST_SUITE_P(CardDocRegression, BadInputTest, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CardDocRegression, MegabyteLines) {
  CLog log;
  std::string text = "BEGIN:VCARD\r\nNOTE:" + std::string(4 << 20, 'x') + "\r\n";
  text += "X;ENCODING=QUOTED-PRINTABLE:" + std::string(1 << 20, '=') + "\r\n";
  text += "PHOTO;ENCODING=b:" + std::string(2 << 20, 'A') + "\r\n";
  text += "N;" + std::string(1 << 20, ';') + ":x\r\nEND:VCARD\r\n";
  CCardDoc doc(log);
  ASSERT_EQ(doc.LoadFromString(text.c_str()), LoadResult::kComplete);
  const CCardDocItem& item = *doc.GetItem(0);
  ASSERT_EQ(item.GetPropCount(), 4);
  EXPECT_EQ(item.GetProp(0).raw_value().size(), 4u << 20);
  EXPECT_EQ(item.GetProp(1).raw_value().size(), 1u << 20);
  EXPECT_EQ(item.GetProp(2).raw_value().size(), 2u << 20);
  EXPECT_EQ(item.GetProp(3).params().size(), (1u << 20) + 1);
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(item.GetProp(2).GetDecodedBinaryValue(bytes));
  EXPECT_EQ(bytes.size(), 3u << 19);
  EXPECT_EQ(item.ToString(), text);
}

TEST(CardDocRegression, ManyCardsAndPropertiesAcrossPoolBlocks) {
  // Items larger than a pool block move while they are read; everything
  // handed out must stay where it is.
  CLog log;
  std::string text;
  for (int card = 0; card < 30; ++card) {
    text += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    const int props = card % 3 == 0 ? 20000 : 7;
    for (int i = 0; i < props; ++i) text += "TEL;TYPE=HOME;X=" + std::to_string(i) + ":1\r\n";
    text += "END:VCARD\r\n";
  }
  CCardDoc doc(log);
  ASSERT_EQ(doc.LoadFromString(text.c_str()), LoadResult::kComplete);
  ASSERT_EQ(doc.GetItemCount(), 30);
  std::string joined;
  for (const auto& item : doc.items()) {
    for (const auto& prop : item->props()) {
      ASSERT_EQ(prop.item(), item.get());
      if (prop.name() == "VERSION") continue;
      ASSERT_EQ(prop.params().size(), 2u);
      ASSERT_EQ(prop.params()[0].property(), &prop);
    }
    joined += item->ToString();
  }
  EXPECT_EQ(joined, text);
  EXPECT_EQ(doc.GetItem(27)->GetProp(19999).params()[1].GetValue(), "19998");
  EXPECT_EQ(doc.GetItem(27)->GetProp(19999).params()[1].ToString(), "Param( \"X\" = \"19998\" )");
}

}  // namespace
}  // namespace velmora::vcard
