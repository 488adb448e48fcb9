// velmora convert run as a subprocess: versions and charsets, several
// inputs, standard input and output, --split naming, --dedupe, --max, the
// replacement of an existing output and every exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using ConvertTest = CliTest;

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

TEST_F(ConvertTest, WritesVersion30InUtf8ByDefault) {
  const RunResult r = Run({"convert", Sample(kTeam), "-o", Temp("out.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "velmora: 5 cards read, 5 written, 0 copied, 0 skipped, 0 errors\n");
  const std::string out = ReadFile(Temp("out.vcf"));
  EXPECT_EQ(CountOf(out, "BEGIN:VCARD\r\n"), 5);
  EXPECT_EQ(CountOf(out, "\r\nVERSION:3.0\r\n"), 5);
  // The windows-1252 and quoted-printable values come out as UTF-8 text.
  EXPECT_NE(out.find("\r\nFN:J\xC3\xBCrgen Wei\xC3\x9F\r\n"), std::string::npos);
  EXPECT_NE(out.find("Gro\xC3\x9F" "er Burstah 17;Hamburg"), std::string::npos);
  EXPECT_NE(out.find("k\xC3\xBCsst keine Fr\xC3\xB6sche"), std::string::npos);
  EXPECT_EQ(out.find("QUOTED-PRINTABLE"), std::string::npos);
  // Every line ends with CR LF, the last one too.
  ASSERT_GE(out.size(), 11u);
  EXPECT_EQ(out.substr(out.size() - 11), "END:VCARD\r\n");
  EXPECT_EQ(CountOf(out, "\n"), CountOf(out, "\r\n"));
}

TEST_F(ConvertTest, WritesVersion21InTheChosenCharset) {
  const RunResult r = Run({"--json", "convert", Sample(kMixed), "--vcard-version", "2.1",
                           "--charset", "windows-1252", "-o", Temp("out.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::string out = ReadFile(Temp("out.vcf"));
  EXPECT_EQ(CountOf(out, "\r\nVERSION:2.1\r\n"), 4);
  EXPECT_EQ(CountOf(out, "\r\nVERSION:3.0\r\n"), 0);
  // "Weiß" in windows-1252 (quoted-printable), not in UTF-8.
  EXPECT_NE(out.find("Wei=DF"), std::string::npos);
  EXPECT_EQ(out.find("=C3=9F"), std::string::npos);
  EXPECT_EQ(out.find("\xC3\x9F"), std::string::npos);
  EXPECT_NE(out.find("CHARSET=windows-1252"), std::string::npos);
  const JsonValue json = Json(r.out);
  EXPECT_EQ(json["charset"].string, "windows-1252");
  EXPECT_EQ(json["codePage"].number, 1252);
  EXPECT_EQ(json["version"].string, "2.1");
}

TEST_F(ConvertTest, CharsetNameDisplayNameAndCodePageAgree) {
  const std::vector<std::vector<std::string>> ways = {
      {"--charset", "windows-1252"},
      {"--charset", "WINDOWS-1252"},
      {"--charset", "western european (windows)"},
      {"--codepage", "1252"},
  };
  std::string first;
  for (const auto& way : ways) {
    std::vector<std::string> args = {"convert", Sample(kTeam), "--vcard-version", "2.1", "-o", "-"};
    args.insert(args.end(), way.begin(), way.end());
    const RunResult r = Run(args);
    EXPECT_EQ(r.exit_code, 0) << way[1] << ": " << r.err;
    EXPECT_EQ(CountOf(r.out, "BEGIN:VCARD"), 5) << way[1];
    if (first.empty()) first = r.out;
    EXPECT_EQ(r.out, first) << way[1];
  }
}

TEST_F(ConvertTest, StandardInputAndOutputGiveTheFileResult) {
  const RunResult file = Run({"convert", Sample(kMixed), "-o", Temp("out.vcf")});
  ASSERT_EQ(file.exit_code, 0) << file.err;
  RunOptions options;
  options.stdin_file = Sample(kMixed);
  const RunResult piped = Run({"convert", "-", "-o", "-"}, options);
  EXPECT_EQ(piped.exit_code, 0) << piped.err;
  EXPECT_EQ(piped.out, ReadFile(Temp("out.vcf")));
  EXPECT_EQ(piped.err, "velmora: 4 cards read, 1 written, 3 copied, 0 skipped, 0 errors\n");
  // The copy of standard input is gone.
  EXPECT_TRUE(ListFolder(runner_.TmpFolder()).empty());
}

TEST_F(ConvertTest, ReadsUtf16FromStandardInput) {
  RunOptions options;
  options.stdin_file = Corpus("vcard30/roundcube_utf-16_sample.vcf");
  const RunResult r = Run({"convert", "-", "-o", "-"}, options);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(CountOf(r.out, "BEGIN:VCARD"), 1);
  // No NUL byte of the UTF-16 input is left.
  EXPECT_EQ(r.out.find('\0'), std::string::npos);
}

TEST_F(ConvertTest, ConcatenatesSeveralInputsInOrder) {
  const RunResult r =
      Run({"convert", Sample(kTeam), "-", Sample(kFamily), "-o", Temp("all.vcf")},
          RunOptions{Sample(kMixed), {}, {}});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  // The 3.0 UTF-8 cards of mixed.vcf and family.vcf are already in the target.
  EXPECT_EQ(r.err, "velmora: 13 cards read, 6 written, 7 copied, 0 skipped, 0 errors\n");
  const std::string out = ReadFile(Temp("all.vcf"));
  EXPECT_EQ(CountOf(out, "BEGIN:VCARD"), 13);
  const std::vector<std::string> order = {"FN:Emile Brault", "FN:Northgate", "FN:Yui",
                                          "FN:Marta", "FN:Ruth"};
  std::size_t last = 0;
  for (const std::string& name : order) {
    const std::size_t at = out.find(name, last);
    EXPECT_NE(at, std::string::npos) << name;
    last = at;
  }
}

TEST_F(ConvertTest, SplitNamesFilesAfterTheContacts) {
  const std::string folder = Temp("cards");
  RunResult r = Run({"convert", Sample(kTeam), "--split", "--vcard-version", "2.1", "-o", folder});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> expected = {
      "Brault, Emile.vcf", "Lef\xC3\xA8vre, Zo\xC3\xAB.vcf", "N\xC3\xBA\xC3\xB1" "ez, Ana Mar\xC3\xAD" "a.vcf",
      "Wei\xC3\x9F, J\xC3\xBCrgen.vcf", "\xC3\x98" "deg\xC3\xA5rd, S\xC3\xB8ren.vcf"};
  EXPECT_EQ(ListFolder(folder), expected);
  for (const std::string& name : expected) {
    const std::string card = ReadFile(std::filesystem::path(folder) / name);
    EXPECT_EQ(CountOf(card, "BEGIN:VCARD"), 1) << name;
    EXPECT_EQ(CountOf(card, "VERSION:2.1"), 1) << name;
  }

  // A second run numbers the new files; --json lists them in card order.
  r = Run({"--json", "convert", Sample(kTeam), "--split", "-o", folder});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const JsonValue json = Json(r.out);
  ASSERT_EQ(json["files"].size(), 5u);
  EXPECT_EQ(json["files"][0].string, folder + "/Wei\xC3\x9F, J\xC3\xBCrgen[1].vcf");
  EXPECT_EQ(json["files"][4].string, folder + "/Brault, Emile[1].vcf");
  EXPECT_EQ(json["written"].number, 5);
  EXPECT_EQ(ListFolder(folder).size(), 10u);
}

TEST_F(ConvertTest, SplitNumbersContactsOfTheSameName) {
  const std::string folder = Temp("cards");
  const RunResult r = Run({"convert", Sample(kTeam), Sample(kMixed), "--split", "-o", folder});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> names = ListFolder(folder);
  EXPECT_EQ(names.size(), 9u);
  EXPECT_EQ(std::count(names.begin(), names.end(), "Wei\xC3\x9F, J\xC3\xBCrgen[1].vcf"), 1);
  EXPECT_EQ(std::count(names.begin(), names.end(), "Brault, Emile[1].vcf"), 1);
}

TEST_F(ConvertTest, DedupeKeepsTheNewestCard) {
  const RunResult r = Run({"--json", "convert", Sample(kTeam), Sample(kMixed), "--dedupe",
                           "newest", "-o", Temp("out.vcf")});
  // Cards left out make the run incomplete.
  EXPECT_EQ(r.exit_code, 1) << r.err;
  const JsonValue json = Json(r.out);
  EXPECT_EQ(json["read"].number, 9);
  EXPECT_EQ(json["skipped"].number, 2);
  EXPECT_EQ(json["written"].number + json["copied"].number, 7);
  EXPECT_EQ(json["exit"].number, 1);
  const std::string out = ReadFile(Temp("out.vcf"));
  EXPECT_EQ(CountOf(out, "BEGIN:VCARD"), 7);
  // Jürgen of 2024-05 wins over 2024-03; Emile of 2022 over 2021.
  EXPECT_NE(out.find("Director of Firmware"), std::string::npos);
  EXPECT_EQ(out.find("Head of Firmware"), std::string::npos);
  EXPECT_NE(out.find("+1 514 555 0199"), std::string::npos);
  EXPECT_EQ(out.find("+1 514 555 0100"), std::string::npos);
}

TEST_F(ConvertTest, DedupeWithSplitWritesNoNumberedNames) {
  const std::string folder = Temp("cards");
  const RunResult r = Run({"--json", "convert", Sample(kTeam), Sample(kMixed), "--split",
                           "--dedupe", "keep-original", "-o", folder});
  EXPECT_EQ(r.exit_code, 1) << r.err;
  EXPECT_EQ(Json(r.out)["skipped"].number, 2);
  EXPECT_EQ(ListFolder(folder).size(), 7u);
  for (const std::string& name : ListFolder(folder)) {
    EXPECT_EQ(name.find('['), std::string::npos) << name;
  }
}

TEST_F(ConvertTest, MaxLimitsTheCardsAcrossInputs) {
  struct Case {
    std::vector<std::string> inputs;
    int max;
    int read, written_or_copied, skipped;
  };
  const Case cases[] = {
      {{Sample(kTeam)}, 3, 5, 3, 2},
      {{Sample(kTeam), Sample(kMixed)}, 5, 9, 5, 4},
      {{Sample(kTeam), Sample(kMixed)}, 6, 9, 6, 3},
      {{Sample(kTeam), Sample(kMixed)}, 9, 9, 9, 0},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--json", "convert"};
    args.insert(args.end(), c.inputs.begin(), c.inputs.end());
    args.insert(args.end(), {"--max", std::to_string(c.max), "-o", Temp("out.vcf")});
    const RunResult r = Run(args);
    EXPECT_EQ(r.exit_code, c.skipped > 0 ? 1 : 0) << c.max << ": " << r.err;
    const JsonValue json = Json(r.out);
    EXPECT_EQ(json["read"].number, c.read) << c.max;
    EXPECT_EQ(json["written"].number + json["copied"].number, c.written_or_copied) << c.max;
    EXPECT_EQ(json["skipped"].number, c.skipped) << c.max;
    EXPECT_EQ(CountOf(ReadFile(Temp("out.vcf")), "BEGIN:VCARD"), c.written_or_copied) << c.max;
  }
}

TEST_F(ConvertTest, ReplacesAnExistingOutputWhole) {
  WriteFile(Temp("out.vcf"), "old content\n");
  const RunResult r = Run({"convert", Sample(kFamily), "-o", Temp("out.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::string out = ReadFile(Temp("out.vcf"));
  EXPECT_EQ(out.find("old content"), std::string::npos);
  EXPECT_EQ(CountOf(out, "BEGIN:VCARD"), 4);
  // No temporary file is left beside it.
  EXPECT_EQ(ListFolder(temp_.path()), (std::vector<std::string>{"home", "out.vcf"}));
  // The input converted in place.
  WriteFile(Temp("self.vcf"), ReadFile(Sample(kTeam)));
  const RunResult self = Run({"convert", Temp("self.vcf"), "-o", Temp("self.vcf")});
  EXPECT_EQ(self.exit_code, 0) << self.err;
  EXPECT_EQ(CountOf(ReadFile(Temp("self.vcf")), "VERSION:3.0"), 5);
}

TEST_F(ConvertTest, AFailedRunLeavesTheOldOutput) {
  WriteFile(Temp("out.vcf"), "old content\n");
  const std::vector<std::vector<std::string>> inputs = {
      {Corpus("vcard-malformed/eds_vcard_8.vcf")},
      {Sample(kTeam), Corpus("vcard-malformed/eds_vcard_8.vcf")},
      {Sample(kTeam), Temp("missing.vcf")},
  };
  for (const auto& input : inputs) {
    std::vector<std::string> args = {"convert"};
    args.insert(args.end(), input.begin(), input.end());
    args.insert(args.end(), {"-o", Temp("out.vcf")});
    const RunResult r = Run(args);
    EXPECT_EQ(r.exit_code, 3) << input.back() << ": " << r.err;
    EXPECT_EQ(ReadFile(Temp("out.vcf")), "old content\n") << input.back();
  }
}

TEST_F(ConvertTest, UnreadableOrInvalidInputExitsWith3) {
  std::filesystem::create_directory(Temp("folder.vcf"));
  struct Case {
    std::string input;
    std::string message;
  };
  const Case cases[] = {
      {Temp("missing.vcf"), Temp("missing.vcf") + ": cannot read: no such file (status 0x80070002)\n"},
      {Temp("folder.vcf"), Temp("folder.vcf") + ": cannot read: is a folder\n"},
      {TempCsv(),
       ": not a vCard file: no complete card (BEGIN:VCARD to END:VCARD) (status 0xFFFFFFFF)\n"},
      {Corpus("vcard-malformed/eds_vcard_9.vcf"), "(status 0xFFFFFFFF)\n"},
  };
  for (const Case& c : cases) {
    const RunResult r = Run({"convert", c.input, "-o", Temp("out.vcf")});
    EXPECT_EQ(r.exit_code, 3) << c.input;
    EXPECT_NE(r.err.find("velmora: " + c.input), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(Temp("out.vcf"))) << c.input;
  }
}

TEST_F(ConvertTest, EmptyInputHasNothingToDo) {
  WriteFile(Temp("empty.vcf"), "");
  for (const std::string& input :
       {Temp("empty.vcf"), Corpus("vcard-malformed/fk_Empty_bom_only.vcf")}) {
    RunResult r = Run({"convert", input, "-o", Temp("out.vcf")});
    EXPECT_EQ(r.exit_code, 1) << input;
    EXPECT_NE(r.err.find(input + ": warning: empty, nothing to convert"), std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(Temp("out.vcf")));
    r = Run({"-q", "convert", input, "-o", Temp("out.vcf")});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(ConvertTest, AnIncompleteLastCardIsLeftOut) {
  WriteFile(Temp("cut.vcf"),
            ReadFile(Sample(kMixed)) + ReadFile(Corpus("vcard-malformed/eds_vcard_8.vcf")));
  const RunResult r = Run({"convert", Temp("cut.vcf"), "-o", Temp("out.vcf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(CountOf(ReadFile(Temp("out.vcf")), "BEGIN:VCARD"), 4);
}

TEST_F(ConvertTest, UnwritableOutputExitsWith4) {
  std::filesystem::create_directory(Temp("taken.vcf"));
  const std::string missing = Temp("no/such/folder/out.vcf");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"convert", Sample(kTeam), "-o", missing},
       missing + ": cannot write: No such file or directory\n"},
      {{"convert", Sample(kTeam), "-o", Temp("taken.vcf")},
       Temp("taken.vcf") + ": cannot write: is a folder\n"},
  };
  for (const Case& c : cases) {
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.exit_code, 4) << r.err;
    EXPECT_NE(r.err.find("velmora: " + c.message), std::string::npos) << r.err;
  }
  // --split into a path that is a file: the library cannot make the folder.
  WriteFile(Temp("file"), "x");
  const RunResult r = Run({"convert", Sample(kTeam), "--split", "-o", Temp("file")});
  EXPECT_EQ(r.exit_code, 4) << r.err;
  EXPECT_NE(r.err.find("velmora: " + Temp("file") + ": cannot write"), std::string::npos) << r.err;
}

TEST_F(ConvertTest, OtherFormatsAreNotSupportedYet) {
  const std::vector<std::vector<std::string>> cases = {
      {"-o", Temp("out.csv")},
      {"-o", Temp("out.XLSX")},
      {"--to", "csv", "-o", Temp("out.vcf")},
      {"--to", "xls", "--split", "-o", Temp("cards")},
  };
  for (const auto& tail : cases) {
    std::vector<std::string> args = {"convert", Sample(kTeam)};
    args.insert(args.end(), tail.begin(), tail.end());
    const RunResult r = Run(args);
    EXPECT_EQ(r.exit_code, 2) << tail.back();
    EXPECT_NE(r.err.find("not supported yet"), std::string::npos) << r.err;
    EXPECT_TRUE(ListFolder(temp_.path()) == std::vector<std::string>{"home"}) << tail.back();
  }
  // --to vcard writes vCard whatever the name.
  const RunResult r = Run({"convert", Sample(kTeam), "--to", "vcard", "-o", Temp("out.txt")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(CountOf(ReadFile(Temp("out.txt")), "BEGIN:VCARD"), 5);
}

TEST_F(ConvertTest, JsonSummaryOnStandardOutput) {
  const RunResult r = Run({"--json", "convert", Sample(kMixed), "-o", Temp("out.vcf")});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
  const JsonValue json = Json(r.out);
  EXPECT_EQ(json["command"].string, "convert");
  EXPECT_EQ(json["exit"].number, 0);
  EXPECT_FALSE(json["cancelled"].boolean);
  EXPECT_EQ(json["read"].number, 4);
  EXPECT_EQ(json["written"].number, 1);
  EXPECT_EQ(json["copied"].number, 3);
  EXPECT_EQ(json["skipped"].number, 0);
  EXPECT_EQ(json["errors"].number, 0);
  EXPECT_EQ(json["output"].string, Temp("out.vcf"));
  ASSERT_EQ(json["files"].size(), 1u);
  EXPECT_EQ(json["files"][0].string, Temp("out.vcf"));
  EXPECT_EQ(json["format"].string, "vcard");
  EXPECT_EQ(json["version"].string, "3.0");
  EXPECT_EQ(json["charset"].string, "utf-8");
  EXPECT_EQ(json["codePage"].number, 65001);
}

// Every vCard file of the corpus converts to both versions without a crash;
// a successful run writes as many cards as the file counts.
TEST_F(ConvertTest, CorpusConvertsToBothVersions) {
  std::vector<std::string> files;
  for (const char* folder : {"vcard21", "vcard30", "vcard40", "vcard-malformed"}) {
    for (const std::string& name : ListFolder(CorpusDir() / folder)) {
      files.push_back((CorpusDir() / folder / name).string());
    }
  }
  ASSERT_GT(files.size(), 90u);
  std::vector<std::string> count_args = {"--json", "count"};
  count_args.insert(count_args.end(), files.begin(), files.end());
  const JsonValue counts = Json(Run(count_args).out);
  ASSERT_EQ(counts["files"].size(), files.size());

  int converted = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    for (const char* version : {"3.0", "2.1"}) {
      const RunResult r = Run({"convert", files[i], "--vcard-version", version, "-o", "-"});
      ASSERT_EQ(r.signal, 0) << files[i];
      const int cards = static_cast<int>(counts["files"][i]["cards"].number);
      if (counts["files"][i].Has("error")) {
        EXPECT_EQ(r.exit_code, 3) << files[i] << "\n" << r.err;
        continue;
      }
      if (cards == 0) {
        EXPECT_EQ(r.exit_code, 1) << files[i] << "\n" << r.err;
        continue;
      }
      EXPECT_TRUE(r.exit_code == 0 || r.exit_code == 1) << files[i] << "\n" << r.err;
      if (r.exit_code != 0) continue;
      ++converted;
      // Copied cards keep their own spelling and line ends.
      std::string lower(1, '\n');
      lower += Lower(r.out);
      EXPECT_EQ(CountOf(lower, "\nbegin:vcard"), cards) << files[i] << " " << version;
      // (A card glued to the next one, "END:VCARDBEGIN:VCARD", is one card
      // with two VERSION lines.)
      EXPECT_GE(CountOf(lower, std::string("\nversion:") + version), cards)
          << files[i] << " " << version;
      EXPECT_EQ(CountOf(lower, std::string("\nversion:") + (version[0] == '3' ? "2.1" : "3.0")),
                0)
          << files[i] << " " << version;
    }
  }
  EXPECT_GT(converted, 150);
}

}  // namespace
}  // namespace velmora::clitest
