// What the command says a conversion lost, and the options around it:
// the summary line, -v, --report, --json counts, --strict, --dry-run; then
// the input and output conveniences (folders, an input that is the output,
// --clean, --input-charset, charset aliases).
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using ReportTest = CliTest;

// Drops GEO and X-FOO, replaces an FN that differs from N, and loses two
// characters (a check mark and a star) in windows-1252.
constexpr char kLossy[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;John;;;\r\nFN:Johnny\r\nGEO:1;2\r\nX-FOO:a\r\n"
    "NOTE:\xE2\x9C\x93 \xE2\x98\x85\r\nEND:VCARD\r\n";
constexpr char kLossyLine[] =
    "velmora: lost: 2 properties dropped in 1 card (GEO, X-FOO); 2 characters not in "
    "windows-1252 in 1 card; 1 full name replaced by the name from N\n";

TEST_F(ReportTest, SaysWhatWasLost) {
  const std::string lossy = TempFile("lossy.vcf", kLossy);
  const std::string counts = "velmora: 1 card read, 1 written, 0 copied, 0 skipped, 0 errors\n";
  const struct {
    std::vector<std::string> options;
    int exit;
    std::string err;  // the whole of standard error
  } kCases[] = {
      {{}, 0, counts + kLossyLine},
      {{"--strict"}, 1, counts + kLossyLine},
      {{"-v"},
       0,
       "velmora: " + lossy + ": card 1 (John Doe): property GEO dropped\nvelmora: " + lossy +
           ": card 1 (John Doe): property X-FOO dropped\nvelmora: " + lossy +
           ": card 1 (John Doe): full name \"Johnny\" replaced by the name from N\nvelmora: " +
           lossy + ": card 1 (John Doe): 2 characters not in windows-1252, written as ?\n" +
           counts + kLossyLine},
      {{"-q"}, 0, ""},
  };
  for (const auto& c : kCases) {
    const RunResult r = Run({"convert", lossy, "-o", Temp("out.vcf"), "--vcard-version", "2.1",
                             "--charset", "windows-1252"},
                            c.options);
    EXPECT_EQ(r.exit_code, c.exit) << r.err;
    EXPECT_EQ(r.err, c.err);
  }
  // A card copied as it stands loses nothing.
  RunResult r = Run({"convert", lossy, "-o", Temp("out.vcf"), "--strict"});
  EXPECT_EQ(r.exit_code, 0) << r.err;

  r = Run({"--json", "convert", lossy, "-o", Temp("out.vcf"), "--report", Temp("report.json"),
           "--vcard-version", "2.1", "--charset", "windows-1252"});
  EXPECT_THAT(r.out, HasSubstr("\"report\":{\"propertiesDropped\":2,\"charactersLost\":2,"
                               "\"namesReplaced\":1,\"fieldsNotCarried\":0,"));
  EXPECT_THAT(ReadFile(Temp("report.json")),
              StartsWith("{\"command\":\"convert\",\"events\":[{\"file\":\"" + lossy +
                         "\",\"card\":1,\"name\":\"John Doe\",\"event\":\"property-dropped\","
                         "\"what\":\"GEO\",\"count\":1},"));
}

// The losses of the CSV side: fields with no column, columns kept in the
// notes.
TEST_F(ReportTest, CsvLosses) {
  const std::string four =
      TempFile("four.vcf",
               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Jane;;;\r\nFN:Jane Doe\r\nEMAIL:a@x.org\r\n"
               "EMAIL:b@x.org\r\nEMAIL:c@x.org\r\nEMAIL:d@x.org\r\nEND:VCARD\r\n");
  RunResult r = Run({"convert", four, "-o", Temp("out.csv")});
  EXPECT_THAT(r.err, HasSubstr("velmora: lost: 1 field with no CSV column in 1 card (E-mail 4)\n"));
  r = Run({"convert", four, "-o", Temp("out.csv"), "--csv-dialect", "google"});
  EXPECT_THAT(r.err, Not(HasSubstr("lost:")));

  r = Run({"convert", Corpus("csv-other/tb_csv_semicolon.csv"), "--from", "csv", "--csv-dialect",
           "outlook", "-o", Temp("out.vcf"), "-v"});
  EXPECT_THAT(r.err,
              HasSubstr("tb_csv_semicolon.csv: row 2 (John Doe): column \"Display Name\" kept in "
                        "the notes\n"));
  EXPECT_THAT(r.err, HasSubstr("velmora: lost: 2 columns kept in the notes (Display Name, Primary "
                               "Email)\n"));
}

// A dry run converts, reports and writes nothing, in every output mode.
TEST_F(ReportTest, DryRunWritesNothing) {
  const std::string lossy = TempFile("lossy.vcf", kLossy);
  const std::vector<std::vector<std::string>> kModes = {
      {"-o", Temp("out.vcf"), "--vcard-version", "2.1", "--charset", "windows-1252"},
      {"--split", "--vcard-version", "2.1", "-o", Temp("cards")},
      {"-o", Temp("out.csv")},
      {"--to", "csv", "--split", "-o", Temp("csv-cards")},
  };
  for (const auto& mode : kModes) {
    const RunResult r = Run({"convert", lossy, Sample(kTeam), "--dry-run"}, mode);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("velmora: dry run: nothing was written\n"));
    EXPECT_THAT(r.err, HasSubstr("card 1 (John Doe): property GEO dropped\n"));
    EXPECT_EQ(ListFolder(temp_.path()), (std::vector<std::string>{"home", "lossy.vcf"}));
    EXPECT_TRUE(ListFolder(runner_.TmpFolder()).empty());
  }
}

TEST_F(ReportTest, InputsAndOutputs) {
  std::filesystem::create_directories(Temp("in/sub"));
  WriteFile(Temp("in/a.vcf"), ReadFile(Sample(kTeam)));
  WriteFile(Temp("in/sub/b.vcf"), ReadFile(Sample(kFamily)));
  WriteFile(Temp("in/notes.txt"), "not a card");
  const struct {
    std::vector<std::string> arguments;
    const char* counts;
  } kCases[] = {
      {{Temp("in")}, "5 cards read"},
      {{Temp("in"), "-r"}, "9 cards read"},
      {{"--recursive", Temp("in"), Temp("in/a.vcf")}, "14 cards read"},
  };
  for (const auto& c : kCases) {
    const RunResult r = Run({"convert", "-o", Temp("out/all.vcf")}, c.arguments);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr(c.counts));
  }
  // The output of a first run among the inputs of a second is left out.
  RunResult r = Run({"convert", Temp("in/a.vcf"), Temp("out/all.vcf"), "-o", Temp("out/all.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(r.err, HasSubstr(Temp("out/all.vcf") + ": warning: is also the output; left out\n"));
  EXPECT_EQ(CountOf(ReadFile(Temp("out/all.vcf")), "BEGIN:VCARD"), 5);

  // --split beside files of an earlier run warns; --clean removes them.
  ASSERT_EQ(Run({"convert", Sample(kTeam), "--split", "-o", Temp("cards")}).exit_code, 0);
  r = Run({"convert", Sample(kTeam), "--split", "-o", Temp("cards")});
  EXPECT_THAT(r.err, HasSubstr(Temp("cards") + ": warning: already holds 5 vcf files"));
  EXPECT_EQ(ListFolder(Temp("cards")).size(), 10u);
  r = Run({"convert", Sample(kTeam), "--split", "--clean", "-o", Temp("cards")});
  EXPECT_THAT(r.err, Not(HasSubstr("warning")));
  EXPECT_EQ(ListFolder(Temp("cards")).size(), 5u);
}

// Charsets: 2.1 values without CHARSET read in a chosen one, and the usual
// aliases of the names.
TEST_F(ReportTest, Charsets) {
  const std::string card =
      TempFile("latin.vcf", "BEGIN:VCARD\r\nVERSION:2.1\r\nN:\xC9t\xE9;Ren\xE9\r\nEND:VCARD\r\n");
  RunResult r = Run({"convert", card, "-o", "-"});
  EXPECT_THAT(r.out, HasSubstr("N:\xC3\x89t\xC3\xA9;Ren\xC3\xA9;;;"));
  r = Run({"convert", card, "--input-charset", "windows-1251", "-o", "-"});
  EXPECT_THAT(r.out, HasSubstr("N:\xD0\x99t\xD0\xB9;Ren\xD0\xB9;;;"));
  EXPECT_EQ(Run({"convert", card, "--input-charset", "klingon", "-o", "-"}).exit_code, 2);

  for (const auto& [alias, label] :
       {std::pair{"latin1", "iso-8859-1"}, {"cp1252", "windows-1252"}, {"UTF8", "utf-8"}}) {
    r = Run({"--json", "convert", Sample(kTeam), "--charset", alias, "-o", Temp("out.vcf")});
    EXPECT_EQ(r.exit_code, 0) << alias << r.err;
    EXPECT_THAT(r.out, HasSubstr(std::string("\"charset\":\"") + label + "\"")) << alias << r.out;
  }
}

}  // namespace
}  // namespace velmora::clitest
