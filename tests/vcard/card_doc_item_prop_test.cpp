#include "vcard/card_doc_item_prop.h"

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/automation_date.h"
#include "foundation/code_page.h"
#include "vcard_test_support.h"

namespace velmora {
namespace {

using test::CapturedLog;
using test::Card;

std::string Utf8(std::u16string_view text) { return codepage::FromUtf16(codepage::kUtf8, text); }

// A document holding one card with `lines`; `Prop` finds a property in it.
class OneCard {
 public:
  OneCard(std::string_view version, const std::string& lines, bool with_bom = false,
          const CharsetPairs& extra = {})
      : doc_(captured.log, extra) {
    text_ = (with_bom ? "\xEF\xBB\xBF" : "") + Card(version, lines);
    EXPECT_EQ(doc_.LoadFromMemory(text_.data(), static_cast<std::int32_t>(text_.size()), true,
                                  nullptr, nullptr),
              0)
        << captured.Text();
  }
  const CCardDocItem& item() const { return *doc_.GetItem(0); }
  const CCardDocItemProp& Prop(std::string_view name) const {
    const CCardDocItemProp* prop = item().FindProp(name);
    EXPECT_NE(prop, nullptr) << name;
    return prop ? *prop : item().begin_prop();
  }
  CapturedLog captured;

 private:
  std::string text_;
  CCardDoc doc_;
};

TEST(Decoding, GetDecodedValue) {
  struct Case {
    const char* version;
    std::string line;  // one property, the second of the card
    bool keep_semicolons, keep_commas;
    const char* expected;  // UTF-8
    const char* message;   // logged once, or null: nothing logged
  };
  const Case cases[] = {
      {"2.1", "N;CHARSET=Windows-1251;ENCODING=QUOTED-PRINTABLE:=C8=E2=E0=ED=EE=E2;=C8=E2=E0=ED",
       false, false, "Иванов;Иван", nullptr},
      {"2.1", "N;CHARSET=utf-8:\xC3\xA9t\xC3\xA9", false, false, "été", nullptr},
      // Without a charset: ANSI below 3.0, UTF-8 from 3.0 on.
      {"2.1", "N:\xE9t\xE9", false, false, "été", nullptr},
      {"3.0", "N:\xC3\xA9t\xC3\xA9", false, false, "été", nullptr},
      {"2.1", "N;CHARSET=ISO-8859-2:\xB1\xB3", false, false, "ął", nullptr},
      {"2.1", "N;CHARSET=WINDOWS-1253:\xC1\xE8\xDE\xED\xE1", false, false, "Αθήνα", nullptr},
      {"2.1", "N;CHARSET=UTF-7:+AOk-t+AOk-", false, false, "été", nullptr},
      {"2.1", "N;CHARSET=Murks:\xE9", false, false, "é", "Unknown charset(\"Murks\")"},
      // A known name without a platform code page.
      {"2.1", "N;CHARSET=ISO-8859-12:abc", false, false, "", nullptr},
      {"3.0", "N:a\\,b\\;c\\\\d\\ne\\Nf", false, false, "a,b;c\\d\r\ne\r\nf", nullptr},
      {"3.0", "N:a\\,b\\;c\\\\d", true, false, "a,b\\;c\\\\d", nullptr},
      {"3.0", "N:a\\,b\\;c\\\\d", false, true, "a\\,b;c\\\\d", nullptr},
      {"3.0", "N:a\\xb\\", false, false, "a\\xb\\", nullptr},
      {"2.1", "N:a\\,b\\nc", false, false, "a\\,b\\nc", nullptr},
      // Unfolding keeps the space in 2.1 and drops it from 3.0 on.
      {"2.1", "N:a\r\n b\r\n  c", false, false, "a b  c", nullptr},
      {"3.0", "N:a\r\n b\r\n  c", false, false, "ab c", nullptr},
      {"2.1", "N;ENCODING=QUOTED-PRINTABLE:a=3Db=\r\nc", false, false, "a=bc", nullptr},
      {"2.1", "N;CHARSET=UTF-8;QUOTED-PRINTABLE:=c3=a9=ZZ=4G", false, false, "é=Z=G", nullptr},
      {"2.1", "N;ENCODING=QUOTED-PRINTABLE:ab=00cd", false, false, "ab", nullptr},
      {"3.0", "N;ENCODING=QUOTED-PRINTABLE:a\\,b", false, false, "a\\,b", nullptr},
      {"3.0", "N;ENCODING=b:aGVsbG8=", false, false, "hello", nullptr},
      {"3.0", "N;ENCODING=BASE64:aGkAeA==", false, false, "hi", nullptr},  // cut at zero
      {"3.0", "N;ENCODING=8BIT:x\\,y", false, false, "x,y", "Unknown encoding(\"8BIT\")"},
      {"3.0", "N:", false, false, "", nullptr},
      // Without a charset the bytes decide: UTF-8 from UTF-8 tools in 2.1,
      // the ANSI code page for 3.0 values that are not UTF-8.
      {"3.0",
       "N:a\xFF"
       "b",
       false, false,
       "a\xC3\xBF"
       "b",
       nullptr},
      {"3.0", "N:M\xFCller;J\xFCrgen", false, false, "Müller;Jürgen", nullptr},
      {"2.1", "N:M\xC3\xBCller;J\xC3\xBCrgen", false, false, "Müller;Jürgen", nullptr},
      {"2.1", "N;ENCODING=QUOTED-PRINTABLE:M=C3=BCller", false, false, "Müller", nullptr},
      {"2.1", "N:M\xC3\xBC\xFC", false, false, "MÃ¼ü", nullptr},
      {"2.1", "N;CHARSET=ISO-8859-1:\xC3\xA9", false, false, "Ã©", nullptr},
      {"2.1", "N;CHARSET=ISO-8859-16:Bra\xBAov \xAA\xDE", false, false, "Brașov ȘȚ", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    OneCard card(c.version, c.line + "\r\n");
    std::u16string text;
    card.item().GetProp(1).GetDecodedValue(text, c.keep_semicolons, c.keep_commas);
    EXPECT_EQ(Utf8(text), c.expected);
    EXPECT_EQ(c.message ? card.captured.Count(c.message) : card.captured.Problems(),
              c.message ? 1 : 0)
        << card.captured.Text();
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

TEST(Decoding, ValueMatchesDeclaredCharset) {
  const std::tuple<const char*, std::string, bool> cases[] = {
      {"3.0", "N:M\xC3\xBCller", true},
      {"3.0", "N:M\xFCller", false},
      {"3.0", "N;ENCODING=QUOTED-PRINTABLE:M=FCller", false},
      {"3.0", "N:M\xC3\r\n \xBCller", true},  // a sequence split by a fold
      {"3.0", "N;CHARSET=ISO-8859-1:M\xFCller", true},
      {"2.1", "N:M\xFCller", true},
      {"2.1", "N:M\xC3\xBCller", false},
      {"2.1", "N;ENCODING=QUOTED-PRINTABLE:M=C3=BCller", false},
      {"2.1", "N;CHARSET=UTF-8:M\xC3\xBCller", true},
      {"2.1", "N:plain", true},
  };
  for (const auto& [version, line, matches] : cases) {
    SCOPED_TRACE(line);
    OneCard card(version, line + "\r\n");
    EXPECT_EQ(card.item().GetProp(1).ValueMatchesDeclaredCharset(), matches);
  }
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

TEST(Decoding, GetDecodedMultiValue) {
  struct Case {
    const char* version;
    const char* line;
    int min_count;
    bool split_on_commas;
    const char* expected;  // components joined by '|'
    int problems;
  };
  const Case cases[] = {
      {"3.0", "ADR:;;Main St. 1\\;2;Town;;12345;Country", 7, false,
       "||Main St. 1;2|Town||12345|Country", 0},
      {"3.0", "N:Doe;John", 5, false, "Doe|John|||", 0},
      {"3.0", "CATEGORIES:a,b\\,c", 0, true, "a|b,c", 0},
      {"3.0", "CATEGORIES:a,b\\,c", 0, false, "a,b,c", 0},
      {"3.0", "X:a;;b", 0, false, "a||b", 0},
      {"3.0", "X:;", 0, false, "|", 0},
      {"3.0", "X:", 2, false, "|", 0},
      {"3.0", "X:a\\\\;b", 0, false, "a\\|b", 0},
      {"2.1", "X:a\\;b\\\\c", 0, false, "a;b\\c", 0},
      {"2.1", "X:a\\nb", 0, false, "a\\nb", 1},
      {"2.1", "X:a\\,b;c", 0, true, "a,b|c", 0},
      {"2.1", "X;ENCODING=QUOTED-PRINTABLE:a=3Bb;c", 0, false, "a|b|c", 0},
  };
  for (const Case& c : cases) {
    OneCard card(c.version, std::string(c.line) + "\r\n");
    std::vector<std::u16string> list{u"stale"};
    card.item().GetProp(1).GetDecodedMultiValue(list, c.min_count, c.split_on_commas);
    std::string joined;
    for (const auto& part : list) {
      joined.append(&part == &list[0] ? "" : "|").append(Utf8(part));
    }
    EXPECT_EQ(joined, c.expected) << c.line;
    EXPECT_EQ(card.captured.Problems(), c.problems) << c.line << card.captured.Text();
    EXPECT_EQ(card.captured.Count("unexpected escaped sequence(\"\\n\")"), c.problems);
  }
}

TEST(Decoding, GetDecodedDateTimeValue) {
  // The text rules are the date parser's; these are the property's own:
  // trimming, calendar limits, local time and the iCloud time zone.
  struct Case {
    const char* lines;  // the card's properties; the date is the last one
    bool to_local, valid, utc;
    SystemTime expected;
  };
  const char kICloud[] = "PRODID:-//Apple Inc.//iCloud Web Address Book 2010B09//EN\r\n";
  const Case cases[] = {
      {"BDAY:  19800615  ", false, true, false, {1980, 6, 0, 15}},
      {"BDAY:1980-02-30", false, true, false, {1980, 3, 0, 1}},  // rolls over
      {"BDAY:--0615", false, true, false, {1604, 6, 0, 15}},     // year unknown
      {"BDAY:0050-01-01", false, false, false, {}},              // outside the automation calendar
      {"BDAY:", false, false, false, {}},
      {"X-D:1980-06-15t10:30:01,05", false, true, false, {1980, 6, 0, 15, 10, 30, 1, 50}},
      {"REV:20240102T030405Z", false, true, true, {2024, 1, 0, 2, 3, 4, 5}},
      {"REV:20240102T030405Z", true, true, true, {2024, 1, 0, 2, 4, 4, 5}},
      {"REV:2024-07-02T03:04:05.5z", true, true, true, {2024, 7, 0, 2, 5, 4, 5, 500}},
      {"REV:20241302T030405Z", true, false, true, {}},
      // The iCloud web address book writes Pacific time with a "Z" in REV.
      {"REV:2024-07-01T12:00:00Z", false, true, true, {2024, 7, 0, 1, 19}},
      {"REV:2024-01-01T12:00:00Z", true, true, true, {2024, 1, 0, 1, 21}},
      {"X-D:2024-07-01T12:00:00Z", false, true, true, {2024, 7, 0, 1, 12}},
      {"PRODID:-//Apple Inc.//Mac OS X 10.9//EN\r\nREV:2024-07-01T12:00:00Z",
       false,
       true,
       true,
       {2024, 7, 0, 1, 12}},
      // An offset names the instant; without conversion the text stands.
      {"REV:2024-01-02T10:00:00+02:00", true, true, false, {2024, 1, 0, 2, 9}},
      {"REV:2024-01-02T10:00:00-0530", true, true, false, {2024, 1, 0, 2, 16, 30}},
      {"BDAY:1980-06-15T00:00:00-05:00", false, true, false, {1980, 6, 0, 15}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.lines);
    OneCard card("3.0", (i >= 10 && i <= 12 ? kICloud : "") + std::string(c.lines) + "\r\n");
    double date = -1;
    bool valid = !c.valid, utc = !c.utc;
    card.item().props().back().GetDecodedDateTimeValue(date, valid, utc, c.to_local);
    EXPECT_EQ(valid, c.valid);
    EXPECT_EQ(utc, c.utc);
    SystemTime got;
    if (c.valid) {
      ASSERT_TRUE(VariantTimeToSystemTime(date, &got));
      EXPECT_EQ(got, c.expected) << got.year << "-" << got.month << "-" << got.day << " "
                                 << got.hour << ":" << got.minute << ":" << got.second << "."
                                 << got.milliseconds;
    } else {
      EXPECT_EQ(date, 0.0);
    }
    const std::string value = std::string(c.lines).substr(std::string(c.lines).rfind(':') + 1);
    EXPECT_EQ(
        c.valid ? card.captured.Problems() : card.captured.Count("Invalid value(" + value + ")"),
        c.valid ? 0 : 1)
        << card.captured.Text();
  }
}

TEST(Decoding, GetDecodedBinaryValue) {
  OneCard card("3.0",
               "PHOTO;ENCODING=b;TYPE=JPEG:\r\n /9j/4AAQ\r\n SkZJRgAB\r\n AQ==\r\n"
               "LOGO;ENCODING=8BIT:abc\r\nSOUND:abc\r\nKEY;ENCODING=BASE64:\r\n"
               "X-P;BASE64:QUJD\r\n");
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(card.Prop("PHOTO").GetDecodedBinaryValue(bytes));
  const std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A,
                                          0x46, 0x49, 0x46, 0x00, 0x01, 0x01};
  EXPECT_EQ(bytes, jpeg);
  ASSERT_TRUE(card.Prop("X-P").GetDecodedBinaryValue(bytes));
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'A', 'B', 'C'}));

  EXPECT_FALSE(card.Prop("LOGO").GetDecodedBinaryValue(bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(card.captured.Has("LOGO: not base64 encoding(8BIT)"));
  EXPECT_FALSE(card.Prop("SOUND").GetDecodedBinaryValue(bytes));
  EXPECT_TRUE(card.captured.Has("SOUND: no encoding param"));
  EXPECT_FALSE(card.Prop("KEY").GetDecodedBinaryValue(bytes));
  EXPECT_TRUE(card.captured.Has("KEY: empty value")) << card.captured.Text();
}

TEST(Properties, GetTypes) {
  struct TypesCase {
    const char* version;
    const char* line;
    const char* expected;
  };
  const TypesCase cases[] = {
      {"3.0", "TEL;TYPE=HOME,VOICE;TYPE=PREF:1", "HOME,VOICE,PREF"},
      {"2.1", "TEL;HOME;VOICE;ENCODING=QUOTED-PRINTABLE:1", "HOME,VOICE"},
      {"2.1", "TEL;type=WORK,,FAX;X=Y;BASE64:1", "WORK,FAX"},
      // 2.1-style bare types in 3.0 cards, as some phones write them.
      {"3.0", "TEL;HOME;type=cell:1", "HOME,cell"},
      {"3.0", "TEL;CELL:1", "CELL"},
      {"3.0", "TEL;QUOTED-PRINTABLE;WORK:1", "WORK"},
      {"3.0", "TEL;TYPE=:1", ""},
      {"2.1", "TEL;TYPE=HOME,\r\n WORK:1", "HOME,WORK"},
  };
  for (const TypesCase& c : cases) {
    OneCard card(c.version, std::string(c.line) + "\r\n");
    std::string text = "stale";
    std::vector<std::string> list{"stale"};
    card.Prop("TEL").GetTypes(text, &list);
    EXPECT_EQ(text, c.expected) << c.line;
    std::string joined;
    for (const auto& word : list) joined += (joined.empty() ? "" : ",") + word;
    EXPECT_EQ(joined, c.expected) << c.line;
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
  EXPECT_EQ(x.FindParam("missing", &index), nullptr);
  EXPECT_EQ(index, -1);
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
  EXPECT_EQ(card.Prop("VERSION").FindEncodingParam(&index), nullptr);
  EXPECT_EQ(index, -1);
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
}  // namespace velmora
