// The CSV jobs of the command as a subprocess: CSV inputs told from vCard
// and read with their options, CSV outputs in each dialect and encoding,
// the pipeline through standard input and output, detect, headers, locales,
// and CSV in preview and count. What the rows and columns become is the
// library's, tested in process.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using CsvJobsTest = CliTest;

constexpr char kGoogleSample[] = "google-contacts.csv";
constexpr char kContoso[] = "csv-outlook/fk_outlook_desktop_contoso.csv";
constexpr char kSemicolon[] = "csv-other/tb_csv_semicolon.csv";

// Real exports to vCard: recognised ones are read; others are refused with
// what was found, unless --from csv --csv-dialect asks for their known
// columns.
TEST_F(CsvJobsTest, ReadsRealExports) {
  const std::vector<std::string> force = {"--from", "csv", "--csv-dialect", "outlook"};
  const struct {
    std::string file;
    std::vector<std::string> options;
    int exit;
    std::string message;  // in standard error
    int cards;
  } kCases[] = {
      {Corpus(kContoso), {}, 0, "6 cards read, 6 written, 0 copied, 0 skipped, 0 errors", 6},
      {Sample(kGoogleSample), {}, 0, "3 cards read", 3},
      {Corpus(kSemicolon),
       {},
       3,
       ": not a vCard file, nor CSV of a known address book (header row: \"Display "
       "Name\",\"First Name\",\"Last Name\",\"Primary Email\"; separator: ;); --from csv "
       "--csv-dialect outlook reads the columns it knows anyway",
       0},
      {Corpus(kSemicolon), force, 0, "2 cards read", 2},
      // Split at commas the row is one unknown column.
      {Corpus(kSemicolon),
       {"--from", "csv", "--csv-dialect", "google", "--separator", ","},
       3,
       ": no column is a contact field the converter knows",
       0},
      {Corpus("csv-other/fk_noheader.csv"), force, 3, "no column is a contact field", 0},
      {Corpus("csv-outlook-localised/tine20_outlook2007_de_mojibake.csv"),
       {},
       3,
       "\"Position\",... (92 columns); separator: ,)",
       0},
      {Corpus("csv-outlook-localised/tine20_outlook2007_de_mojibake.csv"), force, 0, "2 cards read",
       2},
      {Temp("missing.csv"), {}, 3, "missing.csv: cannot read: no such file (status 0x80070002)", 0},
  };
  for (const auto& c : kCases) {
    const RunResult r = Run({"convert", c.file, "-o", Temp("out.vcf")}, c.options);
    EXPECT_EQ(r.exit_code, c.exit) << c.file << ": " << r.err;
    EXPECT_THAT(r.err, HasSubstr(c.message)) << c.file << ": " << r.err;
    const std::string out = c.cards > 0 ? ReadFile(Temp("out.vcf")) : "";
    EXPECT_EQ(CountOf(out, "BEGIN:VCARD"), c.cards) << c.file;
    std::filesystem::remove(Temp("out.vcf"));
  }
}

// The separator, the code page and the Outlook language of an input.
TEST_F(CsvJobsTest, InputOptions) {
  const std::string thunderbird = Corpus("csv-other/fk_thunderbird_de_windows-1252.csv");
  const struct {
    std::vector<std::string> options;
    int exit;
    const char* expected;  // in the vCard text, or in standard error
  } kCases[] = {
      {{},
       0,
       "Tel. dienstlich: Tel gesch\xC3\xA4"
       "ftlich"},
      {{"--input-encoding", "windows-1251"},
       0,
       "Tel gesch\xD0\xB4"
       "ftlich"},
      {{"--input-encoding", "1251"},
       0,
       "Tel gesch\xD0\xB4"
       "ftlich"},
      // In English none of the German names is known.
      {{"--input-locale", "1033"}, 3, "no column is a contact field the converter knows"},
  };
  for (const auto& c : kCases) {
    const RunResult r =
        Run({"convert", thunderbird, "--from", "csv", "--csv-dialect", "outlook", "-o", "-"},
            c.options);
    EXPECT_EQ(r.exit_code, c.exit) << r.err;
    EXPECT_THAT((c.exit == 0 ? r.out : r.err), HasSubstr(c.expected)) << c.expected << "\n"
                                                                      << r.out << r.err;
  }
  // A TAB-separated file named .txt is CSV too.
  const RunResult tab = Run({"convert", Corpus("csv-other/tb_export_tab.txt"), "--from", "csv",
                             "--csv-dialect", "outlook", "--separator", "tab", "-o", "-"});
  EXPECT_EQ(tab.exit_code, 0) << tab.err;
  EXPECT_EQ(CountOf(tab.out, "BEGIN:VCARD"), 2);
}

// vCard to CSV and back through standard output and input, in every
// dialect and encoding: the contacts come back with their names.
TEST_F(CsvJobsTest, RoundTripsThroughStandardOutputAndInput) {
  const std::vector<std::string> names =
      Values(Run({"convert", Sample(kTeam), "-o", "-"}).out, "FN");
  ASSERT_EQ(names.size(), 5u);
  for (const char* dialect : {"outlook", "outlook365", "google", "google2"}) {
    for (const char* encoding : {"utf-8", "utf-16", "utf-16be", "windows-1252"}) {
      SCOPED_TRACE(std::string(dialect) + " " + encoding);
      const RunResult csv = Run({"convert", Sample(kTeam), "--to", "csv", "--csv-dialect", dialect,
                                 "--encoding", encoding, "-o", "-"});
      ASSERT_EQ(csv.exit_code, 0) << csv.err;
      const std::string file = TempFile("team.csv", csv.out);
      const RunResult back = RunWithInput(file, {"convert", "-", "-o", "-"});
      ASSERT_EQ(back.exit_code, 0) << back.err;
      EXPECT_EQ(Values(back.out, "FN"), names);
    }
  }
}

// The header row and the bytes each output option gives.
TEST_F(CsvJobsTest, OutputOptions) {
  const std::string bom = "\xEF\xBB\xBF";
  const struct {
    std::vector<std::string> options;
    std::string start;  // the file's first bytes
  } kCases[] = {
      {{}, bom + "Title,First Name,Middle Name,Last Name,"},
      {{"--no-bom"}, "Title,First Name,"},
      {{"--csv-dialect", "outlook365"}, bom + "First Name,Middle Name,Last Name,Title,"},
      {{"--csv-dialect", "google"}, bom + "Name,Given Name,Additional Name,"},
      {{"--locale", "1031"}, bom + "Anrede,Vorname,Weitere Vornamen,"},
      {{"--encoding", "utf-16"}, std::string("\xFF\xFET\0i\0", 6)},
      {{"--encoding", "utf-16be", "--no-bom"}, std::string("\0T\0i", 4)},
      // Code pages other than UTF-8 have no mark.
      {{"--encoding", "windows-1252"}, "Title,First Name,"},
  };
  for (const auto& c : kCases) {
    const RunResult r = Run({"convert", Sample(kTeam), "-o", Temp("out.csv")}, c.options);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    const std::string out = ReadFile(Temp("out.csv"));
    EXPECT_EQ(out.substr(0, c.start.size()), c.start) << (c.options.empty() ? "" : c.options[0]);
  }
  // windows-1252 bytes, and the summary in JSON.
  const RunResult r =
      Run({"--json", "convert", Sample(kTeam), "--encoding", "windows-1252", "-o", Temp("w.csv")});
  EXPECT_THAT(ReadFile(Temp("w.csv")), HasSubstr(",J\xFCrgen,,Wei\xDF,"));
  EXPECT_THAT(r.out,
              HasSubstr("\"read\":5,\"written\":5,\"copied\":0,\"skipped\":0,\"errors\":0,"
                        "\"output\":\"" +
                        Temp("w.csv") + "\",\"files\":[\"" + Temp("w.csv") +
                        "\"],\"format\":\"csv\",\"dialect\":\"outlook\",\"locale\":\"\","
                        "\"encoding\":\"windows-1252\",\"byteOrderMark\":true,\"dryRun\":false,"));
  EXPECT_TRUE(ListFolder(runner_.TmpFolder()).empty());
}

// Google Contacts' current layout written, told from the earlier one by
// detect, and read back.
TEST_F(CsvJobsTest, Google2BothWays) {
  const std::string cards =
      TempFile("two.vcf",
               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Chan;Bo;;;\r\nFN:Bo Chan\r\nEND:VCARD\r\n");
  RunResult r = Run({"convert", cards, "--csv-dialect", "google2", "-o", Temp("g2.csv")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  // The layout itself is the library's (tests/csv/google2_test.cpp).
  EXPECT_THAT(ReadFile(Temp("g2.csv")),
              StartsWith("\xEF\xBB\xBF"
                         "First Name,Middle Name,Last Name,Phonetic First Name,"));
  r = Run({"detect", Temp("g2.csv"), Sample(kGoogleSample)});
  EXPECT_THAT(r.out, HasSubstr("csv     google2  ,          utf-8     -       no      2\n"));
  EXPECT_THAT(r.out, HasSubstr("csv     google   ,          utf-8     -       no      3\n"));
  r = Run({"convert", Temp("g2.csv"), "-o", "-"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(Values(r.out, "FN"), (std::vector<std::string>{"Ann Lee", "Bo Chan"}));
}

// One file per contact, and duplicates left out of CSV as out of vCard.
TEST_F(CsvJobsTest, SplitAndDedupe) {
  RunResult r = Run({"convert", Sample(kTeam), "--to", "csv", "--split", "-o", Temp("cards")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> files = ListFolder(Temp("cards"));
  ASSERT_EQ(files.size(), 5u);
  std::vector<std::string> count = {"count"};
  for (const std::string& name : files) {
    EXPECT_EQ(name.substr(name.size() - 4), ".csv");
    count.push_back((std::filesystem::path(Temp("cards")) / name).string());
  }
  // Each file holds one contact.
  EXPECT_EQ(CountOf(Run(count).out, "\n1  "), 4);
  r = Run({"convert", Sample(kTeam), Sample(kMixed), "--dedupe", "keep-original", "-o",
           Temp("all.csv")});
  EXPECT_EQ(r.exit_code, 1) << r.err;  // duplicates are skipped cards
  EXPECT_THAT(r.err, HasSubstr("9 cards read, 7 written, 0 copied, 2 skipped"));
  EXPECT_EQ(Run({"count", Temp("all.csv")}).out, "7  " + Temp("all.csv") + "\n");
}

TEST_F(CsvJobsTest, DetectTellsWhatEachFileIs) {
  RunResult r = Run({"detect", Sample(kGoogleSample), Corpus(kSemicolon), Sample(kMixed)});
  EXPECT_EQ(r.exit_code, 1) << r.err;  // one CSV of no known address book
  const std::string g = Sample(kGoogleSample), s = Corpus(kSemicolon), m = Sample(kMixed);
  const std::size_t width = std::max({g.size(), s.size(), m.size()});
  const auto pad = [&](const std::string& text) {
    return text + std::string(width - text.size() + 2, ' ');
  };
  EXPECT_EQ(r.out, pad("FILE") + "FORMAT  DIALECT  SEPARATOR  ENCODING  LOCALE  CUSTOM  ROWS\n" +
                       pad(g) + "csv     google   ,          utf-8     -       no      3\n" +
                       pad(s) + "csv     unknown  ;          system    -       no      2\n" +
                       pad(m) + "vcard   -        -          -         -       -       4\n");

  r = Run(
      {"--json", "detect", Corpus("csv-other/fk_windows_live_mail_de.csv"), Temp("missing.csv")});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_THAT(r.out,
              HasSubstr("\"format\":\"csv\",\"dialect\":\"unknown\",\"separator\":\";\","
                        "\"encoding\":\"utf-8\",\"codePage\":65001,\"locale\":\"1031\","
                        "\"customHeaders\":false,\"rows\":1,\"headers\":\"\\\"Vorname\\\","));
  EXPECT_THAT(r.out,
              HasSubstr("\"error\":\"cannot read: no such file\",\"status\":\"0x80070002\"}"));
}

TEST_F(CsvJobsTest, HeadersAndLocales) {
  RunResult r = Run({"headers"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(CountOf(r.out, "\n"), 93);  // the title line and Outlook's 92 columns
  EXPECT_THAT(r.out, HasSubstr("\n2     First Name "));
  r = Run({"headers", "--dialect", "google"});
  EXPECT_THAT(r.out, HasSubstr("\n0x01000000  E-mail * - Type "));
  r = Run({"headers", "--locale", "1031"});
  EXPECT_THAT(r.out, HasSubstr("First Name                -                 Vorname\n"));
  r = Run({"--json", "headers", "--dialect", "nokia"});
  EXPECT_THAT(
      r.out, StartsWith("{\"command\":\"headers\",\"exit\":0,\"dialect\":\"nokia\",\"locale\":\"\","
                        "\"headers\":[{\"code\":"));
  EXPECT_EQ(Run({"headers", "--locale", "9999"}).exit_code, 2);

  r = Run({"--json", "locales"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(r.out, HasSubstr("{\"lid\":\"1031\",\"name\":\"German (Germany)\",\"codePage\":1252,"
                               "\"codePageName\":\"Western European (Windows)\",\"headers\":92}"));
  EXPECT_EQ(CountOf(r.out, "\"lid\":"), 11);
}

TEST_F(CsvJobsTest, PreviewAndCountReadCsv) {
  RunResult r = Run({"count", Sample(kGoogleSample), Corpus(kContoso), Corpus(kSemicolon)});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_EQ(r.out, "3  " + Sample(kGoogleSample) + "\n6  " + Corpus(kContoso) + "\n9  total\n");
  EXPECT_THAT(r.err, HasSubstr(Corpus(kSemicolon) + ": not a vCard file, nor CSV"));

  r = RunWithInput(Sample(kGoogleSample), {"preview", "-"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(r.out, HasSubstr("1  Garnier, In\xC3\xA8s "));
  EXPECT_THAT(r.out, HasSubstr("3  Okafor, Chidi Emeka  Chidi Emeka Okafor "));
}

}  // namespace
}  // namespace velmora::clitest
