// velmora dedupe: cards to add, cards to overwrite with the server card's
// position, client duplicates, both methods, output to a file and JSON.
#include <gtest/gtest.h>

#include <string>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using DedupeTest = CliTest;

TEST_F(DedupeTest, PrintsCardsToAddThenCardsToOverwrite) {
  // mixed.vcf against team: Jürgen (2024-05) is newer than the server's
  // (2024-03) and replaces server card 1; Emile (2021) is older than the
  // server's (2022) and is a duplicate; the pharmacy and Yui are new.
  const RunResult r = Run({"dedupe", "--client", Sample(kMixed), "--server", Sample(kTeam)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err,
            "velmora: 4 cards read, 5 server cards, 2 to add, 1 to overwrite, "
            "1 client duplicates\n");
  EXPECT_EQ(CountOf(r.out, "BEGIN:VCARD"), 3);
  const std::size_t pharmacy = r.out.find("FN:Northgate Pharmacy");
  const std::size_t yui = r.out.find("FN:Yui Tanaka");
  const std::size_t juergen = r.out.find("FN:J\xC3\xBCrgen Wei\xC3\x9F");
  ASSERT_NE(juergen, std::string::npos);
  EXPECT_LT(pharmacy, yui);
  EXPECT_LT(yui, juergen);
  EXPECT_EQ(r.out.find("Emile"), std::string::npos);
  // Only the card to overwrite carries the position, just before its END.
  EXPECT_EQ(CountOf(r.out, "X-VELMORA-SERVER-POSITION"), 1);
  EXPECT_NE(r.out.find("REV:2024-05-21T10:00:00Z\r\nX-VELMORA-SERVER-POSITION:1\r\nEND:VCARD\r\n"),
            std::string::npos)
      << r.out;
}

TEST_F(DedupeTest, JsonReportsPositionsAndDuplicates) {
  const RunResult r =
      Run({"--json", "dedupe", "--client", Sample(kMixed), "--server", Sample(kTeam)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const JsonValue json = Json(r.out);
  EXPECT_EQ(json["command"].string, "dedupe");
  EXPECT_EQ(json["method"].string, "newest");
  EXPECT_EQ(json["read"].number, 4);
  EXPECT_EQ(json["serverCards"].number, 5);
  EXPECT_EQ(json["toAdd"].number, 2);
  EXPECT_EQ(json["toOverwrite"].number, 1);
  EXPECT_EQ(json["clientDuplicates"].number, 1);
  ASSERT_EQ(json["cardsToAdd"].size(), 2u);
  EXPECT_EQ(json["cardsToAdd"][0]["fileAs"].string, "Pharmacy, Northgate");
  EXPECT_EQ(json["cardsToAdd"][1]["fullName"].string, "Yui Tanaka");
  ASSERT_EQ(json["cardsToOverwrite"].size(), 1u);
  EXPECT_EQ(json["cardsToOverwrite"][0]["serverPosition"].number, 1);
  EXPECT_EQ(json["cardsToOverwrite"][0]["fileAs"].string, "Wei\xC3\x9F, J\xC3\xBCrgen");
}

TEST_F(DedupeTest, KeepOriginalKeepsEveryServerCard) {
  const RunResult r = Run({"--json", "dedupe", "--client", Sample(kMixed), "--server",
                           Sample(kTeam), "--method", "keep-original"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const JsonValue json = Json(r.out);
  EXPECT_EQ(json["toAdd"].number, 2);
  EXPECT_EQ(json["toOverwrite"].number, 0);
  EXPECT_EQ(json["clientDuplicates"].number, 2);
}

TEST_F(DedupeTest, WithoutServerDropsDuplicatesAmongTheClientCards) {
  WriteFile(Temp("both.vcf"), ReadFile(Sample(kTeam)) + ReadFile(Sample(kMixed)));
  const RunResult r = Run({"dedupe", "--client", Temp("both.vcf"), "-o", Temp("out.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "velmora: 9 cards read, 0 server cards, 7 to add, 0 to overwrite, "
            "2 client duplicates\n");
  const std::string out = ReadFile(Temp("out.vcf"));
  EXPECT_EQ(CountOf(out, "BEGIN:VCARD"), 7);
  EXPECT_NE(out.find("Director of Firmware"), std::string::npos);
  EXPECT_EQ(out.find("Head of Firmware"), std::string::npos);
}

TEST_F(DedupeTest, FileOutputEqualsPrintedOutput) {
  RunOptions options;
  options.stdin_file = Sample(kMixed);
  const RunResult printed =
      Run({"dedupe", "--client", "-", "--server", Sample(kTeam)}, options);
  WriteFile(Temp("out.vcf"), "old\n");
  const RunResult written =
      Run({"dedupe", "--client", Sample(kMixed), "--server", Sample(kTeam), "-o", Temp("out.vcf")});
  EXPECT_EQ(printed.exit_code, 0) << printed.err;
  EXPECT_EQ(written.exit_code, 0) << written.err;
  EXPECT_EQ(ReadFile(Temp("out.vcf")), printed.out);
}

TEST_F(DedupeTest, ExitStatuses) {
  WriteFile(Temp("empty.vcf"), "");
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string message;
  };
  const Case cases[] = {
      {{"dedupe", "--client", Temp("missing.vcf")}, 3, "missing.vcf: cannot read"},
      {{"dedupe", "--client", Sample(kMixed), "--server", Corpus("vcard-malformed/eds_vcard_9.vcf")},
       3, "eds_vcard_9.vcf: not a vCard file"},
      {{"dedupe", "--client", Temp("empty.vcf")}, 1, "empty, no cards"},
      {{"dedupe", "--client", Sample(kMixed), "--server", Temp("empty.vcf")}, 1,
       "empty, no cards"},
      {{"dedupe", "--client", Sample(kMixed), "-o", Temp("out.csv")}, 2, "not supported yet"},
      {{"dedupe", "--client", Sample(kMixed), "-o", Temp("no/folder/out.vcf")}, 4,
       "out.vcf: cannot write: No such file or directory"},
  };
  for (const Case& c : cases) {
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.exit_code, c.exit_code) << c.args.back() << "\n" << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace velmora::clitest
