#include "foundation/registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/test_env.h"

namespace velmora::registry {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OverrideHivePath(Hive::kCurrentUser, dir_ / "user.ini");
    OverrideHivePath(Hive::kLocalMachine, dir_ / "sub" / "machine.ini");
  }
  void TearDown() override {
    OverrideHivePath(Hive::kCurrentUser, test::SandboxDir() / "registry-user.ini");
    OverrideHivePath(Hive::kLocalMachine, test::SandboxDir() / "registry-machine.ini");
  }
  test::TempDir dir_;
};

constexpr HRESULT kNotFound = HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND);

TEST_F(RegistryTest, StoresAndReadsValuesPerHive) {
  std::uint32_t dword = 0;
  std::string text;
  EXPECT_EQ(ReadDword(Hive::kCurrentUser, "Software\\Zorva\\VCF", "LogLevel", &dword), kNotFound);

  ASSERT_EQ(WriteDword(Hive::kCurrentUser, "Software\\Zorva\\VCF", "LogLevel", 3), S_OK);
  ASSERT_EQ(
      WriteString(Hive::kLocalMachine, "Software\\Zorva\\VCF", "Path", "C:\\dir \"quoted\" é"),
      S_OK);
  // Names and keys compare without case; separators may be doubled.
  EXPECT_EQ(ReadDword(Hive::kCurrentUser, "software\\ZORVA\\\\vcf\\", "loglevel", &dword), S_OK);
  EXPECT_EQ(dword, 3u);
  EXPECT_EQ(ReadString(Hive::kLocalMachine, "Software\\Zorva\\VCF", "path", &text), S_OK);
  EXPECT_EQ(text, "C:\\dir \"quoted\" é");
  // Each hive is its own store; types are kept apart.
  EXPECT_EQ(ReadDword(Hive::kLocalMachine, "Software\\Zorva\\VCF", "LogLevel", &dword), kNotFound);
  EXPECT_EQ(ReadDword(Hive::kLocalMachine, "Software\\Zorva\\VCF", "Path", &dword),
            HRESULT_FROM_WIN32(kErrorDatatypeMismatch));

  ASSERT_EQ(WriteDword(Hive::kCurrentUser, "Software\\Zorva\\VCF", "LOGLEVEL", 0xFFFFFFFF), S_OK);
  EXPECT_EQ(ReadDword(Hive::kCurrentUser, "Software\\Zorva\\VCF", "LogLevel", &dword), S_OK);
  EXPECT_EQ(dword, 0xFFFFFFFFu);

  ASSERT_EQ(WriteDword(Hive::kCurrentUser, "Software\\Zorva\\VCF\\Sub", "X", 1), S_OK);
  ASSERT_EQ(DeleteValue(Hive::kCurrentUser, "Software\\Zorva\\VCF", "LogLevel"), S_OK);
  EXPECT_EQ(ReadDword(Hive::kCurrentUser, "Software\\Zorva\\VCF", "LogLevel", &dword), kNotFound);
  ASSERT_EQ(DeleteKey(Hive::kCurrentUser, "Software\\Zorva\\VCF"), S_OK);
  EXPECT_EQ(ReadDword(Hive::kCurrentUser, "Software\\Zorva\\VCF\\Sub", "X", &dword), kNotFound);
  EXPECT_EQ(DeleteKey(Hive::kCurrentUser, "Software\\Zorva\\VCF"), kNotFound);
}

TEST_F(RegistryTest, ReadsHandWrittenFilesAndSkipsDamagedLines) {
  test::WriteFile(dir_ / "user.ini",
                  "# comment\n"
                  "\"Orphan\"=dword:1\n"
                  "[Software\\Zorva\\VCF]\r\n"
                  "\"Broken\"=dword:xyz\n"
                  "garbage line\n"
                  "\"LogLevel\"=dword:00000002\r\n"
                  "\"Name\"=\"a\\\\b\"\n");
  std::uint32_t dword = 0;
  std::string text;
  EXPECT_EQ(ReadDword(Hive::kCurrentUser, "Software\\Zorva\\VCF", "LogLevel", &dword), S_OK);
  EXPECT_EQ(dword, 2u);
  EXPECT_EQ(ReadString(Hive::kCurrentUser, "Software\\Zorva\\VCF", "Name", &text), S_OK);
  EXPECT_EQ(text, "a\\b");
  EXPECT_EQ(ReadDword(Hive::kCurrentUser, "Software\\Zorva\\VCF", "Broken", &dword), kNotFound);
  // Writing keeps what could be read.
  ASSERT_EQ(WriteDword(Hive::kCurrentUser, "Software\\Other", "V", 7), S_OK);
  EXPECT_EQ(ReadDword(Hive::kCurrentUser, "Software\\Zorva\\VCF", "LogLevel", &dword), S_OK);
  EXPECT_EQ(dword, 2u);
}

TEST_F(RegistryTest, ClassesHiveFollowsThePerUserSetting) {
  const struct {
    const char* per_user;  // null: not set
    Hive hive;
  } cases[] = {{nullptr, Hive::kLocalMachine},
               {"", Hive::kLocalMachine},
               {"0", Hive::kLocalMachine},
               {"1", Hive::kCurrentUser},
               {"yes", Hive::kCurrentUser}};
  OverrideClassesHive(std::nullopt);
  for (const auto& c : cases) {
    if (c.per_user == nullptr) {
      unsetenv("VELMORA_REGISTER_PER_USER");
    } else {
      setenv("VELMORA_REGISTER_PER_USER", c.per_user, 1);
    }
    EXPECT_EQ(ClassesHive(), c.hive) << (c.per_user ? c.per_user : "(unset)");
  }
  OverrideClassesHive(Hive::kLocalMachine);
  EXPECT_EQ(ClassesHive(), Hive::kLocalMachine);
  unsetenv("VELMORA_REGISTER_PER_USER");
  // A key made alone is kept with no values, once.
  ASSERT_EQ(CreateKey(Hive::kCurrentUser, "Software\\Classes\\CLSID"), S_OK);
  ASSERT_EQ(CreateKey(Hive::kCurrentUser, "software\\classes\\clsid\\"), S_OK);
  EXPECT_EQ(test::CountOf(test::ReadFile(dir_ / "user.ini"), "[Software\\Classes\\CLSID]\n"), 1);
}

}  // namespace
}  // namespace velmora::registry
