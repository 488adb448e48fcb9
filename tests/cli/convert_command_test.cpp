// velmora convert run as a subprocess: its options (version, charset, split,
// dedupe, max, target format), several inputs, standard input and output,
// the replacement of an existing output, the summary and every exit status.
// What the conversion does to the cards is the library's, tested in process.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using ConvertTest = CliTest;

TEST_F(ConvertTest, WritesVersion30InUtf8ByDefault) {
  const RunResult r = Run({"convert", Sample(kTeam), "-o", Temp("out.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "velmora: 5 cards read, 5 written, 0 copied, 0 skipped, 0 errors\n");
  const std::string out = ReadFile(Temp("out.vcf"));
  EXPECT_EQ(CountOf(out, "\r\nVERSION:3.0\r\n"), 5);
  EXPECT_THAT(out, HasSubstr("\r\nFN:J\xC3\xBCrgen Wei\xC3\x9F\r\n"));
  // --to vcard writes vCard whatever the name.
  EXPECT_EQ(Run({"convert", Sample(kTeam), "--to", "vcard", "-o", Temp("out.txt")}).exit_code, 0);
  EXPECT_EQ(ReadFile(Temp("out.txt")), out);
}

// The charset by name, display name or code page, with --json's summary.
TEST_F(ConvertTest, WritesVersion21InTheChosenCharset) {
  const std::vector<std::vector<std::string>> ways = {
      {"--charset", "windows-1252"},
      {"--charset", "WINDOWS-1252"},
      {"--charset", "western european (windows)"},
      {"--codepage", "1252"},
  };
  std::string first;
  for (const auto& way : ways) {
    const RunResult r =
        Run({"--json", "convert", Sample(kMixed), "--vcard-version", "2.1", "-o", Temp("out.vcf")},
            way);
    EXPECT_EQ(r.exit_code, 0) << way[1] << ": " << r.err;
    // The whole summary is StandardInputAndOutputGiveTheFileResult's.
    EXPECT_THAT(r.out, HasSubstr("\"read\":4,\"written\":4,"));
    EXPECT_THAT(r.out,
                HasSubstr("\"version\":\"2.1\",\"charset\":\"windows-1252\",\"codePage\":1252,"
                          "\"dryRun\":false,\"report\":{\"propertiesDropped\":0,"
                          "\"charactersLost\":5,"))
        << way[1];
    const std::string out = ReadFile(Temp("out.vcf"));
    if (first.empty()) first = out;
    EXPECT_EQ(out, first) << way[1];
  }
  // "Weiß" in windows-1252 (quoted-printable), not in UTF-8.
  EXPECT_EQ(CountOf(first, "\r\nVERSION:2.1\r\n"), 4);
  EXPECT_THAT(first, HasSubstr("Wei=DF"));
  EXPECT_THAT(first, Not(HasSubstr("=C3=9F")));
}

TEST_F(ConvertTest, StandardInputAndOutputGiveTheFileResult) {
  const RunResult file = Run({"--json", "convert", Sample(kMixed), "-o", Temp("out.vcf")});
  ASSERT_EQ(file.exit_code, 0) << file.err;
  EXPECT_EQ(file.err, "");
  EXPECT_EQ(file.out,
            "{\"command\":\"convert\",\"exit\":0,\"cancelled\":false,\"read\":4,"
            "\"written\":1,\"copied\":3,\"skipped\":0,\"errors\":0,\"output\":\"" +
                Temp("out.vcf") + "\",\"files\":[\"" + Temp("out.vcf") +
                "\"],\"format\":\"vcard\",\"version\":\"3.0\",\"charset\":\"utf-8\","
                "\"codePage\":65001,\"dryRun\":false,\"report\":{\"propertiesDropped\":0,"
                "\"charactersLost\":0,\"namesReplaced\":0,\"fieldsNotCarried\":0,"
                "\"columnsToNotes\":0,\"valuesNotRead\":0,\"cardsCutOff\":0,"
                "\"filesFailed\":0},\"failures\":[]}\n");
  const RunResult piped = RunWithInput(Sample(kMixed), {"convert", "-", "-o", "-"});
  EXPECT_EQ(piped.exit_code, 0) << piped.err;
  EXPECT_EQ(piped.out, ReadFile(Temp("out.vcf")));
  EXPECT_EQ(piped.err, "velmora: 4 cards read, 1 written, 3 copied, 0 skipped, 0 errors\n");
  // The copy of standard input is gone.
  EXPECT_TRUE(ListFolder(runner_.TmpFolder()).empty());

  // Standard input is copied as bytes: UTF-16 survives it.
  const RunResult utf16 =
      RunWithInput(Corpus("vcard30/roundcube_utf-16_sample.vcf"), {"convert", "-", "-o", "-"});
  EXPECT_EQ(utf16.exit_code, 0) << utf16.err;
  EXPECT_EQ(CountOf(utf16.out, "BEGIN:VCARD"), 1);
  EXPECT_EQ(utf16.out.find('\0'), std::string::npos);
}

TEST_F(ConvertTest, ConcatenatesSeveralInputsInOrder) {
  const RunResult r = RunWithInput(
      Sample(kMixed), {"convert", Sample(kTeam), "-", Sample(kFamily), "-o", Temp("all.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  // The 3.0 UTF-8 cards of mixed.vcf and family.vcf are already in the target.
  EXPECT_EQ(r.err, "velmora: 13 cards read, 6 written, 7 copied, 0 skipped, 0 errors\n");
  const std::string out = ReadFile(Temp("all.vcf"));
  EXPECT_EQ(CountOf(out, "BEGIN:VCARD"), 13);
  std::size_t last = 0;
  for (const char* name : {"FN:Emile Brault", "FN:Northgate", "FN:Yui", "FN:Marta", "FN:Ruth"}) {
    const std::size_t at = out.find(name, last);
    EXPECT_NE(at, std::string::npos) << name;
    last = at;
  }
}

// --split writes one file per card into the folder; --json lists them in
// card order (the names and their numbering are the library's).
TEST_F(ConvertTest, SplitListsTheFilesItWrote) {
  const std::string folder = Temp("cards");
  RunResult r = Run({"convert", Sample(kTeam), "--split", "--vcard-version", "2.1", "-o", folder});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> names = ListFolder(folder);
  ASSERT_EQ(names.size(), 5u);
  for (const std::string& name : names) {
    const std::string card = ReadFile(std::filesystem::path(folder) / name);
    EXPECT_EQ(CountOf(card, "BEGIN:VCARD"), 1) << name;
    EXPECT_EQ(CountOf(card, "VERSION:2.1"), 1) << name;
  }

  r = Run({"--json", "convert", Sample(kTeam), "--split", "-o", folder});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(r.out, HasSubstr("\"written\":5,"));
  // Card order, not the folder's: Jürgen is the first card, Zoë the second.
  EXPECT_THAT(r.out, HasSubstr("\"output\":\"" + folder + "\",\"files\":[\"" + folder +
                               "/Wei\xC3\x9F, J\xC3\xBCrgen[1].vcf\",\"" + folder +
                               "/Lef\xC3\xA8vre, Zo\xC3\xAB[1].vcf\","));
  EXPECT_EQ(CountOf(r.out, ".vcf\""), 5);
  EXPECT_EQ(ListFolder(folder).size(), 10u);
}

// Cards left out by --dedupe or --max make the run incomplete (exit 1).
TEST_F(ConvertTest, DedupeAndMaxLeaveCardsOut) {
  const struct {
    std::vector<std::string> options;
    int kept;
    const char* counts;
    // Jürgen's title, 2024-03 in team and 2024-05 in mixed; without a server
    // keep-original keeps the newest too.
    const char* title;
  } cases[] = {
      {{"--dedupe", "newest"},
       7,
       "\"read\":9,\"written\":4,\"copied\":3,\"skipped\":2,",
       "Director of Firmware"},
      {{"--dedupe", "keep-original"},
       7,
       "\"read\":9,\"written\":4,\"copied\":3,\"skipped\":2,",
       "Director of Firmware"},
      {{"--dedupe", "none"}, 9, "\"read\":9,\"written\":6,\"copied\":3,\"skipped\":0,", ""},
      {{"--max", "3"}, 3, "\"read\":9,\"written\":3,\"copied\":0,\"skipped\":6,", ""},
      {{"--max", "6"}, 6, "\"read\":9,\"written\":5,\"copied\":1,\"skipped\":3,", ""},
      {{"--max", "9"}, 9, "\"read\":9,\"written\":6,\"copied\":3,\"skipped\":0,", ""},
  };
  for (const auto& c : cases) {
    const RunResult r =
        Run({"--json", "convert", Sample(kTeam), Sample(kMixed), "-o", Temp("out.vcf")}, c.options);
    const bool skipped = c.kept < 9;
    EXPECT_EQ(r.exit_code, skipped ? 1 : 0) << c.options[1] << ": " << r.err;
    EXPECT_THAT(r.out, HasSubstr(std::string(",\"exit\":") + (skipped ? "1" : "0") +
                                 ",\"cancelled\":false," + c.counts))
        << c.options[1] << ": " << r.out;
    const std::string out = ReadFile(Temp("out.vcf"));
    EXPECT_EQ(CountOf(out, "BEGIN:VCARD"), c.kept) << c.options[1];
    if (*c.title) {
      EXPECT_EQ(CountOf(out, "of Firmware"), 1) << c.options[1];
      EXPECT_THAT(out, HasSubstr(c.title)) << c.options[1];
    }
  }
  // With --split the cards left out get no file, so no name is numbered.
  const std::string folder = Temp("cards");
  const RunResult r = Run({"convert", Sample(kTeam), Sample(kMixed), "--split", "--dedupe",
                           "keep-original", "-o", folder});
  EXPECT_EQ(r.exit_code, 1) << r.err;
  EXPECT_EQ(ListFolder(folder).size(), 7u);
  for (const std::string& name : ListFolder(folder)) EXPECT_THAT(name, Not(HasSubstr("[")));
}

TEST_F(ConvertTest, ReplacesAnExistingOutputWhole) {
  WriteFile(Temp("out.vcf"), "old content\n");
  const RunResult r = Run({"convert", Sample(kFamily), "-o", Temp("out.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::string out = ReadFile(Temp("out.vcf"));
  EXPECT_THAT(out, Not(HasSubstr("old content")));
  EXPECT_EQ(CountOf(out, "BEGIN:VCARD"), 4);
  // No temporary file is left beside it.
  EXPECT_EQ(ListFolder(temp_.path()), (std::vector<std::string>{"home", "out.vcf"}));
  // The input converted in place.
  const std::string self = TempFile("self.vcf", ReadFile(Sample(kTeam)));
  const RunResult in_place = Run({"convert", self, "-o", self});
  EXPECT_EQ(in_place.exit_code, 0) << in_place.err;
  EXPECT_EQ(CountOf(ReadFile(self), "VERSION:3.0"), 5);
}

// Exit 3 when no input can be read, or at the first that cannot with
// --fail-fast: nothing is written and an existing output stays as it was.
// Otherwise the job goes on without the inputs that fail (exit 1).
TEST_F(ConvertTest, UnreadableOrInvalidInputExitsWith3) {
  std::filesystem::create_directory(Temp("folder.vcf"));
  const std::string csv = TempFile("contacts.csv", kCsv);
  const struct {
    std::vector<std::string> inputs;
    std::string message;
  } cases[] = {
      {{Temp("missing.vcf")},
       Temp("missing.vcf") + ": cannot read: no such file (status 0x80070002)\n"},
      {{Temp("folder.vcf")}, Temp("folder.vcf") + ": cannot read: is a folder\n"},
      {{csv},
       csv + ": not a vCard file, nor CSV of a known address book (header row: \"First "
             "Name\",\"Last Name\"; separator: ,)"},
      {{Corpus(kNoEnd)}, Corpus(kNoEnd) + ": not a vCard file: no complete card"},
      {{Sample(kTeam), Corpus(kNoBegin), "--fail-fast"}, Corpus(kNoBegin) + ": not a vCard file"},
      {{Sample(kTeam), Temp("missing.vcf"), "--fail-fast"}, Temp("missing.vcf") + ": cannot read"},
      {{Temp("folder.vcf"), Sample(kTeam), "--fail-fast"},
       Temp("folder.vcf") + ": cannot read: is a folder"},
  };
  for (const bool existing : {false, true}) {
    if (existing) WriteFile(Temp("out.vcf"), "old content\n");
    for (const auto& c : cases) {
      const RunResult r = Run({"convert", "-o", Temp("out.vcf")}, c.inputs);
      EXPECT_EQ(r.exit_code, 3) << c.inputs.back();
      EXPECT_THAT(r.err, HasSubstr("velmora: " + c.message));
      if (existing) {
        EXPECT_EQ(ReadFile(Temp("out.vcf")), "old content\n") << c.inputs.back();
      } else {
        EXPECT_FALSE(std::filesystem::exists(Temp("out.vcf"))) << c.inputs.back();
      }
    }
  }
  // Without --fail-fast the readable inputs are converted; each failure is
  // named, and counted in the report.
  const RunResult r = Run({"convert", Corpus(kNoBegin), Sample(kTeam), Temp("missing.vcf"),
                           Temp("folder.vcf"), "-o", Temp("out.vcf")});
  EXPECT_EQ(r.exit_code, 1) << r.err;
  EXPECT_EQ(CountOf(ReadFile(Temp("out.vcf")), "BEGIN:VCARD"), 5);
  for (const std::string& failed : {Corpus(kNoBegin), Temp("missing.vcf"), Temp("folder.vcf")}) {
    EXPECT_THAT(r.err, HasSubstr("velmora: " + failed + ": ")) << failed;
  }
  const RunResult json =
      Run({"--json", "convert", Sample(kTeam), Temp("missing.vcf"), "-o", Temp("out.vcf")});
  EXPECT_THAT(json.out, HasSubstr("\"failures\":[{\"file\":\"" + Temp("missing.vcf") +
                                  "\",\"error\":\"cannot read: no such file\"}]"));
  EXPECT_THAT(r.err, HasSubstr("velmora: lost: 1 card cut off; 3 files could not be read\n"));
  // The same with a CSV output, written from all the cards at once.
  const RunResult to_csv =
      Run({"convert", Sample(kTeam), Temp("missing.vcf"), "--to", "csv", "-o", Temp("out.csv")});
  EXPECT_EQ(to_csv.exit_code, 1) << to_csv.err;
  // A vCard input without a complete card, read in blocks beside a good one.
  const RunResult partly = Run({"convert", Corpus(kNoBegin), Sample(kTeam), "-o", Temp("out.vcf")});
  EXPECT_EQ(partly.exit_code, 1) << partly.err;
  EXPECT_EQ(CountOf(ReadFile(Temp("out.vcf")), "BEGIN:VCARD"), 5);
}

TEST_F(ConvertTest, EmptyInputHasNothingToDo) {
  for (const std::string& input : {TempFile("empty.vcf", ""), Corpus(kBomOnly)}) {
    RunResult r = Run({"convert", input, "-o", Temp("out.vcf")});
    EXPECT_EQ(r.exit_code, 1) << input;
    EXPECT_THAT(r.err, HasSubstr(input + ": warning: empty, nothing to convert"));
    EXPECT_FALSE(std::filesystem::exists(Temp("out.vcf")));
    r = Run({"-q", "convert", input, "-o", Temp("out.vcf")});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(ConvertTest, UnwritableOutputExitsWith4) {
  std::filesystem::create_directory(Temp("taken.vcf"));
  // A missing folder is made; one that cannot be (a file is in the way) fails.
  const std::string missing = Temp("file/out.vcf");
  const std::string file = TempFile("file", "x");
  const struct {
    std::vector<std::string> options;
    std::string message;
  } cases[] = {
      {{"-o", missing}, missing + ": cannot create its folder: Not a directory; nothing written\n"},
      {{"-o", Temp("taken.vcf")},
       Temp("taken.vcf") + ": cannot write: is a folder; nothing written\n"},
      // The library cannot make the folder where a file is.
      {{"--split", "-o", file}, file + ": cannot write"},
  };
  for (const auto& c : cases) {
    const RunResult r = Run({"convert", Sample(kTeam)}, c.options);
    EXPECT_EQ(r.exit_code, 4) << r.err;
    EXPECT_THAT(r.err, HasSubstr("velmora: " + c.message));
    EXPECT_THAT(r.err, HasSubstr(" 0 written, 0 copied, 0 skipped, 5 errors\n"));
  }
  const RunResult r = Run({"convert", Sample(kTeam), "-o", Temp("new/deeper/out.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(CountOf(ReadFile(Temp("new/deeper/out.vcf")), "BEGIN:VCARD"), 5);
}

}  // namespace
}  // namespace velmora::clitest
