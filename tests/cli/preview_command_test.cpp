// velmora preview: the aligned table, every preview field in JSON, --limit
// over several files and the exit statuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using PreviewTest = CliTest;

TEST_F(PreviewTest, PrintsAnAlignedTable) {
  const RunResult r = Run({"preview", Sample(kFamily)});
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
}

TEST_F(PreviewTest, AlignsNonAsciiTextByColumns) {
  const RunResult r = Run({"preview", Sample(kTeam)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  // "Lefèvre, Zoë" takes 12 columns but 14 bytes: the FULL NAME column must
  // still start at the same column in every line.
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < r.out.size();) {
    const std::size_t end = r.out.find('\n', start);
    lines.push_back(r.out.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_EQ(lines.size(), 6u);
  const std::size_t column = lines[0].find("FULL NAME");
  for (std::size_t n = 1; n < lines.size(); ++n) {
    // The bytes of the first `column` characters (all one column wide here).
    std::size_t bytes = 0;
    for (std::size_t chars = 0; bytes < lines[n].size(); ++bytes) {
      if ((static_cast<unsigned char>(lines[n][bytes]) & 0xC0) == 0x80) continue;
      if (chars++ == column) break;
    }
    EXPECT_EQ(lines[n].substr(bytes - 2, 2), "  ") << lines[n];
    EXPECT_NE(lines[n][bytes], ' ') << lines[n];
  }
}

TEST_F(PreviewTest, JsonHasEveryPreviewField) {
  const RunResult r = Run({"preview", "--json", Sample(kFamily)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const JsonValue json = Json(r.out);
  EXPECT_EQ(json["command"].string, "preview");
  ASSERT_EQ(json["cards"].size(), 4u);
  const JsonValue& marta = json["cards"][0];
  EXPECT_EQ(marta["file"].string, Sample(kFamily));
  EXPECT_EQ(marta["index"].number, 1);
  EXPECT_EQ(marta["fileAs"].string, "Okafor, Marta");
  EXPECT_EQ(marta["fullName"].string, "Marta Okafor");
  EXPECT_EQ(marta["company"].string, "Lakeside Veterinary Clinic");
  EXPECT_EQ(marta["jobTitle"].string, "Veterinarian");
  EXPECT_EQ(marta["emails"].string, "marta.okafor@mail.example");
  // Lists are joined by the list separator (pinned to ",") and a space.
  EXPECT_EQ(marta["phones"].string, "+44 7700 900123, +44 1632 960412");
  EXPECT_EQ(marta["addresses"].string, "14 Willow Crescent Bath BA2 4QT United Kingdom");
  EXPECT_EQ(json["cards"][1]["notes"].string,
            "Allergic to penicillin. Collects railway timetables from before 1970.");
  EXPECT_EQ(marta["vcard"].string.rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0), 0u);
  EXPECT_NE(marta["vcard"].string.find("PHOTO;ENCODING=b;TYPE=PNG:"), std::string::npos);
  EXPECT_EQ(json["cards"][3]["company"].string, "");
}

TEST_F(PreviewTest, LimitCountsAcrossFiles) {
  const RunResult r =
      Run({"--json", "preview", "--limit", "6", Sample(kTeam), Sample(kFamily), Sample(kMixed)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const JsonValue json = Json(r.out);
  ASSERT_EQ(json["cards"].size(), 6u);
  EXPECT_EQ(json["cards"][4]["file"].string, Sample(kTeam));
  EXPECT_EQ(json["cards"][5]["file"].string, Sample(kFamily));
  EXPECT_EQ(json["cards"][5]["index"].number, 1);

  // In the table a FILE column comes first when several files are shown.
  const RunResult table = Run({"preview", "--limit", "2", Sample(kMixed), Sample(kTeam)});
  EXPECT_EQ(table.out.rfind("FILE ", 0), 0u) << table.out;
  EXPECT_EQ(CountOf(table.out, "\n"), 3);
}

TEST_F(PreviewTest, ReadsStandardInput) {
  RunOptions options;
  options.stdin_file = Sample(kMixed);
  const RunResult r = Run({"--json", "preview", "-"}, options);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const JsonValue json = Json(r.out);
  ASSERT_EQ(json["cards"].size(), 4u);
  EXPECT_EQ(json["cards"][0]["file"].string, "standard input");
  EXPECT_EQ(json["cards"][0]["fullName"].string, "J\xC3\xBCrgen Wei\xC3\x9F");
  EXPECT_EQ(json["cards"][2]["fileAs"].string, "Pharmacy, Northgate");
}

TEST_F(PreviewTest, GoesOnPastBadFilesAndExitsWith3) {
  const RunResult r = Run({"--json", "preview", Temp("missing.vcf"), Sample(kMixed),
                           Corpus("vcard-malformed/eds_vcard_7.vcf")});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_NE(r.err.find(Temp("missing.vcf") + ": cannot read"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("eds_vcard_7.vcf: not a vCard file"), std::string::npos) << r.err;
  const JsonValue json = Json(r.out);
  EXPECT_EQ(json["exit"].number, 3);
  EXPECT_EQ(json["cards"].size(), 4u);
}

TEST_F(PreviewTest, NoCardsExitsWith1) {
  WriteFile(Temp("empty.vcf"), "\r\n\r\n");
  const RunResult r = Run({"preview", Temp("empty.vcf")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("warning: empty, no cards"), std::string::npos) << r.err;
}

// Preview shows one row per card the count command counts, over the corpus.
TEST_F(PreviewTest, RowsMatchCountsOverTheCorpus) {
  std::vector<std::string> files;
  for (const char* folder : {"vcard21", "vcard30", "vcard40"}) {
    for (const std::string& name : ListFolder(CorpusDir() / folder)) {
      files.push_back((CorpusDir() / folder / name).string());
    }
  }
  std::vector<std::string> args = {"--json", "preview"};
  args.insert(args.end(), files.begin(), files.end());
  const RunResult preview = Run(args);
  args[1] = "count";
  const RunResult count = Run(args);
  EXPECT_EQ(count.exit_code, 0) << count.err;
  EXPECT_EQ(preview.exit_code, 0) << preview.err;
  EXPECT_EQ(Json(preview.out)["cards"].size(),
            static_cast<std::size_t>(Json(count.out)["total"].number));
}

}  // namespace
}  // namespace velmora::clitest
