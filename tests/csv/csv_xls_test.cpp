// Spreadsheets as cells tables: the text of chosen cells of the corpus
// workbooks and of edge cases (dates, times and datetimes in both date
// systems, booleans, errors, numbers with and without display text), the
// reading flags, and loading and describing sheets.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv_test_support.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/workbook_test_support.h"
#include "support/case_file.h"

namespace velmora::csv {
namespace {

using test::U8;

class CsvXls : public test::CsvTest {
 protected:
  // The text of one cell ("B3") of a sheet of a workbook file.
  std::string CellText(const std::filesystem::path& file, int sheet, std::string_view ref) {
    spreadsheet::Workbook book(spreadsheet::WorkbookKindOfFile(file));
    EXPECT_TRUE(book.LoadSheet(file, sheet)) << book.ErrorMessage();
    const spreadsheet::WorkbookSheet* loaded = book.GetSheet(0);
    if (loaded == nullptr) return "?";
    const int col = ref[0] - 'A';
    const int row = std::stoi(std::string(ref.substr(1))) - 1;
    return U8(csv_.XlsGetCell(book, *loaded, row, col));
  }

  // A table read under `flags` from a sheet built by `fill`.
  std::string ReadTable(const spreadsheet::WorkbookSheet& sheet, std::int32_t flags,
                        int max_rows = -1) {
    const spreadsheet::Workbook book(spreadsheet::WorkbookKind::kXlsx);
    CsvCellsTable cells;
    csv_.ReadXlsSheet(book, sheet, flags, max_rows, &cells);
    return test::DumpCells(cells);
  }

  std::filesystem::path WriteXlsx(const test::XlsxRecipe& recipe, const char* name = "in.xlsx") {
    const std::filesystem::path file = dir_ / name;
    test::WriteFile(file, test::XlsxOf(recipe));
    return file;
  }

  test::TempDir dir_;
};

TEST_F(CsvXls, TextOfCorpusCells) {
  for (const test::FileCase& c : test::ReadCases("csv/data/corpus_cells.txt")) {
    for (const std::string& line : c.All("cell")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      const std::vector<std::string> ref = test::Split(parts[0], ":");
      EXPECT_EQ(CellText(test::WorkbookCorpus() / c.name, ref.size() > 1 ? std::stoi(ref[0]) : 0,
                         ref.back()),
                parts[1])
          << c.name << " " << line;
    }
  }
  EXPECT_EQ(captured_.Problems(), 0);
}

TEST_F(CsvXls, TextOfEdgeCases) {
  for (const bool date1904 : {false, true}) {
    test::XlsxRecipe recipe;
    recipe.date1904 = date1904;
    recipe.cell_formats = {0, 22, 164};
    recipe.custom_formats = {"164:hh:mm"};
    recipe.sheet_data =
        "<row><c s=\"2\"><v>0.75</v></c><c s=\"1\"><v>1000</v></c><c s=\"1\"><v>1000.5</v></c>"
        "<c t=\"b\"><v>1</v></c><c><v>4915112345678</v></c><c><v>NaN</v></c>"
        "<c s=\"1\"><v>-1</v></c><c t=\"e\"><v>#SPILL!</v></c></row>";
    const std::filesystem::path file = WriteXlsx(recipe);
    const std::string day = date1904 ? "1906-09-27" : "1902-09-26";
    const std::map<std::string, std::string> kExpected = {
        {"A1", "18:00:00"},
        {"B1", day},
        {"C1", day + " 12:00:00"},
        {"D1", "1"},
        {"E1", "4915112345678"},
        {"F1", "nan"},
        {"G1", ""},
        {"H1", ""},
    };
    for (const auto& [ref, text] : kExpected) {
      EXPECT_EQ(CellText(file, 0, ref), text) << ref << " 1904:" << date1904;
    }
  }
  EXPECT_EQ(captured_.Count("cell with number(nan) has no display value(string)"), 2);
  EXPECT_EQ(captured_.Count("cant unpack date from number(-1.000000)"), 2);
  EXPECT_EQ(captured_.Count("Unknown ErrorType"), 2);
  EXPECT_EQ(captured_.Count("in CCsv.XlsGetCell"), 6);
}

// Rows 1 and 2 empty (blank cells), a header with spaces, a data row wider
// than it, an empty row, a short row with spaces (kept: only the header is
// trimmed), two empty rows at the end; all from column B.
spreadsheet::WorkbookSheet FlagsSheet() {
  spreadsheet::WorkbookSheet sheet(u"S");
  sheet.SetBlank(0, 1);
  sheet.SetBlank(1, 2);
  const char16_t* header[] = {u" Name ", u"E-mail", u"Phone"};
  for (int c = 0; c < 3; ++c) sheet.SetString(2, 1 + c, header[c]);
  for (int c = 0; c < 5; ++c) sheet.SetString(3, 1 + c, std::u16string(1, u'a' + c));
  sheet.SetString(4, 1, u"");
  sheet.SetString(5, 1, u" x ");
  sheet.SetBlank(5, 3);
  sheet.SetBlank(6, 1);
  sheet.SetBlank(7, 5);
  sheet.Finish();
  return sheet;
}

TEST_F(CsvXls, ReadingFlags) {
  const spreadsheet::WorkbookSheet sheet = FlagsSheet();
  struct Case {
    std::int32_t flags;
    int max_rows;
    const char* table;
  };
  const Case kCases[] = {
      {0, -1, "[][][ Name |E-mail|Phone][a|b|c|d|e][][ x ][][]"},
      {16, -1, "[][][ Name |E-mail|Phone][a|b|c|d|e][][ x ][][]"},
      {xlsfHeaderRow, -1, "[Name|E-mail|Phone][a|b|c|d|e][][ x ][][]"},
      {xlsfHeaderRowForce, -1, "[Name|E-mail|Phone][a|b|c][][ x ][][]"},
      {xlsfSkipFirstEmptyRows, -1, "[ Name |E-mail|Phone][a|b|c|d|e][][ x ][][]"},
      {xlsfSkipLastEmptyRows, -1, "[][][ Name |E-mail|Phone][a|b|c|d|e][][ x ]"},
      {xlsfSkipAnyEmptyRows, -1, "[ Name |E-mail|Phone][a|b|c|d|e][ x ]"},
      {xlsfDefault, -1, "[Name|E-mail|Phone][a|b|c][][ x ]"},
      {xlsfDefault4Autodetect, -1, "[Name|E-mail|Phone][a|b|c][ x ]"},
      {xlsfDefault, 3, "[Name|E-mail|Phone][a|b|c]"},
      {0, 2, "[][]"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ReadTable(sheet, c.flags, c.max_rows), c.table) << c.flags << "/" << c.max_rows;
  }
  EXPECT_EQ(ReadTable(spreadsheet::WorkbookSheet(u"empty"), xlsfDefault), "");
}

TEST_F(CsvXls, LoadsOneSheetAndDetectsItsDialect) {
  const char* kGoogle[] = {"Given Name",      "Additional Name",  "Family Name",
                           "Given Name Yomi", "Family Name Yomi", "Name Prefix",
                           "Name Suffix",     "Nickname",         "Birthday",
                           "Notes",           "Group Membership"};
  test::XlsxRecipe recipe;
  recipe.sheet_name = "Google";
  recipe.sheet_data = "<row r=\"2\">";
  for (const char* name : kGoogle) {
    recipe.sheet_data += "<c t=\"inlineStr\"><is><t> " + std::string(name) + "</t></is></c>";
  }
  recipe.sheet_data +=
      "</row><row r=\"4\"/><row r=\"5\"><c><v>1</v></c></row><row r=\"6\"><c><v>2</v></c></row>";
  const std::filesystem::path file = WriteXlsx(recipe);
  CsvCellsTable cells;
  XlsSheetInfo info;
  std::u16string error;
  ASSERT_EQ(csv_.LoadXlsCells(file, 0, &cells, &info, true, xlsfDefault, 2, &error), S_OK);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(U8(cells[1][0] + u"|" + info.name), "1|Google");
  EXPECT_TRUE(!info.empty && info.type == vlmcsvGoogle && !info.has_custom_headers);
  EXPECT_EQ(U8(info.headers).substr(0, 29), "\"Given Name\",\"Additional Name");

  ASSERT_EQ(csv_.LoadXlsCells(file, 0, &cells, &info, false, xlsfSkipAnyEmptyRows, -1, &error),
            S_OK);
  EXPECT_TRUE(cells.size() == 3 && info.type == vlmcsvUnknown && info.headers.empty());

  EXPECT_EQ(csv_.LoadXlsCells(file, 1, &cells, &info, true, xlsfDefault, -1, &error),
            E_GENERIC_FAILURE);
  EXPECT_EQ(U8(error), "no sheet 1: the workbook has 1");
  EXPECT_TRUE(captured_.Has("Cant load sheet[1] from file(" + file.string() +
                            "), error(no sheet 1: the workbook has 1)"));
  EXPECT_EQ(csv_.LoadXlsCells(dir_ / "none.xlsx", 0, &cells, &info, true, 15, -1, &error),
            E_GENERIC_FAILURE);
  EXPECT_EQ(U8(error), "cannot open the file: No such file or directory");
  for (const char* name : {"", "a.csv"}) {
    EXPECT_EQ(csv_.LoadXlsCells(name, 0, &cells, &info, true, 15, -1, &error), E_INVALIDARG);
  }
  EXPECT_EQ(csv_.LoadXlsCells(file, -1, &cells, &info, true, 15, -1, &error), E_INVALIDARG);
}

TEST_F(CsvXls, DescribesEverySheet) {
  std::vector<XlsSheetInfo> sheets;
  std::u16string error;
  ASSERT_EQ(
      csv_.AutodetectXls(test::WorkbookCorpus() / "calamine_issues.xlsx", true, &sheets, &error),
      S_OK);
  std::string dump;
  for (const XlsSheetInfo& s : sheets) {
    dump += U8(s.name) + (s.empty ? "(empty)" : "") + "=" + U8(s.headers) + " ";
  }
  EXPECT_EQ(dump,
            "datatypes=\"1\" Sheet1(empty)=\"0\" issue2=\"1\",\"a\" issue5(empty)=\"0.5\" "
            "issue6=\"1\" spc_chrs=\"&\" ");
  const std::filesystem::path damaged = dir_ / "damaged.xlsx";
  test::WriteFile(damaged, "PK\x03\x04");
  EXPECT_EQ(csv_.AutodetectXls(damaged, true, &sheets, &error), E_GENERIC_FAILURE);
  EXPECT_TRUE(captured_.Has("Cant load file(" + damaged.string() + "), error("));
  EXPECT_TRUE(sheets.empty());
}

TEST_F(CsvXls, SavesTablesAsStringCells) {
  const CsvCellsTable table = {{u"Name", u"", u"Phone"}, {}, {u"Ann", u"x", u"0123"}};
  std::u16string error;
  const std::filesystem::path file = dir_ / "T.XLSX";
  ASSERT_EQ(csv_.SaveXls(file, u"Contacts", table, &error), S_OK);
  EXPECT_EQ(error, u"");
  spreadsheet::Workbook book(spreadsheet::WorkbookKind::kXlsx);
  ASSERT_TRUE(book.Load(file));
  EXPECT_EQ(test::DumpSheet(*book.GetSheet(0)), "A1=s:Name C1=s:Phone A3=s:Ann B3=s:x C3=s:0123");

  EXPECT_EQ(csv_.SaveXls(dir_ / "t.xlsb", u"S", table, &error), E_NOTIMPL);
  EXPECT_EQ(U8(error), spreadsheet::kXlsbWriteRefused);
  EXPECT_EQ(csv_.SaveXls(dir_ / "t.xlsx", u"a/b", table, &error), E_GENERIC_FAILURE);
  EXPECT_TRUE(captured_.Has("Cant create  libxl::Sheet object, error(sheet name a/b holds one of"));
  for (const char* name : {"", "t.csv"}) {
    EXPECT_EQ(csv_.SaveXls(name, u"S", table, &error), E_INVALIDARG);
  }
  EXPECT_EQ(csv_.SaveXls(dir_ / "none" / "t.xlsx", u"S", table, &error), E_GENERIC_FAILURE);
  EXPECT_TRUE(captured_.Has("Cant save file, error(cannot create "));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "t.xlsx"));
}

TEST_F(CsvXls, CellsBeyondTheSheetAreCountedAndLogged) {
  CsvCellsTable table(65537);
  table[0] = {u"kept"};
  table[65536] = {u"lost", u"also lost"};
  std::u16string error;
  const std::filesystem::path file = dir_ / "t.xls";
  test::WriteFile(file, "old");
  CsvCellsTable beyond(65537);
  beyond[65536] = {u"lost"};
  EXPECT_EQ(csv_.SaveXls(file, u"S", beyond, &error), E_GENERIC_FAILURE);
  EXPECT_EQ(test::ReadFile(file), "old");
  EXPECT_EQ(csv_.SaveXls(dir_ / "t.xlsx", u"S", table, &error), S_OK);
  // Another log with the detail level writes the cell text too.
  test::CapturedLog detail(loglDetail);
  test::CapturedLog errors(loglMin);
  ASSERT_EQ(CCsv(errors.log).SaveXls(file, u"S", table, &error), S_FALSE);
  EXPECT_EQ(U8(error), "cell [65536,0] is outside the sheet's 65536 rows and 256 columns");
  EXPECT_EQ(errors.Count("Cant set cell[65536,"), 2);
  EXPECT_EQ(errors.Count("value:"), 0);
  CCsv(detail.log).SaveXls(file, u"S", table, &error);
  EXPECT_TRUE(
      detail.Has("Cant set cell[65536,1], error:cell [65536,1] is outside the sheet's "
                 "65536 rows and 256 columns\n\tvalue:also lost\n"));
}

}  // namespace
}  // namespace velmora::csv
