// The .xlsx/.xlsm writer: texts that XML cannot carry as they are, several
// sheets, the macro-enabled package, each read back by our reader and by
// Python's openpyxl.
#include "spreadsheet/xlsx_writer.h"

#include <string>

#include <gtest/gtest.h>

#include "spreadsheet/workbook.h"
#include "spreadsheet/workbook_test_support.h"
#include "spreadsheet/zip_archive.h"

namespace velmora::spreadsheet {
namespace {

// Two sheets: texts with line breaks, a tab, a control character, the
// text of an escape, markup characters, spaces at the ends, letters
// beyond the BMP; a second sheet with a cell far out.
void Fill(Workbook& book) {
  WorkbookSheet* first = book.AddSheet(u"Kontakte");
  ASSERT_NE(first, nullptr);
  const char* kTexts[] = {"a\r\nb", "tab\there", "bell\x07", "_x000D_",
                          "<&>\"'", " pad ",     "Ødegård 😀"};
  for (int i = 0; i < 7; ++i) ASSERT_TRUE(book.WriteStr(first, i / 4, i % 4, test::U16(kTexts[i])));
  WorkbookSheet* second = book.AddSheet(u"Two");
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(book.WriteStr(second, 999, 26, u"far"));
}

TEST(XlsxWriter, WritesWhatReadsBack) {
  for (const WorkbookKind kind : {WorkbookKind::kXlsx, WorkbookKind::kXlsm}) {
    test::TempDir dir;
    const std::filesystem::path file =
        dir / (kind == WorkbookKind::kXlsx ? "out.xlsx" : "out.xlsm");
    Workbook book(kind);
    Fill(book);
    ASSERT_TRUE(book.Save(file)) << book.ErrorMessage();
    EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{file.filename().string()});

    Workbook read(kind);
    ASSERT_TRUE(read.Load(file)) << read.ErrorMessage();
    ASSERT_EQ(read.SheetCount(), 2);
    EXPECT_EQ(test::DumpSheet(*read.GetSheet(0)),
              "A1=s:a\r\nb B1=s:tab\there C1=s:bell\x07 D1=s:_x000D_ A2=s:<&>\"' B2=s: pad  "
              "C2=s:Ødegård 😀");
    EXPECT_EQ(test::DumpSheet(*read.GetSheet(1)), "AA1000=s:far");
    // openpyxl leaves the escapes of control characters as they are written.
    EXPECT_EQ(test::PythonDump("openpyxl", file),
              "[Kontakte]\nA1=s:a_x000D_\nb\nB1=s:tab\there\nC1=s:bell_x0007_\nD1=s:_x000D_\n"
              "A2=s:<&>\"'\nB2=s: pad \nC2=s:Ødegård 😀\n[Two]\nAA1000=s:far");

    WorkbookLimits limits;
    ZipArchive zip(limits);
    std::string error, types;
    ASSERT_TRUE(zip.OpenFile(file, &error));
    ASSERT_TRUE(zip.ReadAll("[Content_Types].xml", &types, &error));
    EXPECT_EQ(types.find("macroEnabled") != std::string::npos, kind == WorkbookKind::kXlsm);
  }
}

TEST(XlsxWriter, AFailedSaveLeavesNothingBehind) {
  test::TempDir dir;
  Workbook book(WorkbookKind::kXlsx);
  Fill(book);
  EXPECT_FALSE(book.Save(dir / "missing" / "out.xlsx"));
  EXPECT_EQ(book.ErrorMessage().substr(0, 14), "cannot create ");
  EXPECT_NE(book.ErrorMessage().find(": No such file or directory"), std::string::npos);
  EXPECT_TRUE(test::ListFolder(dir.path()).empty());
}

}  // namespace
}  // namespace velmora::spreadsheet
