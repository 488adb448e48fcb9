// The .xls reader: freexl's cells with the ones our own pass adds, which
// for BIFF5 must agree with the workbook read from the records alone.
#include "spreadsheet/xls_reader.h"

#include <string>

#include <gtest/gtest.h>

#include "spreadsheet/workbook_test_support.h"

namespace velmora {
namespace {

std::string Dump(const WorkbookContent& content) {
  std::string out;
  for (const auto& sheet : content.sheets) {
    out.append(test::U8(sheet->name())).append(": ").append(test::DumpSheet(*sheet)).append("\n");
  }
  return out;
}

TEST(XlsReader, Biff5ThroughFreexlAndFromTheRecordsAgree) {
  const std::filesystem::path file = test::WorkbookCorpus() / "calamine_malformed_format.xls";
  WorkbookContent with_freexl, records_only;
  std::string error;
  ASSERT_TRUE(ReadXls(file, kAllSheets, {}, &with_freexl, &error)) << error;
  ASSERT_TRUE(ReadXlsRecords(file, kAllSheets, {}, &records_only, &error)) << error;
  EXPECT_EQ(Dump(with_freexl), Dump(records_only));
  EXPECT_EQ(with_freexl.sheets.at(0)->size(), 683u);
  EXPECT_FALSE(ReadXlsRecords(test::WorkbookCorpus() / "calamine_date.xls", kAllSheets, {},
                              &records_only, &error));
}

TEST(XlsReader, AddsBooleansFormulaResultsAndExactDates) {
  WorkbookContent content;
  std::string error;
  ASSERT_TRUE(
      ReadXls(test::WorkbookCorpus() / "calamine_issues.xls", kAllSheets, {}, &content, &error));
  EXPECT_EQ(Dump(content),
            "datatypes: A1=n:1 A2=n:1.5 A3=s:ab A4=b:0 A5=s:test A6=d:42663\n"
            "Sheet1: A2=n:0\n"
            "issue2: A1=n:1 B1=s:a A2=n:2 B2=s:b A3=n:3 B3=s:c\n"
            "issue5: A1=n:0.5\n"
            "issue6: A1=n:1 A2=n:2 A3=s:ab A4=b:0\n");
  ASSERT_TRUE(ReadXls(test::WorkbookCorpus() / "calamine_date.xls", 0, {}, &content, &error));
  EXPECT_EQ(Dump(content),
            "Sheet1: A1=d:44197 B1=n:15 A2=d:44198 B2=n:16 A3=d:10.6320601851852 B3=n:17\n");
  WorkbookLimits limits;
  limits.max_cells = 5;
  EXPECT_FALSE(
      ReadXls(test::WorkbookCorpus() / "calamine_issues.xls", 0, limits, &content, &error));
  EXPECT_EQ(error, "more than 5 cells");
}

}  // namespace
}  // namespace velmora
