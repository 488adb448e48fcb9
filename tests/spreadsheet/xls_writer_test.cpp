// The .xls writer: BIFF8 records in a compound file, read back by our
// reader (freexl and our own pass) and by Python's xlrd; strings long and
// many enough to continue the shared string table over several records.
#include "spreadsheet/xls_writer.h"

#include <string>

#include <gtest/gtest.h>

#include "spreadsheet/workbook.h"
#include "spreadsheet/workbook_test_support.h"

namespace velmora::spreadsheet {
namespace {

using test::U16;
using test::U8;

TEST(XlsWriter, WritesWhatFreexlAndXlrdRead) {
  test::TempDir dir;
  const std::filesystem::path file = dir / "out.xls";
  Workbook book(WorkbookKind::kXls);
  WorkbookSheet* first = book.AddSheet(u"Kontakte");
  WorkbookSheet* second = book.AddSheet(u"Zwei 😀");
  ASSERT_TRUE(first && second);
  const char* kTexts[] = {"a\r\nb", "tab\there", "<&>\"'", " pad ", "Ødegård 😀", "a\r\nb"};
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(book.WriteStr(first, i / 3, i % 3, U16(kTexts[i])));
  ASSERT_TRUE(book.WriteStr(second, 65535, 255, u"last"));
  ASSERT_TRUE(book.Save(file)) << book.ErrorMessage();

  Workbook read(WorkbookKind::kXls);
  ASSERT_TRUE(read.Load(file)) << read.ErrorMessage();
  ASSERT_EQ(read.SheetCount(), 2);
  EXPECT_EQ(U8(read.GetSheet(1)->name()), "Zwei 😀");
  EXPECT_EQ(test::DumpSheet(*read.GetSheet(0)),
            "A1=s:a\r\nb B1=s:tab\there C1=s:<&>\"' A2=s: pad  B2=s:Ødegård 😀 C2=s:a\r\nb");
  EXPECT_EQ(test::DumpSheet(*read.GetSheet(1)), "IV65536=s:last");
  EXPECT_EQ(test::PythonDump("xlrd", file),
            "[Kontakte]\nA1=1:a\r\nb\nB1=1:tab\there\nC1=1:<&>\"'\nA2=1: pad \nB2=1:Ødegård 😀\n"
            "C2=1:a\r\nb\n[Zwei 😀]\nIV65536=1:last");
}

TEST(XlsWriter, ContinuesTheSharedStringsOverRecords) {
  test::TempDir dir;
  const std::filesystem::path file = dir / "long.xls";
  Workbook book(WorkbookKind::kXls);
  WorkbookSheet* sheet = book.AddSheet(u"S");
  std::string expected_python = "[S]";
  // 3000 short strings (many index buckets), then long ones that cross
  // record boundaries, letters beyond the BMP among them.
  for (int i = 0; i < 3000; ++i) {
    ASSERT_TRUE(book.WriteStr(sheet, i, 0, U16(std::string("s").append(std::to_string(i)))));
  }
  for (int i = 0; i < 4; ++i) {
    std::string text(4099 + i, static_cast<char>('a' + i));
    text.replace(4000, 4, "😀");
    ASSERT_TRUE(book.WriteStr(sheet, i, 1, U16(text)));
    expected_python.append("\nB").append(std::to_string(i + 1)).append("=1:").append(text);
  }
  ASSERT_TRUE(book.Save(file)) << book.ErrorMessage();
  Workbook read(WorkbookKind::kXls);
  ASSERT_TRUE(read.Load(file)) << read.ErrorMessage();
  const WorkbookSheet& back = *read.GetSheet(0);
  EXPECT_EQ(back.size(), 3004u);
  EXPECT_EQ(U8(back.ReadStr(2999, 0)), "s2999");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(back.ReadStr(i, 1), sheet->ReadStr(i, 1));
  const std::string python = test::PythonDump("xlrd", file);
  EXPECT_NE(python.find("\nA3000=1:s2999"), std::string::npos);
  std::string longs = "[S]";
  for (std::size_t at = 0; (at = python.find("\nB", at)) != std::string::npos; ++at) {
    longs += python.substr(at, python.find('\n', at + 1) - at);
  }
  EXPECT_EQ(longs, expected_python);
}

}  // namespace
}  // namespace velmora::spreadsheet
