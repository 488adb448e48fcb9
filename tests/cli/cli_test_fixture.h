// The fixture of the command tests: a temporary home for each test and the
// paths of the samples and the corpus.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli_runner.h"

namespace velmora::clitest {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class CliTest : public ::testing::Test {
 protected:
  CliTest() : runner_(temp_ / "home") {}

  RunResult Run(const std::vector<std::string>& arguments, const RunOptions& options = {}) {
    return runner_.Run(arguments, options);
  }
  RunResult Run(std::vector<std::string> arguments, const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return runner_.Run(arguments);
  }
  RunResult RunWithInput(const std::string& file, const std::vector<std::string>& arguments) {
    return runner_.Run(arguments, {.stdin_file = file});
  }

  static std::string Sample(const std::string& name) { return (SamplesDir() / name).string(); }
  static std::string Corpus(const std::string& name) { return (CorpusDir() / name).string(); }
  std::string Temp(const std::string& name) const { return (temp_ / name).string(); }
  // A file in this test's folder holding `content`.
  std::string TempFile(const std::string& name, const std::string& content) const {
    WriteFile(temp_ / name, content);
    return Temp(name);
  }

  TempDir temp_;
  CliRunner runner_;
};

// The values of every `name` property of vCard text, parameters dropped, in
// order.
inline std::vector<std::string> Values(const std::string& vcards, const std::string& name) {
  std::vector<std::string> values;
  for (std::size_t at = vcards.find("\n" + name); at != std::string::npos;
       at = vcards.find("\n" + name, at + 1)) {
    const char after = vcards[at + 1 + name.size()];
    if (after != ':' && after != ';') continue;
    const std::size_t colon = vcards.find(':', at);
    values.push_back(vcards.substr(colon + 1, vcards.find('\r', colon) - colon - 1));
  }
  return values;
}

inline constexpr char kTeam[] = "team-2.1-qp-windows-1252.vcf";
inline constexpr char kFamily[] = "family-3.0-apple.vcf";
inline constexpr char kMixed[] = "mixed.vcf";

// A comma-separated file: valid text, no vCard in it.
inline constexpr char kCsv[] = "\"First Name\",\"Last Name\"\r\n\"John\",\"Smith\"\r\n";
// Corpus files without a complete card, and one of a byte-order mark only.
inline constexpr char kNoBegin[] = "vcard-malformed/eds_vcard_8.vcf";
inline constexpr char kNoEnd[] = "vcard-malformed/eds_vcard_9.vcf";
inline constexpr char kBomOnly[] = "vcard-malformed/fk_Empty_bom_only.vcf";

// One card of 2.1 text with `body` between VERSION and END.
inline std::string Card(const std::string& body) {
  return "BEGIN:VCARD\r\nVERSION:2.1\r\n" + body + "END:VCARD\r\n";
}

}  // namespace velmora::clitest
