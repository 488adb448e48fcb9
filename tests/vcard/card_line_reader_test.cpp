#include "vcard/card_line_reader.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/case_file.h"
#include "vcard_test_support.h"

namespace velmora::vcard {
namespace {

using test::CapturedLog;
using test::Dump;
using test::Visible;

// Every property the line layer reads from `text`, one Dump per line; the
// reader must stop at the end of the text or at its first zero byte.
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
  }
  EXPECT_EQ(cursor, text.c_str() + std::min(text.find('\0'), text.size()));
  return out;
}

// The grammar table: tests/vcard/data/line_grammar.txt.
TEST(CardParserLL, Grammar) {
  for (const test::FileCase& c : test::ReadCases("vcard/data/line_grammar.txt")) {
    SCOPED_TRACE(c.name);
    CapturedLog captured;
    EXPECT_EQ(ReadAll(captured.log, c["input"]), c["read"]);
    EXPECT_EQ(captured.Problems(), c.Number("problems")) << captured.Text();
  }
}

TEST(CardParserLL, GetNextLineFlags) {
  const std::string text = "  a\r\n\r\n\tb\rc\n";
  CLog log;
  CardParamArena arena(log);
  const CardParserLL parser(log, arena, text.c_str() + text.size());
  const char* cursor = text.c_str();
  const char* start;
  std::int32_t length;
  std::string lines;
  for (unsigned flags : {0u, 0u, CardParserLL::kSkipLeadingBlanks, 0u}) {
    ASSERT_TRUE(parser.GetNextLine(cursor, start, length, flags));
    lines.append("[").append(start, length).append("]");
  }
  EXPECT_EQ(lines, "[  a][][b][c]");
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

}  // namespace
}  // namespace velmora::vcard
