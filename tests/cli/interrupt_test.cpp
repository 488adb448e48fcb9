// Ctrl-C: SIGINT during a long job stops it through the library's cancel
// callback; the command exits with 130 and leaves no partial output.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

using namespace std::chrono_literals;

class InterruptTest : public CliTest {
 protected:
  // A vCard file of `cards` small 2.1 cards.
  std::string BigInput(int cards) {
    const std::string path = Temp("big.vcf");
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < cards; ++i) {
      const std::string n = std::to_string(i);
      out << "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Person" + n + ";Test;;;\r\nFN:Test Person" + n +
                 "\r\nTEL;CELL:+49 30 " + n + "\r\nEMAIL;INTERNET:p" + n +
                 "@example.org\r\nEND:VCARD\r\n";
    }
    return path;
  }
};

// Neither the output nor a temporary file of it is left, and an existing
// output stays as it was.
TEST_F(InterruptTest, StopsAConversionWithoutWritingOutput) {
  const std::string big = BigInput(200000);
  const RunOptions options{.interrupt_after = 300ms};
  for (const bool existing : {false, true}) {
    if (existing) WriteFile(Temp("out.vcf"), "old content\n");
    const RunResult r = Run({"--json", "convert", big, big, big, "-o", Temp("out.vcf")}, options);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exit_code, 130) << r.err;
    EXPECT_THAT(r.err, HasSubstr("velmora: cancelled; no output written\n"));
    // Standard error is not a terminal: no progress line.
    EXPECT_THAT(r.err, Not(HasSubstr("\r")));
    EXPECT_THAT(r.out, StartsWith("{\"command\":\"convert\",\"exit\":130,\"cancelled\":true,"));
    EXPECT_LT(r.seconds, 5.0);
    if (existing) {
      EXPECT_EQ(ReadFile(Temp("out.vcf")), "old content\n");
      EXPECT_EQ(ListFolder(temp_.path()), (std::vector<std::string>{"big.vcf", "home", "out.vcf"}));
    } else {
      EXPECT_EQ(ListFolder(temp_.path()), (std::vector<std::string>{"big.vcf", "home"}));
    }
  }
}

TEST_F(InterruptTest, RemovesTheFilesOfAnInterruptedSplit) {
  // Large enough that writing the files outlasts the interrupt even on a
  // memory file system.
  const std::string big = BigInput(100000);
  const std::string folder = Temp("cards");
  std::filesystem::create_directory(folder);
  WriteFile(folder + "/mine.vcf", "keep me\n");
  const RunOptions options{.interrupt_after = 1200ms};
  const RunResult r = Run({"convert", big, "--split", "-o", folder}, options);
  EXPECT_EQ(r.exit_code, 130) << r.err;
  EXPECT_EQ(ListFolder(folder), std::vector<std::string>{"mine.vcf"});
  EXPECT_EQ(ReadFile(folder + "/mine.vcf"), "keep me\n");
}

TEST_F(InterruptTest, StopsWhileReadingStandardInput) {
  const RunOptions options{.stdin_file = BigInput(200000), .interrupt_after = 300ms};
  const RunResult r = Run({"convert", "-", "-o", "-"}, options);
  EXPECT_EQ(r.exit_code, 130) << r.err;
  EXPECT_EQ(r.out, "");
  // The copy of standard input is removed.
  EXPECT_TRUE(ListFolder(runner_.TmpFolder()).empty());
}

}  // namespace
}  // namespace velmora::clitest
