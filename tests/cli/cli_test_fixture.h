// The fixture of the command tests: a temporary home for each test and the
// paths of the samples and the corpus.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "json_reader.h"

namespace velmora::clitest {

class CliTest : public ::testing::Test {
 protected:
  CliTest() : runner_(temp_ / "home") {}

  RunResult Run(const std::vector<std::string>& arguments, const RunOptions& options = {}) {
    return runner_.Run(arguments, options);
  }

  // A file of the samples folder.
  static std::string Sample(const std::string& name) { return (SamplesDir() / name).string(); }
  // A file of the corpus.
  static std::string Corpus(const std::string& name) { return (CorpusDir() / name).string(); }
  // A path in this test's folder.
  std::string Temp(const std::string& name) const { return (temp_ / name).string(); }
  // A comma-separated file in this test's folder: text, but no vCard.
  std::string TempCsv() const {
    WriteFile(temp_ / "contacts.csv", "\"First Name\",\"Last Name\"\r\n\"John\",\"Smith\"\r\n");
    return Temp("contacts.csv");
  }

  // The JSON document of `text`; fails the test when it is not one.
  static JsonValue Json(const std::string& text) {
    std::string error;
    std::optional<JsonValue> value = ParseJson(text, &error);
    EXPECT_TRUE(value.has_value()) << error << "\n" << text;
    return value.value_or(JsonValue{});
  }

  TempDir temp_;
  CliRunner runner_;
};

inline constexpr char kTeam[] = "team-2.1-qp-windows-1252.vcf";
inline constexpr char kFamily[] = "family-3.0-apple.vcf";
inline constexpr char kMixed[] = "mixed.vcf";

}  // namespace velmora::clitest
