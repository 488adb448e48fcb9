// The command as a whole: --version, --help, usage errors, the global options
// (JSON anywhere on the line, quiet, log level and name).
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
    EXPECT_NE(r.out.find(text), std::string::npos) << text;
  }
  for (const char* command : {"convert", "preview", "dedupe", "count", "validate", "encodings"}) {
    r = Run({command, "--help"});
    EXPECT_EQ(r.exit_code, 0) << command;
    EXPECT_NE(r.out.find("Examples:\n  velmora " + std::string(command)), std::string::npos)
        << command << "\n"
        << r.out;
  }
}

TEST_F(MainTest, UsageErrorsExitWith2) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::string team = Sample(kTeam);
  const std::string out = Temp("out.vcf");
  const Case cases[] = {
      {{}, "a command is needed"},
      {{"frobnicate"}, "frobnicate"},
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
      {{"--log-level", "4", "count", team}, "--log-level"},
      {{"--log-name", "../x", "count", team}, "--log-name takes a plain file name"},
      {{"dedupe"}, "--client is required"},
      {{"dedupe", "--client", team, "--method", "none"}, "--method"},
      {{"preview", "--limit", "x", team}, "--limit"},
      {{"count"}, "FILE is required"},
  };
  for (const Case& c : cases) {
    const RunResult r = Run(c.args);
    const std::string line = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(r.exit_code, 2) << line << "\n" << r.err;
    EXPECT_EQ(r.out, "") << line;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << line << "\n" << r.err;
    EXPECT_NE(r.err.find("--help' for more information."), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(MainTest, GlobalOptionsMayFollowTheCommand) {
  const RunResult before = Run({"--json", "count", Sample(kTeam)});
  const RunResult after = Run({"count", Sample(kTeam), "--json"});
  EXPECT_EQ(before.exit_code, 0);
  EXPECT_EQ(after.out, before.out);
  EXPECT_EQ(after.out,
            "{\"command\":\"count\",\"exit\":0,\"cancelled\":false,\"files\":[{\"file\":\"" +
                Sample(kTeam) + "\",\"cards\":5}],\"total\":5}\n");
  const RunResult quiet = Run({"convert", Sample(kTeam), "-o", Temp("out.vcf"), "-q"});
  EXPECT_EQ(quiet.exit_code, 0);
  EXPECT_EQ(quiet.err, "");
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
  EXPECT_NE(stored.find(":LogStart:"), std::string::npos);
  EXPECT_EQ(stored.find("Err["), std::string::npos) << stored;

  // --log-level wins over the store, which stays as it was.
  r = Run({"--log-level", "1", "--log-name", "given", "count", bad});
  EXPECT_EQ(r.exit_code, 3);
  const std::string given = ReadFile(runner_.LogFolder() / "given.log");
  EXPECT_NE(given.find("Err[-1] in CCardDoc.Load"), std::string::npos) << given;
  EXPECT_NE(ReadFile(runner_.LogFolder() / "given.err").find("Err[-1]"), std::string::npos);
  EXPECT_EQ(ReadFile(registry), level0);
  EXPECT_TRUE(ListFolder(runner_.TmpFolder()).empty());

  // Level 0 writes no log at all.
  r = Run({"--log-level", "0", "--log-name", "silent", "count", bad});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_FALSE(std::filesystem::exists(runner_.LogFolder() / "silent.log"));
}

}  // namespace
}  // namespace velmora::clitest
