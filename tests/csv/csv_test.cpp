// Text into cells and back: parsing, separators, escaping, writing tables,
// and the real address-book exports of the corpus, each of which loads and
// splits into cells without a failure; a few, counted by hand, give exactly
// their rows and columns.
#include "csv/csv.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv/csv_cells.h"
#include "csv/csv_content.h"
#include "csv/csv_escape.h"
#include "csv_test_support.h"
#include "support/case_file.h"

namespace velmora::csv {
namespace {

using CsvParse = test::CsvTest;
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

TEST(CsvParseCells, Cases) {
  for (const test::FileCase& c : test::ReadCases("csv/data/parse_cells.txt")) {
    SCOPED_TRACE(c.name);
    test::CapturedLog log;
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

TEST_F(CsvParse, EmptyTextAndMissingTable) {
  CsvCellsTable cells = {{u"stale"}};
  EXPECT_EQ(csv_.ParseCells(u"", &cells), S_NO_CONTENT);
  EXPECT_TRUE(cells.empty());
  EXPECT_EQ(csv_.ParseCells(u"a", nullptr), E_INVALIDARG);
  EXPECT_TRUE(captured_.Has("ASSERT failed in line"));
}

TEST_F(CsvParse, FindsTheSeparator) {
  for (const test::FileCase& c : test::ReadCases("csv/data/separators.txt")) {
    EXPECT_EQ(test::U8(csv_.AutoDetectSeparator(U16(c["text"]))),
              c["separator"] == "none" ? "" : c["separator"])
        << c.name;
  }
}

TEST(CsvEscapeCell, QuotesWhenNeeded) {
  for (const test::FileCase& c : test::ReadCases("csv/data/escape_cells.txt")) {
    const std::vector<std::string> cells = c.All("cell"), written = c.All("written");
    ASSERT_EQ(cells.size(), written.size()) << c.name;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const char16_t list = c.Has("list") ? U16(c["list"])[0] : u';';
      EXPECT_EQ(test::U8(EscapeCell(U16(cells[i]), U16(c["separator"])[0], list, c.Has("force"))),
                written[i])
          << c.name << ": " << cells[i];
    }
  }
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
TEST_F(CsvParse, TextRoundTrip) {
  const CsvCellsTable table = {
      {u"Name", u"Notes", u"Tags", u"Empty"},
      {u" padded ", u"line one\r\nline two", u"a;b", u""},
      {u"say \"hi\"", u"tab\there", u"it's", u"x"},
      {u"* default", u"one ::: two", u"\"", u"\u00A0nbsp"},
  };
  for (char16_t separator : {u',', u';', u'\t', u'|'}) {
    const std::u16string text = CellsToString(table, separator, false);
    CsvCellsTable back;
    ASSERT_EQ(csv_.ParseCells(text, &back, csvpDefault, -1, 0, std::u16string(1, separator)), S_OK);
    EXPECT_EQ(DumpCells(back), DumpCells(table)) << static_cast<int>(separator);
  }
  EXPECT_EQ(captured_.Problems(), 0) << captured_.Text();
}

namespace fs = std::filesystem;

std::vector<fs::path> CorpusFiles() {
  std::vector<fs::path> files;
  for (const auto& folder : fs::directory_iterator(test::CorpusDir())) {
    if (!folder.is_directory() || folder.path().filename().string().rfind("csv-", 0) != 0) continue;
    for (const auto& file : fs::directory_iterator(folder.path())) files.push_back(file.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

struct Parsed {
  HRESULT load = E_GENERIC_FAILURE;
  HRESULT parse = E_GENERIC_FAILURE;
  int code_page = 0;
  std::u16string separator;
  CsvCellsTable cells;
};

Parsed LoadAndParse(CLog& log, const fs::path& path) {
  Parsed parsed;
  CCsvContent content(log);
  parsed.load = content.LoadFromFile(path, 1252);
  parsed.code_page = content.Codepage();
  CCsv csv(log);
  parsed.separator = csv.AutoDetectSeparator(content.text());
  parsed.parse = csv.ParseCells(content.text(), &parsed.cells, csvpDefault, -1, 0,
                                parsed.separator.empty() ? u"," : parsed.separator);
  return parsed;
}

TEST(CsvCorpus, EveryFileLoadsAndParses) {
  const std::vector<fs::path> files = CorpusFiles();
  ASSERT_GE(files.size(), 32u);
  test::CapturedLog captured;
  for (const fs::path& path : files) {
    SCOPED_TRACE(path.string());
    const Parsed parsed = LoadAndParse(captured.log, path);
    EXPECT_EQ(parsed.load, S_OK);
    EXPECT_EQ(parsed.parse, S_OK);
    ASSERT_FALSE(parsed.cells.empty());
    // The header row is forced, so no data row is wider than it.
    for (const CsvRow& row : parsed.cells) EXPECT_LE(row.size(), parsed.cells.front().size());
  }
}

TEST(CsvCorpus, RowsAndColumns) {
  for (const test::FileCase& c : test::ReadCases("csv/data/corpus_shapes.txt")) {
    SCOPED_TRACE(c.name);
    test::CapturedLog captured;
    const Parsed parsed = LoadAndParse(captured.log, test::CorpusDir() / c.name);
    ASSERT_EQ(parsed.load, S_OK);
    EXPECT_EQ(parsed.code_page, c.Number("code page"));
    EXPECT_EQ(test::U8(parsed.separator), c["separator"]);
    std::string widths;
    for (const CsvRow& row : parsed.cells) widths += std::to_string(row.size()) + " ";
    EXPECT_EQ(widths, c["widths"] + " ");
  }
}

}  // namespace
}  // namespace velmora::csv
