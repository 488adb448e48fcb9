#include "foundation/log.h"

#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "foundation/file_system.h"
#include "foundation/registry.h"
#include "support/test_env.h"

namespace velmora {
namespace {

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files::OverrideAppDataFolder(dir_.path());
    module_.path = "/opt/lib/conv.dll";
    module_.has_version = true;
    module_.version = {1, 5, 0, 3};
  }
  void TearDown() override { files::OverrideAppDataFolder(test::SandboxDir() / "appdata"); }

  std::filesystem::path Folder() const { return dir_ / "Zorva" / "VCF"; }
  std::vector<std::string> Lines(const std::filesystem::path& file) const {
    std::vector<std::string> lines;
    std::istringstream in(test::ReadFile(file));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  test::TempDir dir_;
  ModuleInfo module_;
};

TEST_F(LogTest, WritesLinesInTheDocumentedFormat) {
  {
    CLog log;
    log.Init(module_, u"", u"Zorva", u"VCF", 1, true);
    EXPECT_EQ(log.log_path(), Folder() / "conv.log");
    EXPECT_EQ(log.error_path(), Folder() / "conv.err");
    log.LogError("CCardDoc.Load", 0, "Error - no END:VCARD");
  }
  const auto lines = Lines(Folder() / "conv.log");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], ":LogStart:");
  EXPECT_EQ(lines[1], "ModuleName=\"/opt/lib/conv.dll\", Version=1.5.0.3, Bitness=64");
  EXPECT_TRUE(std::regex_match(
      lines[2],
      std::regex(
          R"(\d\d/\d\d/\d\d \d\d:\d\d:\d\d Err\[0\] in CCardDoc\.Load: Error - no END:VCARD)")))
      << lines[2];
  EXPECT_EQ(lines[3], ":LogEnd:");
  EXPECT_EQ(lines[4], "");
  // The error file holds the same line behind the version text.
  const auto errors = Lines(Folder() / "conv.err");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "1.5.0.3 " + lines[2]);
}

TEST_F(LogTest, LevelsDecideWhatIsWritten) {
  struct Case {
    int level;
    const char* expected;  // kinds written, in order
  };
  const Case cases[] = {{0, ""}, {1, "EW"}, {2, "EWI"}, {3, "EWID"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    std::error_code ec;
    std::filesystem::remove_all(Folder(), ec);
    {
      CLog log;
      log.Init(module_, u"levels", u"Zorva", u"VCF", c.level, true);
      log.LogError("L", 1, "E");
      log.LogWarning("L", 2, "W");
      log.LogInfo("L", "I");
      log.LogDetail("L", "D");
    }
    std::string kinds;
    for (const auto& line : Lines(Folder() / "levels.log")) {
      if (line.size() > 20 && line[2] == '/') kinds += line.back();
    }
    EXPECT_EQ(kinds, c.expected);
  }
}

TEST_F(LogTest, StatusTexts) {
  const std::pair<HRESULT, const char*> cases[] = {
      {0, "0"},
      {-5, "-5"},
      {1000, "1000"},
      {1001, "0x3E9"},
      {-1001, "0xFFFFFC17"},
      {E_INVALIDARG, "0x80070057"},
      {-1, "-1"},
  };
  for (const auto& [status, text] : cases) EXPECT_EQ(CLog::StatusText(status), text);
}

TEST_F(LogTest, IndentsContinuationLinesAndCutsHugeMessages) {
  {
    CLog log;
    log.Init(module_, u"multi", u"Zorva", u"VCF", 3, true);
    log.LogInfo("X", "a\nb\nc");
    log.LogWarning("X", E_INVALIDARG, "%s", std::string(CLog::kMaxMessageUnits + 10, 'z'));
    log.LogAssert(true, "CCardDoc.Load", 10);
    log.LogAssert(false, "CCardDoc.Load", 743);
  }
  const auto lines = Lines(Folder() / "multi.log");
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_TRUE(lines[2].ends_with("Inf[0] in X: a"));
  EXPECT_EQ(lines[3], "\tb");
  EXPECT_EQ(lines[4], "\tc");
  const std::string prefix = "War[0x80070057] in X: ";
  ASSERT_NE(lines[5].find(prefix), std::string::npos);
  EXPECT_EQ(lines[5].size() - lines[5].find(prefix) - prefix.size(), CLog::kMaxMessageUnits);
  EXPECT_TRUE(lines[6].ends_with("Err[0] in CCardDoc.Load: ASSERT failed in line 743"));
}

TEST_F(LogTest, NothingIsWrittenWithoutInitOrWithFilesDisabled) {
  {
    CLog log;
    log.LogError("X", 0, "dropped");
    CLog disabled;
    disabled.Init(module_, u"off", u"Zorva", u"VCF", 3, false);
    disabled.LogError("X", 0, "dropped");
  }
  EXPECT_FALSE(std::filesystem::exists(Folder()));
}

TEST_F(LogTest, NameFallsBackToModuleThenProduct) {
  CLog named;
  named.Init(module_, u"MyApp", u"Zorva", u"VCF", 1, false);
  EXPECT_EQ(named.log_path().filename(), "MyApp.log");
  CLog anonymous;
  anonymous.Init(ModuleInfo{}, u"", u"Zorva", u"VCF", 1, false);
  EXPECT_EQ(anonymous.log_path().filename(), "VCF.log");
}

TEST_F(LogTest, LevelComesFromTheRegistryUserFirst) {
  const std::string key = "Software\\Zorva\\VCF";
  using registry::Hive;
  struct Case {
    int user, machine;  // -1: no value
    int expected;
  };
  const Case cases[] = {{-1, -1, 1}, {2, -1, 2}, {-1, 3, 3}, {0, 3, 0}, {7, 3, 1}, {-1, 4, 1}};
  for (const auto& c : cases) {
    registry::DeleteKey(Hive::kCurrentUser, key);
    registry::DeleteKey(Hive::kLocalMachine, key);
    if (c.user >= 0) registry::WriteDword(Hive::kCurrentUser, key, "LogLevel", c.user);
    if (c.machine >= 0) registry::WriteDword(Hive::kLocalMachine, key, "LogLevel", c.machine);
    CLog log;
    log.Init(module_, u"", u"Zorva", u"VCF", -1, false);
    EXPECT_EQ(log.level(), c.expected) << c.user << "/" << c.machine;
  }
  registry::DeleteKey(Hive::kCurrentUser, key);
  registry::DeleteKey(Hive::kLocalMachine, key);
}

TEST_F(LogTest, InitTrimsLargeFilesAtALineBoundary) {
  ASSERT_EQ(files::CreateFolder(Folder()), S_OK);
  // 2,000,000 bytes of numbered 100-byte lines.
  std::string big;
  for (int i = 0; big.size() < 2000000; ++i) {
    char line[101];
    std::snprintf(line, sizeof line, "%098d\r\n", i);
    big += line;
  }
  big.resize(2000000);
  test::WriteFile(Folder() / "conv.log", big);
  test::WriteFile(Folder() / "conv.err", big.substr(0, 131072));  // at the limit: kept
  {
    CLog log;
    log.Init(module_, u"", u"Zorva", u"VCF", 1, true);
  }
  const std::string trimmed = test::ReadFile(Folder() / "conv.log");
  const std::size_t cut = big.find("\r\n", 2000000 - 524288) + 2;
  ASSERT_TRUE(trimmed.starts_with(big.substr(cut)));
  EXPECT_TRUE(trimmed.substr(big.size() - cut).starts_with(":LogStart:"));
  EXPECT_EQ(test::ReadFile(Folder() / "conv.err").size(), 131072u);
  EXPECT_FALSE(std::filesystem::exists(Folder() / "conv.log1"));
}

}  // namespace
}  // namespace velmora
