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

// vCard to vCard: dropped properties, replaced names and lost characters,
// only for cards written anew.
TEST(ConversionReport, VCardConversion) {
  const auto converter = NewConverter();
  Recorder report;
  ASSERT_EQ(converter->put_ConversionReport(&report), S_OK);
  for (const FileCase& c : ReadCases("automation/data/conversion_reports.txt")) {
    SCOPED_TRACE(c.name);
    report.lines.clear();
    ASSERT_TRUE(
        SUCCEEDED(ConvertText(*converter, Card30(c["card"]) + Card30("N:B;A;;;\r\nFN:A B\r\n"),
                              std::stod(c["version"]), c.Number("code page"))
                      .status));
    EXPECT_EQ(report.lines, c.All("event"));
  }
  // Without a listener nothing is told.
  ASSERT_EQ(converter->put_ConversionReport(nullptr), S_OK);
  report.lines.clear();
  ConvertText(*converter, Card30("N:Doe;John;;;\r\nFN:John Doe\r\nGEO:1;2\r\n"), 2.1);
  EXPECT_TRUE(report.lines.empty());
}

// CSV export: what the dialect has no column for.
TEST(ConversionReport, CsvExport) {
  const auto converter = NewCsvConverter();
  Recorder report;
  converter->put_ConversionReport(&report);
  const std::string card = Card30(
      "N:Doe;Jane;;;\r\nFN:Jane Doe\r\nEMAIL:a@x.org\r\nEMAIL:b@x.org\r\nEMAIL:c@x.org\r\n"
      "EMAIL:d@x.org\r\nADR;TYPE=HOME:;;1 Main St;Springfield;;;\r\n"
      "ADR;TYPE=HOME:;;2 Side St;Shelbyville;;;\r\n"
      "item1.TEL:+1 555 0100\r\nitem1.X-ABLABEL:Boat\r\nGEO:1;2\r\n");
  struct Case {
    ECsvType type;
    Lines events;
  };
  const Case kCases[] = {
      {vlmcsvOutlook,
       {"1 Jane Doe|1|GEO|1", "1 Jane Doe|4|E-mail 4|1", "1 Jane Doe|4|Home address 2|1",
        "1 Jane Doe|4|Phone (Boat)|1"}},
      {vlmcsvGoogle, {"1 Jane Doe|1|GEO|1"}},
  };
  TempDir dir;
  for (const Case& c : kCases) {
    report.lines.clear();
    std::int32_t saved = 0, skipped = 0, dups = 0, errors = 0, io_errors = 0;
    std::vector<std::u16string> files;
    ASSERT_EQ(converter->SaveMemoryCSV2(Bytes(card), U16(dir.path()), u"out", c.type, u"", true,
                                        &saved, &skipped, &dups, &errors, &io_errors, &files),
              S_OK);
    EXPECT_EQ(report.lines, c.events) << c.type;
  }
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
