// The command as a whole: --version, --help, usage errors, the global options
// log level and name (options after the command: ReportTest, CommandsTest).
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using MainTest = CliTest;

TEST_F(MainTest, VersionAndHelp) {
  RunResult r = Run({"--version"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_TRUE(std::regex_match(r.out, std::regex("velmora [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << r.out;
  EXPECT_EQ(r.err, "");

  r = Run({"--help"});
  EXPECT_EQ(r.exit_code, 0);
  for (const char* text : {"Exit status:", "130  cancelled", "4    the output could not be written",
                           "Zorva/velmora-cli/<name>.log", "--log-level", "--quiet", "--json"}) {
    EXPECT_THAT(r.out, HasSubstr(text)) << text;
  }
  r = Run({"help", "convert"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_THAT(r.out, HasSubstr("--dry-run"));
  for (const char* command : {"convert", "preview", "dedupe", "count", "validate", "encodings"}) {
    r = Run({command, "--help"});
    EXPECT_EQ(r.exit_code, 0) << command;
    EXPECT_THAT(r.out, HasSubstr("Examples:\n  velmora " + std::string(command))) << command << "\n"
                                                                                  << r.out;
  }
}

// Usage errors of every command: exit 2, the reason (and mostly the hint)
// on standard error, nothing on standard output and no file written.
TEST_F(MainTest, UsageErrorsExitWith2) {
  const std::string team = Sample(kTeam);
  const std::string out = Temp("out.vcf"), csv = Temp("out.csv");
  const struct {
    std::vector<std::string> args;
    std::string message;
    bool hint = true;  // "Run 'velmora ... --help'" follows the reason
  } cases[] = {
      {{}, "a command is needed"},
      {{"--log-level", "1", "frobnicate"},
       "unknown command 'frobnicate'; 'velmora --help' lists them"},
      {{"conver", team}, "unknown command 'conver'; did you mean 'convert'?"},
      {{"convert", team}, "--output is required"},
      {{"convert", "-o", out}, "INPUT is required"},
      {{"convert", team, "-o", out, "--charset", "klingon"},
       "unknown charset 'klingon'; 'velmora encodings' lists the supported ones"},
      {{"convert", team, "-o", out, "--codepage", "4242"}, "unknown code page 4242"},
      {{"convert", team, "-o", out, "--charset", "utf-8", "--codepage", "1252"}, "excludes"},
      {{"convert", team, "-o", Temp("out.txt")}, "cannot tell the format of"},
      {{"convert", team, "--split", "-o", "-"}, "--split needs a folder"},
      {{"--json", "convert", team, "-o", "-"}, "cannot both use standard output"},
      {{"convert", team, "-o", out, "--vcard-version", "4.0"}, "--vcard-version"},
      {{"convert", team, "-o", out, "--dedupe", "oldest"}, "--dedupe"},
      {{"convert", team, "-o", out, "--max", "-1"}, "--max"},
      {{"convert", "-", "-", "-o", out}, "standard input (-) can be read only once"},
      // Options of the other output format, unknown names, workbooks.
      {{"convert", team, "-o", csv, "--charset", "utf-8"}, "--charset only for vCard output"},
      {{"convert", team, "-o", csv, "--vcard-version", "2.1", "--codepage", "1252"},
       "--vcard-version, --codepage only for vCard output"},
      {{"convert", team, "-o", out, "--encoding", "utf-16", "--no-bom"},
       "--encoding, --no-bom only for CSV output"},
      {{"convert", team, "-o", out, "--csv-dialect", "google"},
       "--csv-dialect only for CSV output"},
      {{"convert", team, "-o", csv, "--locale", "9999"},
       "unknown Outlook locale '9999'; 'velmora locales'"},
      {{"convert", team, "-o", csv, "--csv-dialect", "google", "--locale", "1031"},
       "--locale is for Outlook CSV only"},
      {{"convert", team, "-o", csv, "--encoding", "klingon"}, "unknown encoding 'klingon'"},
      {{"convert", team, "-o", out, "--separator", "ab"},
       "--separator takes one character, or tab"},
      {{"convert", team, "-o", out, "--input-encoding", "klingon"}, "unknown encoding 'klingon'"},
      {{"convert", team, "-o", out, "--input-locale", "9999"}, "unknown Outlook locale '9999'"},
      {{"convert", team, "-o", out, "--from", "xml"}, "--from: xml not in"},
      {{"convert", team, "-o", Temp("out.xlsb")},
       "writing .xlsm and .xlsb is not supported; save as .xlsx",
       false},
      {{"convert", team, "-o", Temp("out.XLSM")},
       "writing .xlsm and .xlsb is not supported",
       false},
      {{"convert", team, "-o", Temp("out.xlsx"), "--no-bom"},
       "--encoding and --no-bom are for CSV output only"},
      {{"convert", team, "--to", "xls", "--split", "-o", Temp("cards")},
       "--split writes vCard or CSV files"},
      {{"--log-level", "4", "count", team}, "--log-level"},
      {{"--log-name", "../x", "count", team}, "--log-name takes a plain file name"},
      {{"dedupe"}, "--client is required"},
      {{"dedupe", "--client", team, "--method", "none"}, "--method"},
      {{"preview", "--limit", "x", team}, "--limit"},
      {{"count"}, "FILE is required"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.exit_code, 2) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(r.err, HasSubstr(c.message));
    if (c.hint) {
      EXPECT_THAT(r.err, HasSubstr("--help' for more information."));
    }
    EXPECT_EQ(ListFolder(temp_.path()), std::vector<std::string>{"home"});
  }
}

TEST_F(MainTest, LogLevelAndNameReachTheLibrary) {
  const std::filesystem::path registry = runner_.home() / "config" / "registry.ini";
  const std::string level0 = "[Software\\Zorva\\velmora-cli]\n\"LogLevel\"=dword:00000000\n";
  WriteFile(registry, level0);
  const std::string bad = Corpus(kNoBegin);

  // The default name; the level of the registry store: 0 logs no error line.
  RunResult r = Run({"count", bad});
  EXPECT_EQ(r.exit_code, 3);
  const std::string stored = ReadFile(runner_.LogFolder() / "velmora.log");
  EXPECT_THAT(stored, HasSubstr(":LogStart:"));
  EXPECT_THAT(stored, Not(HasSubstr("Err[")));

  // --log-level wins over the store, which stays as it was.
  r = Run({"--log-level", "1", "--log-name", "given", "count", bad});
  EXPECT_EQ(r.exit_code, 3);
  const std::string given = ReadFile(runner_.LogFolder() / "given.log");
  EXPECT_THAT(given, HasSubstr("Err[-1] in CCardDoc.Load"));
  EXPECT_THAT(ReadFile(runner_.LogFolder() / "given.err"), HasSubstr("Err[-1]"));
  EXPECT_EQ(ReadFile(registry), level0);
  EXPECT_TRUE(ListFolder(runner_.TmpFolder()).empty());

  // Level 0 writes no log at all.
  r = Run({"--log-level", "0", "--log-name", "silent", "count", bad});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_FALSE(std::filesystem::exists(runner_.LogFolder() / "silent.log"));
}

}  // namespace
}  // namespace velmora::clitest
