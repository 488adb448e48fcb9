#include "csv/csv_cells.h"

#include <string>

#include <gtest/gtest.h>

#include "csv/csv_escape.h"
#include "csv_test_support.h"
#include "support/case_file.h"

namespace velmora {
namespace {

using test::CapturedLog;
using test::DumpCells;
using test::U16;
using test::U8;

// The cases of tests/csv/data/escape_cells.txt.
TEST(CsvEscapeCell, QuotesWhenNeeded) {
  for (const test::FileCase& c : test::ReadCases("csv/data/escape_cells.txt")) {
    const std::vector<std::string> cells = c.All("cell"), written = c.All("written");
    ASSERT_EQ(cells.size(), written.size()) << c.name;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      EXPECT_EQ(U8(EscapeCell(U16(cells[i]), U16(c["separator"])[0], u';', c.Has("force"))),
                written[i])
          << c.name << ": " << cells[i];
    }
  }
}

TEST(CsvEscapeCell, ListSeparatorIsQuoted) {
  EXPECT_EQ(EscapeCell(u"a/b", u',', u'/', false), u"\"a/b\"");
  EXPECT_EQ(EscapeCell(u"a/b", u',', u';', false), u"a/b");
}

const CsvCellsTable kTable = {{u"Name", u"E-mail"}, {u"Okafor, Marta", u"m@x"}, {u"Brault"}};

TEST(CsvCells, TableAsText) {
  EXPECT_EQ(MaxColumnCount({}), 0u);
  EXPECT_EQ(MaxColumnCount(kTable), 2u);
  EXPECT_EQ(MaxColumnCount({{u"a"}, {u"a", u"b", u"c"}, {}}), 3u);
  EXPECT_EQ(RowToString(kTable[1], u',', false), u"\"Okafor, Marta\",m@x");
  EXPECT_EQ(RowToString(kTable[1], u';', true), u"\"Okafor, Marta\"\r\nm@x");
  EXPECT_EQ(RowToString({u"a", u"b;c"}, u'\t', false), u"a\t\"b;c\"");
  EXPECT_EQ(RowToString({}, u',', false), u"");
  EXPECT_EQ(RowToString({u""}, u',', false), u"");
  EXPECT_EQ(ColToString(kTable, 1, u',', false), u"E-mail\r\nm@x\r\n");
  EXPECT_EQ(ColToString(kTable, 0, u'\t', true), u"Name\t\"Okafor, Marta\"\tBrault");
  EXPECT_EQ(ColToString(kTable, 5, u',', true), u",,");
  EXPECT_EQ(ColToString({}, 0, u',', false), u"");
  EXPECT_EQ(CellsToString(kTable, u',', false), u"Name,E-mail\r\n\"Okafor, Marta\",m@x\r\nBrault");
  EXPECT_EQ(CellsToString(kTable, u',', true), u"Name,\"Okafor, Marta\",Brault\r\nE-mail,m@x,");
  EXPECT_EQ(CellsToString({}, u',', false), u"");
  EXPECT_EQ(CellsToString({}, u',', true), u"");
}

// Whatever the cells hold, writing a table and reading it back gives the
// same table, for every separator the system uses.
TEST(CsvCells, TextRoundTrip) {
  const CsvCellsTable table = {
      {u"Name", u"Notes", u"Tags", u"Empty"},
      {u" padded ", u"line one\r\nline two", u"a;b", u""},
      {u"say \"hi\"", u"tab\there", u"it's", u"x"},
      {u"* default", u"one ::: two", u"\"", u"\u00A0nbsp"},
  };
  CapturedLog log;
  CCsv csv(log.log);
  for (char16_t separator : {u',', u';', u'\t', u'|'}) {
    const std::u16string text = CellsToString(table, separator, false);
    CsvCellsTable back;
    ASSERT_EQ(csv.ParseCells(text, &back, csvpDefault, -1, 0, std::u16string(1, separator)), S_OK);
    EXPECT_EQ(DumpCells(back), DumpCells(table)) << static_cast<int>(separator);
  }
  EXPECT_EQ(log.Problems(), 0) << log.Text();
}

}  // namespace
}  // namespace velmora
