#include "vcard/card_parser_ll.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vcard_test_support.h"

namespace velmora {
namespace {

using test::CapturedLog;
using test::Dump;
using test::Visible;

// Every property the line layer reads from `text`, one Dump per line.
std::string ReadAll(CLog& log, const std::string& text,
                    std::vector<std::string>* raw_texts = nullptr) {
  CardParamArena arena(log);
  CardParserLL parser(log, arena, text.c_str() + text.size());
  const char* cursor = text.c_str();
  CCardDocItemProp prop(log);
  std::string out;
  while (parser.GetNextProp(cursor, prop)) {
    out += Dump(prop);
    out += '\n';
    if (raw_texts) raw_texts->push_back(std::string(prop.raw_text()));
    EXPECT_LE(cursor, text.c_str() + text.size());
  }
  EXPECT_EQ(cursor, text.c_str() + text.size()) << "text not read to its end";
  return out;
}

struct GrammarCase {
  const char* name;
  std::string input;
  const char* expected;  // Dump lines
  int problems;          // errors and warnings logged
};

const GrammarCase kGrammar[] = {
    {"group, name, typed parameter", "item1.TEL;TYPE=HOME:123\r\n", "item1.|TEL|TYPE=HOME|123\n",
     0},
    {"bare parameters", "TEL;HOME;VOICE:123\r\n", "|TEL|=HOME;=VOICE|123\n", 0},
    {"further '=' stay in the value", "X-A;P=b=c:v\r\n", "|X-A|P=b=c|v\n", 0},
    {"empty parameters", "X-A;;:v\r\n", "|X-A|=;=|v\n", 0},
    {"parameters trimmed", "X; a = b ;c :v\r\n", "|X|a=b;=c|v\n", 0},
    {"dots after the first stay in the name", "A.B.C:1\r\n", "A.|B.C||1\n", 0},
    {"empty value", "A:\r\n", "|A||\n", 0},
    {"quotes mean nothing", "X;P=\"a:b\":c\r\n", "|X|P=\"a|b\":c\n", 0},
    {"folded parameter", "TEL;TYPE=HOME,\r\n WORK:123\r\n", "|TEL|TYPE=HOME,WORK|123\n", 0},
    {"folded plain value", "NOTE:line1\r\n line2\r\nTEL:1\r\n",
     "|NOTE||line1<CR><LF> line2\n|TEL||1\n", 0},
    {"several folds", "NOTE:a\r\n b\n c\rTEL:1", "|NOTE||a<CR><LF> b<LF> c\n|TEL||1\n", 0},
    {"a TAB does not fold", "NOTE:a\r\n\tb\r\nTEL:1\r\n", "|NOTE||a\n|TEL||1\n", 1},
    {"quoted-printable soft break", "NOTE;ENCODING=QUOTED-PRINTABLE:a=\r\nb\r\nTEL:1\r\n",
     "|NOTE|ENCODING=QUOTED-PRINTABLE|a=<CR><LF>b\n|TEL||1\n", 0},
    {"quoted-printable as bare parameter", "N;QUOTED-PRINTABLE:=41=\nB\nX:1",
     "|N|=QUOTED-PRINTABLE|=41=<LF>B\n|X||1\n", 0},
    {"quoted-printable soft break with lone CR", "A;ENCODING=QUOTED-PRINTABLE:x=\ry\rB:1",
     "|A|ENCODING=QUOTED-PRINTABLE|x=<CR>y\n|B||1\n", 0},
    {"quoted-printable '=' and any character", "A;ENCODING=QUOTED-PRINTABLE:=ZZ=4\r\nB:1",
     "|A|ENCODING=QUOTED-PRINTABLE|=ZZ=4\n|B||1\n", 0},
    {"quoted-printable '=' at the very end",
     "A;ENCODING=QUOTED-PRINTABLE:abc=", "|A|ENCODING=QUOTED-PRINTABLE|abc=\n", 0},
    {"quoted-printable soft break at the very end", "A;ENCODING=QUOTED-PRINTABLE:abc=\r\n",
     "|A|ENCODING=QUOTED-PRINTABLE|abc=<CR><LF>\n", 0},
    {"base64 on indented lines", "PHOTO;ENCODING=BASE64:\r\n  QUJD\r\n  REVG\r\n\r\nTEL:1\r\n",
     "|PHOTO|ENCODING=BASE64|<CR><LF>  QUJD<CR><LF>  REVG<CR><LF>\n|TEL||1\n", 0},
    {"base64 padded on one line", "PHOTO;ENCODING=b:QUJDRA==\r\nTEL:1\r\n",
     "|PHOTO|ENCODING=b|QUJDRA==\n|TEL||1\n", 0},
    {"base64 ends at a line with other characters", "P;ENCODING=BASE64:QUJD\r\nREVG\r\nTEL:1\r\n",
     "|P|ENCODING=BASE64|QUJD<CR><LF>REVG\n|TEL||1\n", 0},
    {"base64 ends where indentation ends", "P;ENCODING=B:\r\n QUJD\r\nX-A:1\r\n",
     "|P|ENCODING=B|<CR><LF> QUJD\n|X-A||1\n", 0},
    {"base64 first line not base64", "P;ENCODING=BASE64:http://x\r\nTEL:1\r\n",
     "|P|ENCODING=BASE64|\n|http||//x\n|TEL||1\n", 0},
    {"base64 with too much padding", "P;ENCODING=B:QQ===\r\nTEL:1\r\n", "|P|ENCODING=B|\n|TEL||1\n",
     1},
    {"base64 at the end of the text", "P;ENCODING=B:QUJD", "|P|ENCODING=B|QUJD\n", 0},
    {"base64 padding ends the value", "P;ENCODING=B:QUJ\r\nD===\r\n", "|P|ENCODING=B|QUJ\n", 1},
    {"unknown encoding read as plain", "A;ENCODING=8BIT:x\r\n y\r\n",
     "|A|ENCODING=8BIT|x<CR><LF> y\n", 1},
    {"lone CR line ends", "A:1\rB:2\r", "|A||1\n|B||2\n", 0},
    {"LF line ends", "A:1\nB:2\n", "|A||1\n|B||2\n", 0},
    // iOS 6 writes CR CR LF; it is one line break, not a line and an empty one.
    {"CR CR LF is one line break",
     "A:1\r\r\n b\r\r\nP;ENCODING=B:\r\r\n QUJD\r\r\n REVG\r\r\nQ;ENCODING=QUOTED-PRINTABLE:"
     "=41=\r\r\n=42\r\r\nB:2\r\r\n",
     "|A||1<CR><CR><LF> b\n|P|ENCODING=B|<CR><CR><LF> QUJD<CR><CR><LF> REVG\n"
     "|Q|ENCODING=QUOTED-PRINTABLE|=41=<CR><CR><LF>=42\n|B||2\n",
     0},
    {"blank lines and indentation", "\r\n  A:1\r\n\r\n \t B:2\r\n\r\n", "|A||1\n|B||2\n", 0},
    // A line of blanks after a plain value continues it, like any line that
    // starts with a space.
    {"blank line folds a value", "A:1\r\n  \r\nB:2", "|A||1<CR><LF>  \n|B||2\n", 0},
    {"line without ':'", "TEL 123\r\nA:1\r\n", "|A||1\n", 1},
    {"empty name", ":1\r\n;x:2\r\na.:3\r\nA:4\r\n", "|A||4\n", 3},
    {"folded parameters without ':'", "X;a=b\r\n c=d\r\nY:1\r\n", "|Y||1\n", 1},
    {"a TAB does not fold parameters", "X;a=b\r\n\tc:1\r\n", "|c||1\n", 1},
    {"zero byte ends the text", std::string("A:1\r\nB:2\0C:3\r\n", 14), "|A||1\n|B||2\n", 0},
    {"only separators", "\r\n\n\r\r\n;;;:::\r\n", "", 1},
    {"only blanks", "  \t \r\n \t", "", 0},
    {"empty text", "", "", 0},
};

class GrammarTest : public ::testing::TestWithParam<GrammarCase> {};

TEST_P(GrammarTest, ReadsProperties) {
  const GrammarCase& c = GetParam();
  CapturedLog captured;
  std::string text = c.input;
  // The parser stops at the first zero byte; make the expected end explicit.
  const std::size_t zero = text.find('\0');
  CardParamArena arena(captured.log);
  CardParserLL parser(captured.log, arena, text.c_str() + text.size());
  const char* cursor = text.c_str();
  CCardDocItemProp prop(captured.log);
  std::string out;
  while (parser.GetNextProp(cursor, prop)) {
    out += Dump(prop);
    out += '\n';
  }
  EXPECT_EQ(out, c.expected);
  EXPECT_EQ(cursor, text.c_str() + (zero == std::string::npos ? text.size() : zero));
  EXPECT_EQ(captured.Problems(), c.problems) << captured.Text();
}

INSTANTIATE_TEST_SUITE_P(LineLayer, GrammarTest, ::testing::ValuesIn(kGrammar),
                         [](const auto& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST(CardParserLL, GetNextLineFlags) {
  const std::string text = "  a\r\n\r\n\tb\rc\n";
  CLog log;
  CardParamArena arena(log);
  const CardParserLL parser(log, arena, text.c_str() + text.size());
  const char* cursor = text.c_str();
  const char* start;
  std::int32_t length;
  ASSERT_TRUE(parser.GetNextLine(cursor, start, length, 0));
  EXPECT_EQ(std::string(start, length), "  a");
  ASSERT_TRUE(parser.GetNextLine(cursor, start, length, 0));
  EXPECT_EQ(length, 0);  // the empty line
  ASSERT_TRUE(parser.GetNextLine(cursor, start, length, CardParserLL::kSkipLeadingBlanks));
  EXPECT_EQ(std::string(start, length), "b");
  ASSERT_TRUE(parser.GetNextLine(cursor, start, length, 0));
  EXPECT_EQ(std::string(start, length), "c");
  EXPECT_FALSE(parser.GetNextLine(cursor, start, length, 0));
  EXPECT_EQ(cursor, text.c_str() + text.size());

  const std::string empties = "\r\n \r\n";
  const CardParserLL other(log, arena, empties.c_str() + empties.size());
  cursor = empties.c_str();
  EXPECT_FALSE(other.GetNextLine(cursor, start, length,
                                 CardParserLL::kSkipEmptyLines | CardParserLL::kSkipLeadingBlanks));
  EXPECT_EQ(*cursor, '\0');
}

TEST(CardParserLL, RawTextsCoverTheTextExceptRejectedLines) {
  CapturedLog captured;
  const std::string text =
      "A;P=1:x\r\n y\r\n\r\n  B;ENCODING=QUOTED-PRINTABLE:=41=\r\n=42\r\nbad line\r\n"
      "C;ENCODING=B:\r\n QUJD\r\n\r\nD:end\r\n \r\n";
  std::vector<std::string> raw;
  ReadAll(captured.log, text, &raw);
  ASSERT_EQ(raw.size(), 4u);
  EXPECT_EQ(Visible(raw[0]), "A;P=1:x<CR><LF> y<CR><LF><CR><LF>  ");
  EXPECT_EQ(Visible(raw[1]), "B;ENCODING=QUOTED-PRINTABLE:=41=<CR><LF>=42<CR><LF>");
  EXPECT_EQ(Visible(raw[2]), "C;ENCODING=B:<CR><LF> QUJD<CR><LF><CR><LF>");
  EXPECT_EQ(Visible(raw[3]), "D:end<CR><LF> <CR><LF>");
}

TEST(CardParserLL, RejectedLineIsShownFromLevelTwoOnly) {
  const std::string text = "TEL 123\r\n";
  {
    CapturedLog captured(loglInfo);
    ReadAll(captured.log, text);
    EXPECT_TRUE(captured.Has("Line has no ':', line:TEL 123\n")) << captured.Text();
  }
  {
    CapturedLog captured(loglMin);
    ReadAll(captured.log, text);
    EXPECT_TRUE(captured.Has("Line has no ':', line:<hidden for loglMin>\n")) << captured.Text();
    EXPECT_FALSE(captured.Has("TEL 123"));
  }
  CapturedLog captured;
  ReadAll(captured.log, "item1.:x\r\n");
  EXPECT_TRUE(captured.Has("Prop name is empty, line:item1.:x\n")) << captured.Text();
}

TEST(CardParserLL, LongLinesAndManyParameters) {
  CapturedLog captured;
  std::string text = "NOTE:" + std::string(3 * 1024 * 1024, 'x') + "\r\n";
  text += "X";
  for (int i = 0; i < 20000; ++i) text += ";P" + std::to_string(i) + "=v";
  text += ":1\r\n";
  CardParamArena arena(captured.log);
  CardParserLL parser(captured.log, arena, text.c_str() + text.size());
  const char* cursor = text.c_str();
  CCardDocItemProp prop(captured.log);
  ASSERT_TRUE(parser.GetNextProp(cursor, prop));
  EXPECT_EQ(prop.raw_value().size(), 3u * 1024 * 1024);
  ASSERT_TRUE(parser.GetNextProp(cursor, prop));
  EXPECT_EQ(prop.params().size(), 20000u);
  EXPECT_EQ(prop.params()[19999].GetName(), "P19999");
  EXPECT_FALSE(parser.GetNextProp(cursor, prop));
}

}  // namespace
}  // namespace velmora
