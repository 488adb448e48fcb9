// velmora validate: valid only with a complete card; exit 0 only when every
// file is valid.
#include <gtest/gtest.h>

#include <string>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using ValidateTest = CliTest;

TEST_F(ValidateTest, AllValidExitsWith0) {
  const RunResult r = Run({"validate", Sample(kTeam), Sample(kFamily), Sample(kMixed)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "valid    " + Sample(kTeam) + "\nvalid    " + Sample(kFamily) +
                       "\nvalid    " + Sample(kMixed) + "\n");
}

TEST_F(ValidateTest, NamesWhatIsWrongWithEachFile) {
  WriteFile(Temp("empty.vcf"), " \r\n");
  struct Case {
    std::string file;
    std::string reason;
  };
  const Case cases[] = {
      {Corpus("vcard-malformed/eds_vcard_8.vcf"), "no complete card (BEGIN:VCARD to END:VCARD)"},
      {Corpus("vcard-malformed/fk_Cropped_2_1.vcf"), "no complete card (BEGIN:VCARD to END:VCARD)"},
      {TempCsv(),
       "no complete card (BEGIN:VCARD to END:VCARD)"},
      {Corpus("vcard-malformed/fk_Empty_bom_only.vcf"), "empty"},
      {Temp("empty.vcf"), "empty"},
      {Temp("missing.vcf"), "cannot read: No such file or directory"},
  };
  for (const Case& c : cases) {
    const RunResult r = Run({"validate", Sample(kMixed), c.file});
    EXPECT_EQ(r.exit_code, 3) << c.file;
    EXPECT_EQ(r.out, "valid    " + Sample(kMixed) + "\ninvalid  " + c.file + ": " + c.reason + "\n");
  }
}

TEST_F(ValidateTest, JsonCountsValidAndInvalidFiles) {
  const RunResult r = Run({"validate", "--json", Sample(kTeam),
                           Corpus("vcard-malformed/eds_vcard_9.vcf"),
                           Corpus("vcard-malformed/aosp_v21_nest.vcf")});
  EXPECT_EQ(r.exit_code, 3);
  const JsonValue json = Json(r.out);
  EXPECT_EQ(json["command"].string, "validate");
  EXPECT_EQ(json["valid"].number, 2);
  EXPECT_EQ(json["invalid"].number, 1);
  ASSERT_EQ(json["files"].size(), 3u);
  EXPECT_TRUE(json["files"][0]["valid"].boolean);
  EXPECT_FALSE(json["files"][1]["valid"].boolean);
  EXPECT_EQ(json["files"][1]["reason"].string, "no complete card (BEGIN:VCARD to END:VCARD)");
  EXPECT_FALSE(json["files"][2].Has("reason"));
}

TEST_F(ValidateTest, ValidatesStandardInput) {
  RunOptions options;
  options.stdin_file = Sample(kFamily);
  const RunResult r = Run({"validate", "-"}, options);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "valid    standard input\n");
}

}  // namespace
}  // namespace velmora::clitest
