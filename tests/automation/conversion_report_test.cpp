// The conversion report: what each kind of conversion could not carry,
// told card by card to the caller's listener.
#include <string>
#include <vector>

#include "automation/automation_test_support.h"
#include "support/case_file.h"
#include "support/temp_dir.h"

namespace velmora::test {
namespace {

// Every event on one line: "card name|event|what|count".
class Recorder : public IConversionReport {
 public:
  void OnConversionEvent(EConversionEvent event, std::int32_t card, const std::u16string& name,
                         const std::u16string& what, std::int32_t count) override {
    lines.push_back(std::to_string(card) + " " + U8(name) + "|" + std::to_string(event) + "|" +
                    U8(what) + "|" + std::to_string(count));
  }
  std::vector<std::string> lines;
};

using Lines = std::vector<std::string>;

std::string Card30(std::string_view body) {
  return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + std::string(body) + "END:VCARD\r\n";
}

// vCard to vCard (dropped properties, replaced names and lost characters,
// only for cards written anew) and CSV export (what the dialect has no
// column for): the cases of tests/automation/data/conversion_reports.txt.
TEST(ConversionReport, VCardConversionAndCsvExport) {
  const auto converter = NewCsvConverter();
  Recorder report;
  ASSERT_EQ(converter->put_ConversionReport(&report), S_OK);
  TempDir dir;
  for (const FileCase& c : ReadCases("automation/data/conversion_reports.txt")) {
    SCOPED_TRACE(c.name);
    report.lines.clear();
    if (c.Has("dialect")) {
      std::int32_t n = 0;
      std::vector<std::u16string> files;
      ASSERT_EQ(converter->SaveMemoryCSV2(Bytes(Card30(c["card"])), U16(dir.path()), u"out",
                                          static_cast<ECsvType>(c.Number("dialect")), u"", true, &n,
                                          &n, &n, &n, &n, &files),
                S_OK);
    } else {
      ASSERT_TRUE(
          SUCCEEDED(ConvertText(*converter, Card30(c["card"]) + Card30("N:B;A;;;\r\nFN:A B\r\n"),
                                std::stod(c["version"]), c.Number("code page"))
                        .status));
    }
    EXPECT_EQ(report.lines, c.All("event"));
  }
  // Without a listener nothing is told.
  ASSERT_EQ(converter->put_ConversionReport(nullptr), S_OK);
  report.lines.clear();
  ConvertText(*converter, Card30("N:Doe;John;;;\r\nFN:John Doe\r\nGEO:1;2\r\n"), 2.1);
  EXPECT_TRUE(report.lines.empty());
}

// CSV import: columns kept in the notes and values that could not be read,
// by the row's place in the table.
TEST(ConversionReport, CsvImport) {
  const auto converter = NewCsvConverter();
  Recorder report;
  converter->put_ConversionReport(&report);
  std::shared_ptr<ICsvContent> content;
  ASSERT_EQ(converter->LoadCsvContentFromMemory(
                Bytes("First Name,Last Name,Shoe Size,Birthday,Gender\r\n"
                      "Ann,Lee,38,1999-02-30,Female\r\nBob,Ray,,,Maybe\r\n"),
                1252, &content),
            S_OK);
  std::shared_ptr<ICsvCells> cells;
  ASSERT_EQ(content->Parse(&cells), S_OK);
  std::int32_t empties = 0, errors = 0;
  std::shared_ptr<ICards> cards;
  ASSERT_EQ(cells->ConvertRows(&empties, &errors, &cards), S_OK);
  EXPECT_EQ(report.lines, (Lines{"2 Ann Lee|5|Shoe Size|1", "2 Ann Lee|6|Birthday: 1999-02-30|1",
                                 "3 Bob Ray|6|Gender: Maybe|1"}));
}

}  // namespace
}  // namespace velmora::test
