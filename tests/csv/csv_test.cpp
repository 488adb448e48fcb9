#include "csv/csv.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv_test_support.h"
#include "vcard/vcard_test_support.h"

namespace velmora {
namespace {

using test::CapturedLog;
using test::DumpCells;

constexpr char kMissedQuote[] = "missed end quote";
constexpr char kAfterQuote[] = "other value after quoted value";

struct ParseCase {
  const char* name;
  std::u16string text;
  std::int32_t flags;
  std::string cells;                  // DumpCells of the result
  std::vector<std::string> warnings;  // each logged exactly once
  int problems = static_cast<int>(warnings.size());
};

const ParseCase kParseCases[] = {
    // Cells and lines.
    {"trailing separator adds an empty cell", u"a,b,", 0, "[a|b|]", {}},
    {"final line break adds no row", u"a,b\r\n", 0, "[a|b]", {}},
    {"CR LF, LF and CR end lines alike", u"a\r\nb\nc\rd", 0, "[a][b][c][d]", {}},
    {"CR LF counts as one line break", u"a\r\n\r\nb", 0, "[a][][b]", {}},
    {"LF CR is two line breaks", u"a\n\rb", 0, "[a][][b]", {}},
    {"rows keep their own lengths", u"a\r\nb,c,d", 0, "[a][b|c|d]", {}},
    {"unquoted cells are trimmed", u"  abc  ,\tx\t", 0, "[abc|x]", {}},
    {"unicode spaces are trimmed", u"\u00A0abc\u3000,x", 0, "[abc|x]", {}},
    {"inner blanks stay", u"a  b", 0, "[a  b]", {}},
    {"default marker keeps its blanks", u"* x , y", 0, "[* x |y]", {}},
    {"double star marker keeps its blanks", u"** x ", 0, "[** x ]", {}},
    {"multi-value marker keeps its blanks", u" a ::: ", 0, "[ a ::: ]", {}},
    {"long multi-value marker keeps its blanks", u" a :::: ", 0, "[ a :::: ]", {}},
    {"two colons are no marker", u" a :: ", 0, "[a ::]", {}},
    {"star without blank is no marker", u" *x ", 0, "[*x]", {}},
    {"blank before star hides the marker", u" * x ", 0, "[* x]", {}},
    // Quoted cells.
    {"quoted cell keeps its blanks", u"\" a \",b", 0, "[ a |b]", {}},
    {"doubled quote inside", u"\"x \"\"y\"\" z\"", 0, "[x \"y\" z]", {}},
    {"separators and line breaks inside quotes", u"\"a,b\r\nc\",d", 0, "[a,b<CR><LF>c|d]", {}},
    {"empty quoted cell", u"\"\",x", 0, "[|x]", {}},
    {"blanks after the closing quote", u"\"a\"  ,b", 0, "[a|b]", {}},
    {"missing end quote", u"\"a", 0, "[a]", {kMissedQuote}},
    {"missing end quote swallows the rest", u"\"a,b\r\nc", 0, "[a,b<CR><LF>c]", {kMissedQuote}},
    {"text after the closing quote is kept", u"\"ab\"  cd ,e", 0, "[ab  cd|e]", {kAfterQuote}},
    {"text after the closing quote up to the line end",
     u"\"ab\"cd\r\ne",
     0,
     "[abcd][e]",
     {kAfterQuote}},
    {"quote inside an unquoted cell is text", u"a\"b\",c", 0, "[a\"b\"|c]", {}},
    // Blank lines and rows.
    {"empty and blank lines skipped by default",
     u"a\r\n\r\n  \r\n\t\r\nb",
     csvpDefault,
     "[a][b]",
     {}},
    {"empty lines kept without flags", u"a\r\n\r\nb", 0, "[a][][b]", {}},
    {"blank lines kept without their flag", u"a\r\n  \r\nb", csvpSkipEmptyLines, "[a][][b]", {}},
    {"empty line kept under the empty-cells flag alone",
     u"a\r\n\r\nb",
     csvpSkipEmptyCellsRows,
     "[a][][b]",
     {}},
    {"row of empty cells kept by default", u"a,b,c\r\n,,\r\nd", csvpDefault, "[a|b|c][||][d]", {}},
    {"row of empty cells dropped with its flag",
     u"a,b,c\r\n,,\r\nd",
     csvpDefault | csvpSkipEmptyCellsRows,
     "[a|b|c][d]",
     {}},
    {"quoted blank and empty cell stay under the white-space flag alone",
     u"x,y\r\n\" \",\r\nz",
     csvpSkipWhiteSpaceRows,
     "[x|y][ |][z]",
     {}},
    {"quoted blank and empty cell dropped under both flags",
     u"x,y\r\n\" \",\r\nz",
     csvpSkipWhiteSpaceRows | csvpSkipEmptyCellsRows,
     "[x|y][z]",
     {}},
    {"quoted line break counts as white space",
     u"\"\r\n\",\" \"\r\nz",
     csvpSkipWhiteSpaceRows,
     "[z]",
     {}},
    {"a value keeps the row",
     u" ,x\r\n",
     csvpSkipEmptyCellsRows | csvpSkipWhiteSpaceRows,
     "[|x]",
     {}},
    // Header row.
    {"forced header cuts data rows",
     u"h1,h2\r\na,b,c",
     csvpHeaderRowForce,
     "[h1|h2][a|b]",
     {"discarding non empty cell[1,2] without header: \"c\""}},
    {"header keeps extra values", u"h1,h2\r\na,b,c", csvpHeaderRow, "[h1|h2][a|b|c]", {}},
    {"header drops extra empty cells", u"h1,h2\r\na,b,", csvpHeaderRow, "[h1|h2][a|b]", {}},
    {"empty cell between extra values disappears", u"h\r\na,b,,c", csvpHeaderRow, "[h][a|b|c]", {}},
    {"forced header warns once per cell",
     u"h\r\na,b,,c",
     csvpHeaderRowForce,
     "[h][a]",
     {"discarding non empty cell[1,3] without header: \"c\"",
      "discarding non empty cell[1,1] without header: \"b\""}},
    {"short rows stay short", u"h1,h2,h3\r\na", csvpDefault, "[h1|h2|h3][a]", {}},
    {"source row index counts dropped lines",
     u"h\r\n\r\na,b",
     csvpDefault,
     "[h][a]",
     {"discarding non empty cell[2,1] without header: \"b\""}},
};

class ParseCellsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCellsTest, Splits) {
  const ParseCase& c = GetParam();
  CapturedLog log;
  CCsv csv(log.log);
  CsvCellsTable cells = {{u"stale"}};
  ASSERT_EQ(csv.ParseCells(c.text, &cells, c.flags), S_OK);
  EXPECT_EQ(DumpCells(cells), c.cells);
  for (const std::string& warning : c.warnings) {
    EXPECT_EQ(log.Count("War[0] in CCsv.ParseCells: " + warning + "\n"), 1) << warning;
  }
  EXPECT_EQ(log.Problems(), c.problems) << log.Text();
}

INSTANTIATE_TEST_SUITE_P(Csv, ParseCellsTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

struct OptionCase {
  const char* name;
  std::u16string text;
  std::int32_t flags;
  int max_rows;
  int skip_first_rows;
  std::u16string separators;
  char16_t quote;
  std::string cells;
};

const OptionCase kOptionCases[] = {
    {"max rows counts the header", u"h\r\na\r\nb", csvpDefault, 2, 0, u",", u'"', "[h][a]"},
    {"max rows ignores dropped lines", u"h\r\n\r\na\r\nb", csvpDefault, 2, 0, u",", u'"', "[h][a]"},
    {"max rows zero means no limit", u"a\nb\nc", 0, 0, 0, u",", u'"', "[a][b][c]"},
    {"negative max rows means no limit", u"a\nb\nc", 0, -5, 0, u",", u'"', "[a][b][c]"},
    {"skip first rows", u"title\r\nh\r\na", csvpDefault, -1, 1, u",", u'"', "[h][a]"},
    {"skipped rows are not blank rows", u"\r\ntitle\r\n\r\nh\r\na", csvpDefault, -1, 1, u",", u'"',
     "[h][a]"},
    {"negative skip counts as none", u"a\nb", 0, -1, -3, u",", u'"', "[a][b]"},
    {"skip and max rows together", u"t\nh\na\nb", csvpDefault, 2, 1, u",", u'"', "[h][a]"},
    {"every separator character splits", u"a;b\tc,d", 0, -1, 0, u";\t", u'"', "[a|b|c,d]"},
    {"empty separators mean comma", u"a,b;c", 0, -1, 0, u"", u'"', "[a|b;c]"},
    {"other quote character", u"'a,b','c''d'", 0, -1, 0, u",", u'\'', "[a,b|c'd]"},
    {"NUL quote means double quote", u"\"a,b\"", 0, -1, 0, u",", u'\0', "[a,b]"},
    {"quote that is a separator never opens a cell", u"a,b", 0, -1, 0, u",", u',', "[a|b]"},
    {"header after skipped rows", u"t,u,v\r\nh\r\na,", csvpDefault, -1, 1, u",", u'"', "[h][a]"},
    // Separators that are blanks: never skipped as blanks before or after a
    // cell, so empty cells keep their columns.
    {"tab separator keeps empty cells", u"a\t\tb\t", 0, -1, 0, u"\t", u'"', "[a||b|]"},
    {"tab separator after a quoted cell", u"\"a\"\t\"b\"\t \"c\" ", 0, -1, 0, u"\t", u'"',
     "[a|b|c]"},
    {"space separator", u"a  b", 0, -1, 0, u" ", u'"', "[a||b]"},
};

class ParseOptionsTest : public ::testing::TestWithParam<OptionCase> {};

TEST_P(ParseOptionsTest, Applies) {
  const OptionCase& c = GetParam();
  CapturedLog log;
  CCsv csv(log.log);
  CsvCellsTable cells;
  ASSERT_EQ(
      csv.ParseCells(c.text, &cells, c.flags, c.max_rows, c.skip_first_rows, c.separators, c.quote),
      S_OK);
  EXPECT_EQ(DumpCells(cells), c.cells) << c.name;
  EXPECT_EQ(log.Problems(), 0) << log.Text();
}

INSTANTIATE_TEST_SUITE_P(Csv, ParseOptionsTest, ::testing::ValuesIn(kOptionCases));

TEST(CsvParseCells, EmptyTextIsNoContentAndEmptiesTheTable) {
  CapturedLog log;
  CCsv csv(log.log);
  CsvCellsTable cells = {{u"stale"}};
  EXPECT_EQ(csv.ParseCells(u"", &cells), S_NO_CONTENT);
  EXPECT_TRUE(cells.empty());
}

TEST(CsvParseCells, MissingTableIsInvalidArgument) {
  CapturedLog log;
  CCsv csv(log.log);
  EXPECT_EQ(csv.ParseCells(u"a", nullptr), E_INVALIDARG);
  EXPECT_TRUE(log.Has("ASSERT failed in line"));
}

TEST(CsvParseCells, LineEndingsGiveTheSameRows) {
  CapturedLog log;
  CCsv csv(log.log);
  const std::u16string lines[] = {u"n,\"q\r\nx\"", u"a , b", u"", u"\"c\",d,"};
  std::u16string expected;
  for (const char16_t* end : {u"\r\n", u"\n", u"\r"}) {
    std::u16string text;
    for (const std::u16string& line : lines) text += line + end;
    CsvCellsTable cells;
    ASSERT_EQ(csv.ParseCells(text, &cells, csvpSkipEmptyLines), S_OK);
    EXPECT_EQ(DumpCells(cells), "[n|q<CR><LF>x][a|b][c|d|]");
  }
}

struct SeparatorCase {
  const char* name;
  std::u16string text;
  std::u16string separator;
};

const SeparatorCase kSeparatorCases[] = {
    {"comma", u"a,b\r\nc,d", u","},
    {"semicolon", u"a;b;c\r\nd;e;f", u";"},
    {"tab", u"first\tsecond", u"\t"},
    {"tab after a semicolon that splits nothing", u"\"a;b\"\tc", u"\t"},
    {"semicolon inside quotes only", u"\"a;b\"", u""},
    {"one word", u"word", u""},
    {"empty text", u"", u""},
    {"only blank lines", u"\r\n  \r\n", u""},
    {"comma wins over semicolon", u"a;b,c", u","},
    {"a one-column header hides later columns", u"h\r\na,b", u""},
    {"quoted tab-separated cells", u"\"a\"\t\"b\"\r\n\"c\"\t\"d\"", u"\t"},
};

TEST(CsvAutoDetectSeparator, FindsTheSeparator) {
  CapturedLog log;
  CCsv csv(log.log);
  for (const SeparatorCase& c : kSeparatorCases) {
    EXPECT_EQ(csv.AutoDetectSeparator(c.text), c.separator) << c.name;
  }
}

}  // namespace
}  // namespace velmora
