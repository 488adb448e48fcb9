#include "vcard/card_doc_item_prop.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/automation_date.h"
#include "foundation/code_page.h"
#include "support/case_file.h"
#include "vcard_test_support.h"

namespace velmora::vcard {
namespace {

std::string Utf8(std::u16string_view text) { return codepage::FromUtf16(codepage::kUtf8, text); }

// A document holding one card with `lines`; `Prop` finds a property in it.
class OneCard {
 public:
  OneCard(std::string_view version, const std::string& lines, bool with_bom = false,
          const CharsetPairs& extra = {})
      : doc_(captured.log, extra) {
    text_ = (with_bom ? "\xEF\xBB\xBF" : "") + test::Card(version, lines);
    EXPECT_EQ(doc_.LoadFromMemory(text_.data(), static_cast<std::int32_t>(text_.size()), true),
              LoadResult::kComplete)
        << captured.Text();
  }
  const CCardDocItem& item() const { return *doc_.GetItem(0); }
  const CCardDocItemProp& Prop(std::string_view name) const {
    const CCardDocItemProp* prop = item().FindProp(name);
    EXPECT_NE(prop, nullptr) << name;
    return prop ? *prop : item().begin_prop();
  }
  test::CapturedLog captured;

 private:
  std::string text_;
  CCardDoc doc_;
};

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (const std::string& part : parts) out += (&part == &parts[0] ? "" : separator) + part;
  return out;
}

TEST(Decoding, Cases) {
  for (const test::FileCase& c : test::ReadCases("vcard/data/property_values.txt")) {
    SCOPED_TRACE(c["line"]);
    OneCard card(c["version"], c["line"] + "\r\n");
    const CCardDocItemProp& prop = card.item().GetProp(1);
    const std::vector<std::string> keep = c.All("keep");
    const auto keeps = [&](const char* what) {
      return std::find(keep.begin(), keep.end(), what) != keep.end();
    };
    if (c.Has("value")) {
      std::u16string text;
      prop.GetDecodedValue(text, keeps("semicolons"), keeps("commas"));
      EXPECT_EQ(Utf8(text), c["value"]);
    } else if (c.Has("matches declared charset")) {
      EXPECT_EQ(prop.ValueMatchesDeclaredCharset(), c["matches declared charset"] == "yes");
    } else if (c.Has("bytes")) {
      std::vector<std::uint8_t> bytes{1};
      const bool decoded = prop.GetDecodedBinaryValue(bytes);
      std::string hex = decoded ? "" : "fails";
      for (std::uint8_t byte : bytes) {
        hex += "0123456789ABCDEF"[byte >> 4];
        hex += "0123456789ABCDEF"[byte & 15];
      }
      EXPECT_EQ(hex, c["bytes"]);
    } else if (c.Has("parts")) {
      std::vector<std::u16string> list{u"stale"};
      prop.GetDecodedMultiValue(list, c.Number("at least"), c.Has("split on"));
      std::vector<std::string> parts;
      for (const auto& part : list) parts.push_back(Utf8(part));
      EXPECT_EQ(Joined(parts, "|"), c["parts"]);
      EXPECT_EQ(card.captured.Count("unexpected escaped sequence(\"\\n\")"), c.Number("problems"));
    } else {
      std::string text = "stale";
      std::vector<std::string> list{"stale"};
      prop.GetTypes(text, &list);
      EXPECT_EQ(text, c["types"]);
      EXPECT_EQ(Joined(list, ","), c["types"]);
    }
    const std::vector<std::string> logged = c.All("logged");
    if (logged.empty()) {
      EXPECT_EQ(card.captured.Problems(), c.Number("problems")) << card.captured.Text();
    } else {
      EXPECT_EQ(card.captured.Count(logged[0]), 1) << card.captured.Text();
    }
  }
}

TEST(Decoding, DefaultCharsetComesFromTheSettingsTheMarkOrTheExtraTable) {
  auto decoded = [](const OneCard& card, std::string_view name) {
    std::u16string text;
    card.Prop(name).GetDecodedValue(text);
    return Utf8(text);
  };
  test::ScopedSettings settings;
  settings.AnsiCodePage(1251);
  EXPECT_EQ(decoded(OneCard("2.1", "N:\xC8\xE2\xE0\xED\r\n"), "N"), "Иван");
  // A byte order mark makes every value UTF-8.
  const OneCard marked(
      "2.1", "N;CHARSET=ISO-8859-1:\xC3\xA9\r\nX;ENCODING=QUOTED-PRINTABLE:=C3=A9\r\n", true);
  EXPECT_EQ(decoded(marked, "N") + decoded(marked, "X"), "éé");
  const OneCard japanese("2.1",
                         "N;CHARSET=SHIFT_JIS:\x93\xFA\x96\x7B;\x91\xBE\x98\x59\r\n"
                         "X;CHARSET=Shift_JIS;ENCODING=QUOTED-PRINTABLE:=83=65=83=58=83=67\r\n",
                         false, {{"Shift_JIS", 932}});
  std::vector<std::u16string> parts;
  japanese.Prop("N").GetDecodedMultiValue(parts, 2, false);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(Utf8(parts[0]) + "|" + Utf8(parts[1]) + "|" + decoded(japanese, "X"),
            "日本|太郎|テスト");
}

TEST(Decoding, MarkedContentMatchesAsUtf8) {
  // Content that was UTF-16 or carried a mark is UTF-8 throughout.
  OneCard marked("2.1", "N:M\xC3\xBCller\r\n", true);
  EXPECT_TRUE(marked.Prop("N").ValueMatchesDeclaredCharset());
}

TEST(Decoding, PropertyOutsideAnItem) {
  OneCard card("3.0", "");
  std::u16string text = u"x";
  card.item().begin_prop().GetDecodedValue(text);
  EXPECT_TRUE(text.empty());
  std::vector<std::uint8_t> bytes;
  EXPECT_FALSE(card.item().end_prop().GetDecodedBinaryValue(bytes));
  EXPECT_EQ(card.captured.Count("ASSERT failed in line"), 2);
}

TEST(Decoding, GetDecodedDateTimeValue) {
  const char kICloud[] = "PRODID:-//Apple Inc.//iCloud Web Address Book 2010B09//EN\r\n";
  for (const test::FileCase& c : test::ReadCases("vcard/data/property_dates.txt")) {
    SCOPED_TRACE(c["lines"]);
    OneCard card("3.0", (c.Has("icloud") ? kICloud : "") + c["lines"] + "\r\n");
    // Both flags start opposite to what the case expects: each must be set.
    double date = -1;
    bool valid = c["expect"].starts_with("invalid"), utc = !c["expect"].ends_with(" UTC");
    card.item().props().back().GetDecodedDateTimeValue(date, valid, utc, c.Has("to local"));
    std::string read = "invalid";
    SystemTime t;
    if (valid && VariantTimeToSystemTime(date, &t)) {
      char text[32];
      std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                    t.hour, t.minute, t.second, t.milliseconds);
      read = text;
    } else {
      EXPECT_EQ(date, 0.0);
    }
    EXPECT_EQ(read + (utc ? " UTC" : ""), c["expect"]);
    const std::string& lines = c["lines"];
    EXPECT_EQ(
        valid ? card.captured.Problems()
              : card.captured.Count("Invalid value(" + lines.substr(lines.rfind(':') + 1) + ")"),
        valid ? 0 : 1)
        << card.captured.Text();
  }
}

TEST(Properties, FindParameters) {
  OneCard card("2.1",
               "X;TYPE=A;type=B;QUOTED-PRINTABLE;Y=base64;ENCODING=B;CHARSET=x;"
               "charset=y:1\r\nZ;P=BASE64;QUOTED-PRINTABLE;HOME:1\r\n");
  const CCardDocItemProp& x = card.Prop("X");
  EXPECT_EQ(x.FindParamByName("type"), 0);
  EXPECT_EQ(x.FindParamByName("TYPE", 1), 1);
  EXPECT_EQ(x.FindParamByName("TYPE", 2), -1);
  EXPECT_EQ(x.FindParamByName("TYP"), -1);
  int index = 7;
  EXPECT_TRUE(x.FindParam("missing", &index) == nullptr && index == -1);
  EXPECT_EQ(x.FindParamByValue("BASE64"), 3);
  EXPECT_EQ(x.FindParamByValue("BASE64", 0, true), -1);
  EXPECT_EQ(x.FindParamByValue("quoted-printable", 0, true), 2);
  EXPECT_EQ(x.FindEncodingParam(&index)->GetValue(), "B");  // by name first
  EXPECT_EQ(index, 4);
  EXPECT_EQ(x.FindCharsetParam(&index)->GetValue(), "x");
  EXPECT_EQ(index, 5);
  const CCardDocItemProp& z = card.Prop("Z");
  EXPECT_EQ(z.FindEncodingParam(&index)->GetValue(), "QUOTED-PRINTABLE");  // before BASE64
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(card.Prop("VERSION").FindEncodingParam(&index) == nullptr && index == -1);
}

TEST(Properties, ToString) {
  const std::string long_value = "a\r\n b\n c" + std::string(200, 'x');
  OneCard card("3.0", "item1.TEL;TYPE=HOME;PREF:12\r\nX;;:\r\nNOTE:" + long_value + "\r\n");
  EXPECT_EQ(card.Prop("TEL").ToString(),
            "Prop( Group = \"item1.\" Name = \"TEL\" Param( \"TYPE\" = \"HOME\" ) "
            "Param( \"PREF\" ) Value = \"12\" )");
  EXPECT_EQ(card.Prop("X").ToString(), "Prop( Name = \"X\" Param() Param() Value = \"\" )");
  const std::string shown = "a  b  c" + std::string(128 - 8, 'x');
  EXPECT_EQ(card.Prop("NOTE").ToString(), "Prop( Name = \"NOTE\" Value = \"" + shown + "...\" )");
  EXPECT_EQ(card.Prop("TEL").GetGroup(), "item1.");
  EXPECT_EQ(card.Prop("TEL").GetName(), "TEL");
  EXPECT_EQ(card.Prop("NOTE").GetRawValue(), long_value);
}

}  // namespace
}  // namespace velmora::vcard
