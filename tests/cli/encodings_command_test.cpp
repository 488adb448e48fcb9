// velmora encodings: the list as a table and as JSON; every listed charset
// is one that convert accepts.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using EncodingsTest = CliTest;

TEST_F(EncodingsTest, ListsNameCharsetAndCodePage) {
  const RunResult r = Run({"encodings"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("ENCODING ", 0), 0u);
  EXPECT_TRUE(std::regex_search(
      r.out, std::regex("\nWestern European \\(Windows\\) +windows-1252 +1252\n")))
      << r.out;
  EXPECT_TRUE(std::regex_search(r.out, std::regex("\nUTF-8 +utf-8 +65001\n"))) << r.out;
  // Columns line up: every line has the charset at the column of CHARSET.
  const std::size_t column = r.out.find("CHARSET");
  EXPECT_EQ(r.out.find("utf-8") - r.out.find("\nUTF-8") - 1, column);
  // Hidden entries only with --all.
  const RunResult all = Run({"encodings", "--all"});
  EXPECT_GT(CountOf(all.out, "\n"), CountOf(r.out, "\n"));
}

TEST_F(EncodingsTest, JsonEntriesWorkWithConvert) {
  const RunResult r = Run({"--json", "encodings"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const JsonValue json = Json(r.out);
  ASSERT_GT(json["encodings"].size(), 10u);
  EXPECT_EQ(json["encodings"][0]["charset"].string, "utf-8");
  EXPECT_EQ(json["encodings"][0]["codePage"].number, 65001);
  int checked = 0;
  for (const JsonValue& entry : json["encodings"].array) {
    if (entry["systemLocale"].boolean) {
      EXPECT_EQ(entry["charset"].kind, JsonValue::Kind::kNull);
      continue;
    }
    const std::string charset = entry["charset"].string;
    if (charset != "windows-1251" && charset != "iso-8859-15" && charset != "koi8-r") continue;
    const RunResult to_file = Run({"--json", "convert", Sample(kFamily), "--vcard-version", "2.1",
                                   "--charset", entry["name"].string, "-o", Temp("out.vcf")});
    EXPECT_EQ(to_file.exit_code, 0) << charset << ": " << to_file.err;
    EXPECT_EQ(Json(to_file.out)["charset"].string, charset);
    EXPECT_EQ(Json(to_file.out)["codePage"].number, entry["codePage"].number);
    EXPECT_NE(ReadFile(Temp("out.vcf")).find("CHARSET=" + charset), std::string::npos) << charset;
    ++checked;
  }
  EXPECT_EQ(checked, 3);
}

TEST_F(EncodingsTest, UnreadableListExitsWith3) {
  const RunResult r = Run({"encodings", "--file", Temp("missing.txt")});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_NE(r.err.find("missing.txt: cannot read the encodings list"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("(status 0x80070002)"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace velmora::clitest
