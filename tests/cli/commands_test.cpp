// The commands that report on cards: count, validate, preview, dedupe and
// encodings. Their text and --json output byte for byte, standard input, and
// their exit statuses; what they find in the cards is the library's.
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using CommandsTest = CliTest;

TEST_F(CommandsTest, CountPrintsEachFileAndTheTotal) {
  RunResult r = RunWithInput(Sample(kTeam), {"count", Sample(kFamily), "-", Sample(kMixed)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, " 4  " + Sample(kFamily) + "\n 5  standard input\n 4  " + Sample(kMixed) +
                       "\n13  total\n");
  EXPECT_EQ(r.err, "");
  // One file: no total line; no cards anywhere: exit 1.
  const std::string empty = TempFile("empty.vcf", "");
  r = Run({"count", empty});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "0  " + empty + "\n");
}

TEST_F(CommandsTest, CountJsonListsCardsOrErrors) {
  const std::string empty = TempFile("empty.vcf", "");
  const RunResult r =
      Run({"--json", "count", Sample(kTeam), Temp("missing.vcf"), Corpus(kNoBegin), empty});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_EQ(r.out, "{\"command\":\"count\",\"exit\":3,\"cancelled\":false,\"files\":[{\"file\":\"" +
                       Sample(kTeam) + "\",\"cards\":5},{\"file\":\"" + Temp("missing.vcf") +
                       "\",\"error\":\"cannot read: no such file\",\"status\":\"0x80070002\"},"
                       "{\"file\":\"" +
                       Corpus(kNoBegin) +
                       "\",\"error\":\"not a vCard file: no "
                       "complete card (BEGIN:VCARD to END:VCARD)\",\"status\":\"0xFFFFFFFF\"},"
                       "{\"file\":\"" +
                       empty + "\",\"cards\":0}],\"total\":5}\n");
}

TEST_F(CommandsTest, ValidateNamesWhatIsWrongWithEachFile) {
  RunResult r = RunWithInput(Sample(kFamily), {"validate", Sample(kTeam), "-"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "valid    " + Sample(kTeam) + "\nvalid    standard input\n");
  // A whole card, then one cut off: valid, with the loss named (exit 1).
  const std::string cut = TempFile(
      "cut.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:B\r\n");
  r = Run({"validate", cut});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out,
            "valid    " + cut + ": but 1 card has no END:VCARD (cut off?) and is left out\n");

  const struct {
    std::string file;
    std::string reason;
  } cases[] = {
      {Corpus(kNoBegin), "no complete card (BEGIN:VCARD to END:VCARD)"},
      {TempFile("contacts.csv", kCsv), "no complete card (BEGIN:VCARD to END:VCARD)"},
      {Corpus(kBomOnly), "empty"},
      {TempFile("blank.vcf", " \r\n"), "empty"},
      {Temp("missing.vcf"), "cannot read: No such file or directory"},
  };
  for (const auto& c : cases) {
    r = Run({"validate", Sample(kMixed), c.file});
    EXPECT_EQ(r.exit_code, 3) << c.file;
    EXPECT_EQ(r.out,
              "valid    " + Sample(kMixed) + "\ninvalid  " + c.file + ": " + c.reason + "\n");
  }

  r = Run({"validate", "--json", Sample(kTeam), Corpus(kNoEnd)});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_EQ(r.out,
            "{\"command\":\"validate\",\"exit\":3,\"cancelled\":false,\"files\":[{\"file\":\"" +
                Sample(kTeam) + "\",\"valid\":true,\"cutOff\":0},{\"file\":\"" + Corpus(kNoEnd) +
                "\",\"valid\":false,\"reason\":\"no complete card (BEGIN:VCARD to "
                "END:VCARD)\"}],\"valid\":1,\"invalid\":1}\n");
}

TEST_F(CommandsTest, PreviewPrintsAnAlignedTable) {
  RunResult r = Run({"preview", Sample(kFamily)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "#  FILE AS               FULL NAME            COMPANY                     "
            "E-MAIL                       PHONE\n"
            "1  Okafor, Marta         Marta Okafor         Lakeside Veterinary Clinic  "
            "marta.okafor@mail.example    +44 7700 900123\n"
            "2  Okafor, Daniel Chidi  Daniel Chidi Okafor  Severn Rail Signalling Ltd  "
            "d.okafor@severnrail.example  +44 7700 900456\n"
            "3  Okafor, Lina          Lina Okafor                                      "
            "lina.o@school.example        +44 7700 900789\n"
            "4  Halvorsen, Ruth       Ruth Halvorsen                                   "
            "                             +44 1225 960888\n");
  EXPECT_EQ(r.err, "");

  // East Asian wide characters take two columns each; U+AC00 and U+F900
  // open their ranges.
  const std::string wide =
      TempFile("wide.vcf",
               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:\xEA\xB0\x80;\xEA\xB0\x80\xEF\xA4\x80;;;\r\n"
               "FN:\xEA\xB0\x80\xEF\xA4\x80 \xEA\xB0\x80\r\nTEL:1\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\nTEL:2\r\n"
               "END:VCARD\r\n");
  EXPECT_EQ(Run({"preview", wide}).out,
            "#  FILE AS   FULL NAME  COMPANY  E-MAIL  PHONE\n"
            "1  \xEA\xB0\x80, \xEA\xB0\x80\xEF\xA4\x80  \xEA\xB0\x80\xEF\xA4\x80 \xEA\xB0\x80"
            "                     1\n"
            "2  Lee, Ann  Ann Lee                     2\n");

  // Several files add a FILE column, cut from the left to 32 columns;
  // columns are counted in characters, not bytes ("Lefèvre, Zoë" is 12
  // columns in 14 bytes); --limit counts across the files.
  const std::string team = Sample(kTeam);
  const std::string family = Sample(kFamily);
  r = Run({"preview", "--limit", "6", team, family});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(r.out,
              StartsWith("FILE                              #  FILE AS           FULL NAME  "));
  std::string row = "\n\xE2\x80\xA6" + team.substr(team.size() - 31);
  row += "  2  Lef\xC3\xA8vre, Zo\xC3\xAB      Zo\xC3\xAB Lef\xC3\xA8vre          Brightwater ";
  EXPECT_THAT(r.out, HasSubstr(row));
  row = "\n\xE2\x80\xA6" + family.substr(family.size() - 31);
  row += "  1  Okafor, Marta     Marta Okafor  ";
  EXPECT_THAT(r.out, HasSubstr(row));
  EXPECT_EQ(CountOf(r.out, "\n"), 7);
}

TEST_F(CommandsTest, PreviewJsonHasEveryField) {
  const RunResult r = RunWithInput(Sample(kFamily), {"preview", "--json", "--limit", "2", "-"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(
      r.out,
      StartsWith("{\"command\":\"preview\",\"exit\":0,\"cancelled\":false,\"cards\":[{"
                 "\"file\":\"standard input\",\"index\":1,\"fileAs\":\"Okafor, Marta\","
                 "\"fullName\":\"Marta Okafor\",\"company\":\"Lakeside Veterinary Clinic\","
                 "\"jobTitle\":\"Veterinarian\",\"emails\":[\"marta.okafor@mail.example\"],"
                 // E-mails and phones as arrays; the others as the preview joins them.
                 "\"phones\":[\"+44 7700 900123\",\"+44 1632 960412\"],\"addresses\":\"14 Willow "
                 "Crescent Bath BA2 4QT United Kingdom\",\"impps\":\"\",\"notes\":\"\","
                 "\"vcard\":\"BEGIN:VCARD\\r\\nVERSION:3.0\\r\\n"));
  EXPECT_THAT(r.out,
              HasSubstr("\"notes\":\"Allergic to penicillin. Collects railway timetables from "
                        "before 1970.\",\"vcard\":\"BEGIN:VCARD\\r\\n"));
  EXPECT_EQ(CountOf(r.out, "\"index\":"), 2);
  EXPECT_TRUE(r.out.ends_with("END:VCARD\\r\\n\"}]}\n")) << r.out;
}

TEST_F(CommandsTest, PreviewGoesOnPastBadFiles) {
  RunResult r = Run({"--json", "preview", Temp("missing.vcf"), Sample(kMixed),
                     Corpus("vcard-malformed/eds_vcard_7.vcf")});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_THAT(r.err, HasSubstr(Temp("missing.vcf") + ": cannot read"));
  EXPECT_THAT(r.err, HasSubstr("eds_vcard_7.vcf: not a vCard file"));
  EXPECT_THAT(r.out, StartsWith("{\"command\":\"preview\",\"exit\":3,"));
  EXPECT_EQ(CountOf(r.out, "\"index\":"), 4);

  r = Run({"preview", TempFile("empty.vcf", "\r\n\r\n")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_THAT(r.err, HasSubstr("warning: empty, no cards"));
}

// mixed.vcf against team: Jürgen (2024-05) is newer than the server's
// (2024-03) and replaces server card 1; Emile (2021) is older than the
// server's (2022) and is a duplicate; the pharmacy and Yui are new.
TEST_F(CommandsTest, DedupePrintsCardsToAddThenCardsToOverwrite) {
  const RunResult printed =
      RunWithInput(Sample(kMixed), {"dedupe", "--client", "-", "--server", Sample(kTeam)});
  EXPECT_EQ(printed.exit_code, 0) << printed.err;
  // The pharmacy has no REV: newest cannot date it, and says so.
  EXPECT_EQ(printed.err,
            "velmora: standard input: warning: 1 card has no REV, so --method newest adds them "
            "whatever the server holds; --method keep-original compares them by content\n"
            "velmora: 4 cards read, 5 server cards, 2 to add, 1 to overwrite, "
            "1 client duplicates\n");
  EXPECT_EQ(CountOf(printed.out, "BEGIN:VCARD"), 3);
  const std::size_t pharmacy = printed.out.find("FN:Northgate Pharmacy");
  const std::size_t yui = printed.out.find("FN:Yui Tanaka");
  const std::size_t juergen = printed.out.find("FN:J\xC3\xBCrgen Wei\xC3\x9F");
  ASSERT_NE(juergen, std::string::npos);
  EXPECT_LT(pharmacy, yui);
  EXPECT_LT(yui, juergen);
  // Only the card to overwrite carries the position, just before its END.
  EXPECT_EQ(CountOf(printed.out, "X-VELMORA-SERVER-POSITION"), 1);
  EXPECT_THAT(
      printed.out,
      HasSubstr("REV:2024-05-21T10:00:00Z\r\nX-VELMORA-SERVER-POSITION:1\r\nEND:VCARD\r\n"));

  WriteFile(Temp("out.vcf"), "old\n");
  const RunResult written =
      Run({"dedupe", "--client", Sample(kMixed), "--server", Sample(kTeam), "-o", Temp("out.vcf")});
  EXPECT_EQ(written.exit_code, 0) << written.err;
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(ReadFile(Temp("out.vcf")), printed.out);
}

TEST_F(CommandsTest, DedupeJson) {
  const std::string head =
      "{\"command\":\"dedupe\",\"exit\":0,\"cancelled\":false,\"read\":4,\"serverCards\":5,";
  const std::string to_add =
      "\"cardsToAdd\":[{\"fileAs\":\"Pharmacy, Northgate\",\"fullName\":\"Northgate Pharmacy\"},"
      "{\"fileAs\":\"Tanaka, Yui\",\"fullName\":\"Yui Tanaka\"}]";
  RunResult r = Run({"--json", "dedupe", "--client", Sample(kMixed), "--server", Sample(kTeam)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err.find("no REV"), r.err.rfind("no REV"));  // the one warning, on stderr
  EXPECT_EQ(r.out, head +
                       "\"toAdd\":2,\"toOverwrite\":1,\"clientDuplicates\":1,\"files\":[],"
                       "\"method\":\"newest\"," +
                       to_add +
                       ",\"cardsToOverwrite\":[{"
                       "\"serverPosition\":1,\"fileAs\":\"Wei\xC3\x9F, J\xC3\xBCrgen\","
                       "\"fullName\":\"J\xC3\xBCrgen Wei\xC3\x9F\"}]}\n");
  r = Run({"--json", "dedupe", "--client", Sample(kMixed), "--server", Sample(kTeam), "--method",
           "keep-original"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, head +
                       "\"toAdd\":2,\"toOverwrite\":0,\"clientDuplicates\":2,\"files\":[],"
                       "\"method\":\"keep-original\"," +
                       to_add + ",\"cardsToOverwrite\":[]}\n");
}

TEST_F(CommandsTest, DedupeExitStatuses) {
  const std::string empty = TempFile("empty.vcf", "");
  const struct {
    std::vector<std::string> args;
    int exit_code;
    std::string message;
  } cases[] = {
      {{"--client", Temp("missing.vcf")}, 3, "missing.vcf: cannot read"},
      {{"--client", Sample(kMixed), "--server", Corpus(kNoEnd)},
       3,
       "eds_vcard_9.vcf: not a vCard file"},
      {{"--client", empty}, 1, "empty, no cards"},
      {{"--client", Sample(kMixed), "--server", empty}, 1, "empty, no cards"},
      {{"--client", Sample(kMixed), "-o", Temp("out.csv")}, 2, "not supported yet"},
      {{"--client", Sample(kMixed), "-o", Temp("no/folder/out.vcf")},
       4,
       "out.vcf: cannot write: No such file or directory"},
  };
  for (const auto& c : cases) {
    const RunResult r = Run({"dedupe"}, c.args);
    EXPECT_EQ(r.exit_code, c.exit_code) << c.args.back() << "\n" << r.err;
    EXPECT_THAT(r.err, HasSubstr(c.message));
  }
}

TEST_F(CommandsTest, EncodingsListsNameCharsetAndCodePage) {
  RunResult r = Run({"encodings"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(r.out, StartsWith("ENCODING "));
  EXPECT_TRUE(std::regex_search(
      r.out, std::regex("\nWestern European \\(Windows\\) +windows-1252 +1252\n")))
      << r.out;
  // Columns line up: the charset starts at the column of CHARSET.
  const std::size_t column = r.out.find("CHARSET");
  EXPECT_EQ(r.out.find("utf-8") - r.out.find("\nUTF-8") - 1, column);
  // Hidden entries only with --all.
  const RunResult all = Run({"encodings", "--all"});
  EXPECT_GT(CountOf(all.out, "\n"), CountOf(r.out, "\n"));

  r = Run({"--json", "encodings"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(r.out,
              StartsWith("{\"command\":\"encodings\",\"exit\":0,\"encodings\":[{\"name\":\"UTF-8\","
                         "\"charset\":\"utf-8\",\"codePage\":65001,\"visible\":true,"
                         "\"systemLocale\":false},"));
  EXPECT_THAT(r.out, HasSubstr("\"charset\":null,\"codePage\":null,"));

  r = Run({"encodings", "--file", Temp("missing.txt")});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_THAT(r.err, HasSubstr("missing.txt: cannot read the encodings list"));
  EXPECT_THAT(r.err, HasSubstr("(status 0x80070002)"));
}

}  // namespace
}  // namespace velmora::clitest
