// Real address-book exports: each loads and splits into cells without a
// failure, and a few, counted by hand, give exactly their rows and columns.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv/csv.h"
#include "csv/csv_content.h"
#include "support/case_file.h"
#include "support/test_env.h"
#include "vcard/vcard_test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::CapturedLog;

fs::path CsvCorpusDir() { return test::SourceDir() / "tests" / "data" / "corpus"; }

std::vector<fs::path> CorpusFiles() {
  std::vector<fs::path> files;
  for (const auto& folder : fs::directory_iterator(CsvCorpusDir())) {
    if (!folder.is_directory() || folder.path().filename().string().rfind("csv-", 0) != 0) {
      continue;
    }
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
  CapturedLog captured;
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

// The cases of tests/csv/data/corpus_shapes.txt.
TEST(CsvCorpus, RowsAndColumns) {
  for (const test::FileCase& c : test::ReadCases("csv/data/corpus_shapes.txt")) {
    SCOPED_TRACE(c.name);
    CapturedLog captured;
    const Parsed parsed = LoadAndParse(captured.log, CsvCorpusDir() / c.name);
    ASSERT_EQ(parsed.load, S_OK);
    EXPECT_EQ(parsed.code_page, c.Number("code page"));
    EXPECT_EQ(test::U8(parsed.separator), c["separator"]);
    std::string widths;
    for (const CsvRow& row : parsed.cells) widths += std::to_string(row.size()) + " ";
    EXPECT_EQ(widths, c["widths"] + " ");
  }
}

TEST(CsvCorpus, QuotedLineBreakAndDoubledQuotesStayInTheCell) {
  CapturedLog captured;
  const Parsed parsed =
      LoadAndParse(captured.log, CsvCorpusDir() / "csv-outlook/horde_outlook_bug_6370.csv");
  ASSERT_EQ(parsed.cells.size(), 2u);
  ASSERT_GT(parsed.cells[1].size(), 8u);
  EXPECT_EQ(parsed.cells[0][8], u"Business Street");
  EXPECT_EQ(parsed.cells[1][8], u"Big Tower'\", 1\" Floor\n123 Main Street");
}

}  // namespace
}  // namespace velmora
