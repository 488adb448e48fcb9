// The workbook interface: kinds by extension, sheet names a written
// workbook accepts, and every workbook of the corpus read or refused.
#include "spreadsheet/workbook.h"

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "spreadsheet/workbook_test_support.h"

namespace velmora::spreadsheet {
namespace {

TEST(Workbook, KindByExtension) {
  EXPECT_EQ(WorkbookKindOf(u"a.xls"), WorkbookKind::kXls);
  EXPECT_EQ(WorkbookKindOf(u"dir.x/A.XLSX"), WorkbookKind::kXlsx);
  EXPECT_EQ(WorkbookKindOf(u"a.b.Xlsm"), WorkbookKind::kXlsm);
  EXPECT_EQ(WorkbookKindOf(u"a.xlsb"), WorkbookKind::kXlsb);
  for (const char16_t* name : {u"a.csv", u"xlsx", u"a.xlsx.bak", u"a."}) {
    EXPECT_EQ(WorkbookKindOf(name), WorkbookKind::kNone) << test::U8(name);
  }
  EXPECT_EQ(WorkbookKindOfFile(std::filesystem::path("/x.y/b.XLS")), WorkbookKind::kXls);
}

TEST(Workbook, SheetNamesAndCellsAWrittenWorkbookTakes) {
  Workbook book(WorkbookKind::kXls);
  for (const char16_t* name :
       {u"", u"a:b", u"[x]", u"'quoted'", u"a234567890123456789012345678901x"}) {
    EXPECT_EQ(book.AddSheet(name), nullptr) << test::U8(name);
  }
  WorkbookSheet* sheet = book.AddSheet(u"Contacts");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(book.AddSheet(u"CONTACTS"), nullptr);
  EXPECT_EQ(book.ErrorMessage(), "sheet name CONTACTS is already used");
  EXPECT_TRUE(book.WriteStr(sheet, 65535, 255, u"x"));
  EXPECT_FALSE(book.WriteStr(sheet, 65536, 0, u"x"));
  EXPECT_EQ(book.ErrorMessage(),
            "cell [65536,0] is outside the sheet's 65536 rows and 256 columns");
  EXPECT_FALSE(book.WriteStr(sheet, 0, 0, std::u16string(32768, u'x')));
  Workbook xlsb(WorkbookKind::kXlsb);
  xlsb.AddSheet(u"S");
  EXPECT_FALSE(xlsb.Save("never-written.xlsb"));
  EXPECT_EQ(xlsb.ErrorMessage(), kXlsbWriteRefused);
}

// Every workbook of the corpus: its sheets as "name:cells", or "!" and the
// start of the reader's message.
TEST(Workbook, ReadsOrRefusesEveryCorpusFile) {
  const std::map<std::string, std::string> kExpected = {
      {"calamine_OOM_alloc.xls", "!freexl: no workbook it can read in the file"},
      {"calamine_any_sheets.xls", "Visible:7 Hidden:0 VeryHidden:0 Chart:0"},
      {"calamine_any_sheets.xlsx", "Visible:7 Hidden:0 VeryHidden:0 Chart:0"},
      {"calamine_any_sheets.xlsb", "Visible:7 Hidden:0 VeryHidden:0 Chart:0"},
      {"calamine_date.xlsb", "Sheet1:6"},
      {"calamine_date_1904.xlsb", "Sheet1:6"},
      {"calamine_issue_666_lost_sheets.xlsb", "Sheet1:0"},
      {"calamine_issue_666_panic.xlsb", "Sheet1:0"},
      {"calamine_issues.xlsb", "datatypes:6 issue2:6 Sheet1:1 issue5:1 issue6:5 spc_chrs:8"},
      {"calamine_biff5_write.xls", "SheetJS:12"},
      {"calamine_date.xls", "Sheet1:6"},
      {"calamine_date_1904.xls", "Sheet1:6"},
      {"calamine_issues.xls", "datatypes:6 Sheet1:1 issue2:6 issue5:1 issue6:4"},
      {"calamine_malformed_format.xls", "2014:683"},
      {"calamine_date.xlsx", "Sheet1:6"},
      {"calamine_date_1904.xlsx", "Sheet1:6"},
      {"calamine_empty_shared_string.xlsx", "Sheet1:2"},
      {"calamine_empty_sheet.xlsx", "Sheet1:0"},
      {"calamine_encoded_entities.xlsx", "Sheet1:2"},
      {"calamine_errors.xlsx", "Feuil1:7 Feuil2:0 Feuil3:0"},
      {"calamine_has_x000D_.xlsx", "Sheet1:1"},
      {"calamine_header-row.xlsx", "Sheet1:9"},
      {"calamine_inlineStr_cdata.xlsx", "Sheet1:4"},
      {"calamine_issue221.xlsm", "Sheet1:4"},
      {"calamine_issues.xlsx", "datatypes:6 Sheet1:1 issue2:6 issue5:1 issue6:5 spc_chrs:8"},
  };
  int seen = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test::WorkbookCorpus())) {
    const std::string name = entry.path().filename().string();
    const auto expected = kExpected.find(name);
    ASSERT_NE(expected, kExpected.end()) << name;
    ++seen;
    Workbook book(WorkbookKindOfFile(entry.path()));
    std::string got;
    if (!book.Load(entry.path())) {
      got = "!" + book.ErrorMessage();
    } else {
      for (int i = 0; i < book.SheetCount(); ++i) {
        if (i > 0) got += ' ';
        got.append(test::U8(book.GetSheet(i)->name())).append(":");
        got.append(std::to_string(book.GetSheet(i)->size()));
      }
    }
    EXPECT_EQ(got.substr(0, expected->second.size()), expected->second) << name;
  }
  EXPECT_EQ(seen, static_cast<int>(kExpected.size()));
  // Every file of the folder is in the table.
  EXPECT_EQ(static_cast<std::size_t>(
                std::distance(std::filesystem::directory_iterator(test::WorkbookCorpus()), {})),
            kExpected.size());
}

}  // namespace
}  // namespace velmora::spreadsheet
