#include "csv/csv.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv_test_support.h"
#include "support/case_file.h"

namespace velmora {
namespace {

using test::CapturedLog;
using test::DumpCells;
using test::U16;

std::int32_t Flags(const std::string& names) {
  static const std::pair<const char*, std::int32_t> kFlags[] = {
      {"Default", csvpDefault},
      {"HeaderRow", csvpHeaderRow},
      {"HeaderRowForce", csvpHeaderRowForce},
      {"SkipEmptyLines", csvpSkipEmptyLines},
      {"SkipWhiteSpaceLines", csvpSkipWhiteSpaceLines},
      {"SkipEmptyCellsRows", csvpSkipEmptyCellsRows},
      {"SkipWhiteSpaceRows", csvpSkipWhiteSpaceRows}};
  std::int32_t flags = 0;
  std::istringstream words(names);
  for (std::string word; words >> word;) {
    if (word == "none") continue;
    const auto it = std::find_if(std::begin(kFlags), std::end(kFlags),
                                 [&](const auto& flag) { return word == flag.first; });
    EXPECT_NE(it, std::end(kFlags)) << word;
    if (it != std::end(kFlags)) flags |= it->second;
  }
  return flags;
}

// The cases of tests/csv/data/parse_cells.txt.
TEST(CsvParseCells, Cases) {
  for (const test::FileCase& c : test::ReadCases("csv/data/parse_cells.txt")) {
    SCOPED_TRACE(c.name);
    CapturedLog log;
    CCsv csv(log.log);
    CsvCellsTable cells = {{u"stale"}};
    const std::u16string separators = c.Has("separators") ? U16(c["separators"]) : u",";
    const char16_t quote = c.Has("quote") ? U16(c["quote"]).at(0) : u'"';
    ASSERT_EQ(csv.ParseCells(U16(c["text"]), &cells, Flags(c["flags"]), c.Number("max rows", -1),
                             c.Number("skip rows"), separators, quote),
              S_OK);
    EXPECT_EQ(DumpCells(cells), c["cells"]);
    const std::vector<std::string> warnings = c.All("warned");
    for (const std::string& warning : warnings) {
      EXPECT_EQ(log.Count("War[0] in CCsv.ParseCells: " + warning + "\n"), 1) << warning;
    }
    EXPECT_EQ(log.Problems(), static_cast<int>(warnings.size())) << log.Text();
  }
}

TEST(CsvParseCells, EmptyTextAndMissingTable) {
  CapturedLog log;
  CCsv csv(log.log);
  CsvCellsTable cells = {{u"stale"}};
  EXPECT_EQ(csv.ParseCells(u"", &cells), S_NO_CONTENT);
  EXPECT_TRUE(cells.empty());
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

// The cases of tests/csv/data/separators.txt.
TEST(CsvAutoDetectSeparator, FindsTheSeparator) {
  CapturedLog log;
  CCsv csv(log.log);
  for (const test::FileCase& c : test::ReadCases("csv/data/separators.txt")) {
    EXPECT_EQ(test::U8(csv.AutoDetectSeparator(U16(c["text"]))),
              c["separator"] == "none" ? "" : c["separator"])
        << c.name;
  }
}

}  // namespace
}  // namespace velmora
