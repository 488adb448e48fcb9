// Conversion in blocks: wherever the blocks are cut and however many
// threads convert them, the output, the summary and the messages are those
// of the file converted in one piece. --block-size 1 cuts at every place a
// block may end, so a cut the reader would not make shows up as a
// difference.

#include <string>
#include <tuple>
#include <vector>

#include "cli_test_fixture.h"

namespace velmora::clitest {
namespace {

struct Outcome {
  int exit_code;
  std::string out;
  std::string err;
  std::string written;
};

class StreamingTest : public CliTest {
 protected:
  Outcome Convert(const std::vector<std::string>& inputs, const std::vector<std::string>& extra) {
    std::vector<std::string> arguments = {"--json", "convert"};
    arguments.insert(arguments.end(), inputs.begin(), inputs.end());
    arguments.insert(arguments.end(), {"-o", Temp("out.vcf"), "--vcard-version", "2.1", "--charset",
                                       "windows-1252"});
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    const RunResult run = Run(arguments);
    Outcome outcome{run.exit_code, run.out, run.err, {}};
    if (std::filesystem::exists(Temp("out.vcf"))) {
      outcome.written = ReadFile(Temp("out.vcf"));
      std::filesystem::remove(Temp("out.vcf"));
    }
    return outcome;
  }

  void ExpectSameInBlocks(const std::vector<std::string>& inputs) {
    const Outcome whole = Convert(inputs, {});
    for (const char* jobs : {"1", "3"}) {
      const Outcome blocks = Convert(inputs, {"--block-size", "1", "--jobs", jobs});
      EXPECT_EQ(std::tie(blocks.exit_code, blocks.out, blocks.err, blocks.written),
                std::tie(whole.exit_code, whole.out, whole.err, whole.written))
          << jobs;
    }
  }
};

TEST_F(StreamingTest, BlocksGiveWhatTheWholeFileGives) {
  const std::string a = Card("FN:Anna\r\n"), b = Card("FN:Bert\r\n"), c = Card("FN:Cleo\r\n");
  const struct {
    const char* name;
    std::string text;
  } kCases[] = {
      // The END line continues a quoted-printable value: no card ends there.
      {"soft-break", Card("NOTE;ENCODING=QUOTED-PRINTABLE:line=\r\n") + b + c},
      // An embedded AGENT card, and after it a BEGIN with no END before it.
      {"agent", "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Outer\r\nAGENT:\r\n" + a +
                    "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Next\r\nEND:VCARD\r\n" + c},
      {"agent-closed", "BEGIN:VCARD\r\nVERSION:2.1\r\nAGENT:\r\n" + a + "END:VCARD\r\n" + b + c},
      // A folded END line is no END.
      {"folded-end", "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:X\r\nEND:VCARD\r\n Y\r\n" + b + c},
      {"cut-off-inside", "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Cut\r\n" + b + c},
      {"cut-off-at-end", a + b + "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Cut\r\n"},
      {"only-cut-off", "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Cut\r\n"},
      {"between", a + "\r\n\r\nnot a card\r\n" + b + "   \n" + c + "\r\n\r\n"},
      {"line-feeds", "begin:vcard\nversion:2.1\nFN:Lower\nend:vcard\n" + b + "BEGIN:VCARD\nFN:Z"},
      {"blank", "\r\n \r\n"},
  };
  for (const auto& test : kCases) {
    SCOPED_TRACE(test.name);
    ExpectSameInBlocks({TempFile(std::string(test.name) + ".vcf", test.text)});
  }
  // Real files, and several inputs into one output.
  ExpectSameInBlocks({Corpus("vcard21/aosp_v21_multiple_entry.vcf"),
                      Corpus("vcard-malformed/aosp_v21_nest.vcf"),
                      Corpus("vcard-malformed/tb_dos_crcrlf.vcf"), Sample(kTeam),
                      Corpus("vcard-malformed/fk_Cropped_2_1.vcf"), Sample(kFamily)});
}

}  // namespace
}  // namespace velmora::clitest
