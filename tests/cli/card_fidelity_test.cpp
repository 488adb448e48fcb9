// The command keeps every contact it reads: cards cut off at the end of a
// file reported by every subcommand, and copied cards as clean as written
// ones.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using CardFidelityTest = CliTest;

TEST_F(CardFidelityTest, EverySubcommandReportsACutOffCard) {
  WriteFile(Temp("cut.vcf"),
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bob\r\nTEL:555\r\n");
  const std::string warning = "velmora: " + Temp("cut.vcf") +
                              ": warning: 1 card has no END:VCARD (cut off?) and is skipped\n";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"convert", Temp("cut.vcf"), "-o", Temp("out.vcf")},
        std::vector<std::string>{"count", Temp("cut.vcf")},
        std::vector<std::string>{"preview", Temp("cut.vcf")},
        std::vector<std::string>{"dedupe", "--client", Temp("cut.vcf"), "-o",
                                 Temp("dedupe.vcf")}}) {
    const RunResult r = Run(args);
    EXPECT_EQ(r.exit_code, 1) << args[0] << ": " << r.err;
    EXPECT_THAT(r.err, HasSubstr(warning)) << args[0] << ": " << r.err;
  }
}

// A 3.0 UTF-8 card copied as it stands: its LF and CR CR LF line ends come
// out as CR LF; one whose fold splits a character is written anew.
TEST_F(CardFidelityTest, CopiedCardsAreCleanUtf8WithCrLf) {
  WriteFile(Temp("in.vcf"),
            "BEGIN:VCARD\nVERSION:3.0\nFN:Ann\r\r\nN:A;;;;\nEND:VCARD\n"
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\r\nN:J\xC3\r\n \xBCrgen;;;;\r\nEND:VCARD\r\n");
  const RunResult r = Run({"convert", Temp("in.vcf"), "-o", Temp("out.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::string out = ReadFile(Temp("out.vcf"));
  EXPECT_EQ(CountOf(out, "\n"), CountOf(out, "\r\n")) << out;
  EXPECT_EQ(CountOf(out, "\r\r"), 0) << out;
  EXPECT_THAT(out, HasSubstr("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nN:A;;;;\r\nEND:VCARD\r\n"));
  EXPECT_THAT(out, HasSubstr("N:J\xC3\xBCrgen;;;;\r\n"));
  EXPECT_THAT(out, Not(HasSubstr("\xC3\r\n")));
  EXPECT_THAT(r.err, HasSubstr("1 written, 1 copied"));
}

}  // namespace
}  // namespace velmora::clitest
