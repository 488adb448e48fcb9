// Workbooks through the command as a subprocess: vCards written as .xlsx
// and .xls and read back, the sheet chosen by --sheet, detect's list of
// sheets, count and preview of a workbook, and damaged workbooks refused
// without leaving anything behind. What cells become is the library's,
// tested in process.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using WorkbookJobsTest = CliTest;

std::vector<std::string> Sorted(std::vector<std::string> values) {
  std::sort(values.begin(), values.end());
  return values;
}

constexpr char kAnySheets[] = "spreadsheets/calamine_any_sheets.xlsx";

// vCard → workbook → vCard keeps every name, e-mail and phone, in both
// formats and the dialects a workbook can be written in.
TEST_F(WorkbookJobsTest, RoundTripsCardsThroughWorkbooks) {
  const std::string original = ReadFile(Sample(kFamily));
  const struct {
    std::string book;
    std::string dialect;
  } kCases[] = {{"book.xlsx", "outlook"},
                {"book.xls", "outlook"},
                {"book.xlsx", "google"},
                {"book.XLS", "google"}};
  for (const auto& c : kCases) {
    const std::string book = Temp(c.dialect + "-" + c.book);
    RunResult r = Run({"convert", Sample(kFamily), "--csv-dialect", c.dialect, "-o", book});
    ASSERT_EQ(r.exit_code, 0) << book << ": " << r.err;
    EXPECT_THAT(r.err, HasSubstr("4 cards read, 4 written"));
    r = Run({"--json", "detect", book});
    EXPECT_THAT(r.out, HasSubstr("\"dialect\":\"" + c.dialect + "\""));
    r = Run({"convert", book, "-o", Temp("back.vcf")});
    ASSERT_EQ(r.exit_code, 0) << book << ": " << r.err;
    const std::string back = ReadFile(Temp("back.vcf"));
    for (const char* property : {"FN", "N", "EMAIL", "TEL"}) {
      EXPECT_EQ(Sorted(Values(back, property)), Sorted(Values(original, property)))
          << book << " " << property;
    }
  }
  // A workbook by --to, to standard output, is the same file.
  RunResult r = Run({"convert", Sample(kFamily), "--to", "xlsx", "-o", "-"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 2), "PK");
  // An output that cannot be written counts every contact as an error.
  std::filesystem::create_directory(Temp("folder.xls"));
  r = Run({"convert", Sample(kFamily), "-o", Temp("folder.xls")});
  EXPECT_EQ(r.exit_code, 4) << r.err;
  EXPECT_THAT(r.err, HasSubstr("folder.xls: cannot write: is a folder; nothing written"));
  EXPECT_THAT(r.err, HasSubstr("4 cards read, 0 written, 0 copied, 0 skipped, 4 errors"));
}

// Header names in an Outlook language are found, or taken from
// --input-locale when given: the right one reads every row, a wrong one none.
TEST_F(WorkbookJobsTest, ReadsTheHeaderNamesInTheLocale) {
  ASSERT_EQ(Run({"convert", Sample(kTeam), "--locale", "1031", "-o", Temp("de.xls")}).exit_code, 0);
  ASSERT_EQ(Run({"convert", Sample(kTeam), "-o", Temp("en.xlsx")}).exit_code, 0);
  const struct {
    std::string book;
    std::string locale;
    int exit;
    std::string message;
  } kCases[] = {
      {"de.xls", "", 0, "5 cards read, 5 written"},
      {"de.xls", "1031", 0, "5 cards read, 5 written"},
      {"en.xlsx", "1033", 0, "5 cards read, 5 written"},
      {"en.xlsx", "1031", 1, "en.xlsx: warning: no contact in it"},
  };
  for (const auto& c : kCases) {
    std::vector<std::string> args = {"convert", Temp(c.book), "-o", Temp("out.vcf")};
    if (!c.locale.empty()) args.insert(args.end(), {"--input-locale", c.locale});
    const RunResult r = Run(args);
    EXPECT_EQ(r.exit_code, c.exit) << c.book << " " << c.locale << ": " << r.err;
    EXPECT_THAT(r.err, HasSubstr(c.message));
  }
}

// --sheet picks a sheet by its name, else its position from 1; a sheet
// that is not there is an input error naming the sheets there are.
TEST_F(WorkbookJobsTest, ChoosesTheSheet) {
  const std::string book = Temp("book.xlsx");
  ASSERT_EQ(Run({"convert", Sample(kTeam), "-o", book}).exit_code, 0);
  const struct {
    std::string file;
    std::string sheet;
    int exit;
    std::string message;  // in standard error
  } kCases[] = {
      {book, "", 0, "5 cards read"},
      {book, "1", 0, "5 cards read"},
      {book, "Contacts", 0, "5 cards read"},
      {book, "contacts", 3, "no sheet 'contacts'; its sheets are 1 'Contacts'"},
      {book, "2", 3, "no sheet '2'; its sheets are 1 'Contacts'"},
      {book, "0", 3, "no sheet '0'"},
      {Corpus("spreadsheets/calamine_issues.xlsx"), "3", 3,
       "sheet 'issue2' is not a table of a known address book"},
      {Corpus(kAnySheets), "2", 1, "calamine_any_sheets.xlsx: warning: no contact in it"},
      {Corpus(kAnySheets), "Visible", 3, "sheet 'Visible' is not a table"},
      {Corpus(kAnySheets), "", 3, "sheet 'Visible' is not a table"},
  };
  for (const auto& c : kCases) {
    std::vector<std::string> args = {"convert", c.file, "-o", Temp("out.vcf")};
    if (!c.sheet.empty()) args.insert(args.end(), {"--sheet", c.sheet});
    const RunResult r = Run(args);
    EXPECT_EQ(r.exit_code, c.exit) << c.sheet << ": " << r.err;
    EXPECT_THAT(r.err, HasSubstr(c.message)) << c.sheet << ": " << r.err;
    EXPECT_EQ(std::filesystem::exists(Temp("out.vcf")), c.exit == 0) << c.sheet;
    std::filesystem::remove(Temp("out.vcf"));
  }
}

TEST_F(WorkbookJobsTest, DetectListsTheSheets) {
  const std::string book = Temp("book.xls");
  ASSERT_EQ(Run({"convert", Sample(kFamily), "--locale", "1031", "-o", book}).exit_code, 0);
  RunResult r = Run({"detect", book});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(r.out,
              HasSubstr(book + " [1: Contacts]  xls     outlook  -          -         1031    no "
                               "     4\n"));
  // The JSON gives each sheet's header row.
  EXPECT_THAT(Run({"--json", "detect", book}).out,
              HasSubstr(R"("headers":"\"Anrede\",\"Vorname\",)"));
  // Hidden and chart sheets are listed too; none is an address book.
  r = Run({"--json", "detect", Corpus(kAnySheets)});
  EXPECT_EQ(r.exit_code, 1) << r.err;
  for (const char* sheet : {"\"sheet\":1,\"name\":\"Visible\"", "\"sheet\":2,\"name\":\"Hidden\"",
                            "\"sheet\":3,\"name\":\"VeryHidden\"", "\"dialect\":\"unknown\""}) {
    EXPECT_THAT(r.out, HasSubstr(sheet)) << sheet << " in " << r.out;
  }
}

TEST_F(WorkbookJobsTest, CountAndPreviewReadWorkbooks) {
  const std::string book = Temp("book.xlsx");
  ASSERT_EQ(Run({"convert", Sample(kFamily), Sample(kTeam), "-o", book}).exit_code, 0);
  RunResult r = Run({"count", book, "--sheet", "Contacts"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "9  " + book + "\n");
  r = Run({"count", book, "--sheet", "3"});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_THAT(r.err, HasSubstr("no sheet '3'"));
  r = Run({"preview", "--limit", "2", book});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(r.out, HasSubstr("Okafor, Marta"));
  EXPECT_EQ(CountOf(r.out, "\n"), 3) << r.out;  // the header and two cards
}

// Damaged and hostile workbooks fail cleanly: exit 3, the reader's reason,
// no output left and an existing output untouched.
TEST_F(WorkbookJobsTest, DamagedWorkbooksLeaveNothing) {
  const std::string fake = TempFile("fake.xlsx", "\"First Name\"\r\nJohn\r\n");
  const std::string kept = TempFile("kept.vcf", "kept");
  // A workbook of ours cut in half.
  ASSERT_EQ(Run({"convert", Sample(kTeam), "-o", Temp("whole.xlsx")}).exit_code, 0);
  const std::string whole = ReadFile(Temp("whole.xlsx"));
  const std::string cut = TempFile("cut.xlsx", whole.substr(0, whole.size() / 2));
  std::filesystem::remove(Temp("whole.xlsx"));
  for (const std::string& input : {Corpus("spreadsheets/calamine_OOM_alloc.xls"), fake, cut}) {
    for (const std::string& output : {Temp("new.xlsx"), kept}) {
      const RunResult r = Run({"convert", input, "-o", output});
      EXPECT_EQ(r.exit_code, 3) << input << ": " << r.err;
      EXPECT_THAT(r.err, HasSubstr(": cannot read: "));
    }
    EXPECT_EQ(Run({"detect", input}).exit_code, 3) << input;
    EXPECT_EQ(Run({"count", input}).exit_code, 3) << input;
  }
  EXPECT_FALSE(std::filesystem::exists(Temp("new.xlsx")));
  EXPECT_EQ(ReadFile(kept), "kept");
  const std::vector<std::string> left = {"cut.xlsx", "fake.xlsx", "home", "kept.vcf"};
  EXPECT_EQ(ListFolder(temp_.path()), left);
}

}  // namespace
}  // namespace velmora::clitest
