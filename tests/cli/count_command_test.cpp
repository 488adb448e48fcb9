// velmora count: per file and total, as text and JSON, and its exit
// statuses.
#include <gtest/gtest.h>

#include <string>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using CountTest = CliTest;

TEST_F(CountTest, CountsEachFileAndTheTotal) {
  const RunResult r = Run({"count", Sample(kFamily), Sample(kMixed), Sample(kTeam)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, " 4  " + Sample(kFamily) + "\n 4  " + Sample(kMixed) + "\n 5  " +
                       Sample(kTeam) + "\n13  total\n");
  EXPECT_EQ(r.err, "");
  // One file: no total line.
  EXPECT_EQ(Run({"count", Sample(kTeam)}).out, "5  " + Sample(kTeam) + "\n");
}

TEST_F(CountTest, JsonListsFilesWithCardsOrErrors) {
  WriteFile(Temp("empty.vcf"), "");
  const RunResult r = Run({"--json", "count", Sample(kTeam), Temp("missing.vcf"),
                           Corpus("vcard-malformed/eds_vcard_8.vcf"), Temp("empty.vcf"),
                           Corpus("vcard21/aosp_v21_multiple_entry.vcf")});
  EXPECT_EQ(r.exit_code, 3);
  const JsonValue json = Json(r.out);
  EXPECT_EQ(json["command"].string, "count");
  EXPECT_EQ(json["exit"].number, 3);
  ASSERT_EQ(json["files"].size(), 5u);
  EXPECT_EQ(json["files"][0]["cards"].number, 5);
  EXPECT_EQ(json["files"][1]["error"].string, "cannot read: no such file");
  EXPECT_EQ(json["files"][1]["status"].string, "0x80070002");
  EXPECT_FALSE(json["files"][1].Has("cards"));
  EXPECT_EQ(json["files"][2]["status"].string, "0xFFFFFFFF");
  EXPECT_EQ(json["files"][3]["cards"].number, 0);
  EXPECT_EQ(json["files"][4]["cards"].number, 3);
  EXPECT_EQ(json["total"].number, 8);
}

TEST_F(CountTest, NoCardsAnywhereExitsWith1) {
  WriteFile(Temp("empty.vcf"), "");
  const RunResult r = Run({"count", Temp("empty.vcf")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "0  " + Temp("empty.vcf") + "\n");
}

TEST_F(CountTest, CountsStandardInput) {
  RunOptions options;
  options.stdin_file = Sample(kTeam);
  const RunResult r = Run({"count", "-", Sample(kMixed)}, options);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,("5  standard input\n4  " + Sample(kMixed) + "\n9  total\n"));
}

}  // namespace
}  // namespace velmora::clitest
