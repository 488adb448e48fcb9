#include "automation/registration.h"

#include <map>
#include <sstream>

#include <velmora/module.h>

#include <gtest/gtest.h>

#include "foundation/module_info.h"
#include "foundation/registry.h"
#include "support/case_file.h"
#include "support/test_env.h"

namespace velmora::test {
namespace {

using registry::Hive;
// Each key of a hive file with its value lines, in file order; a key that
// appears twice is listed twice.
using Keys = std::vector<std::pair<std::string, std::vector<std::string>>>;

Keys ReadKeys(const std::filesystem::path& file) {
  Keys keys;
  std::istringstream in(ReadFile(file));
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with('[')) keys.push_back({line.substr(1, line.size() - 2), {}});
    if (line.starts_with('"') && !keys.empty()) keys.back().second.push_back(line);
  }
  return keys;
}

// The store as the registration leaves it, beside one class of another
// module that must survive.
Keys Expected(bool registered) {
  const std::string c = "Software\\Classes\\";
  Keys keys = {{c + "CLSID\\{00000000-0000-0000-0000-0000000000AA}", {"\"\"=\"Other\""}},
               {c + "AppID", {}},
               {c + "CLSID", {}}};
  if (!registered) return keys;
  for (const FileCase& key : ReadCases("automation/data/registration_keys.txt")) {
    std::vector<std::string> values = key.All("value");
    for (std::string& value : values) {
      if (value == "\"\"=\"{path}\"") value = "\"\"=\"" + ThisModule().path.string() + "\"";
    }
    keys.push_back({c + key.name, values});
  }
  return keys;
}

class RegistrationTest : public ::testing::TestWithParam<Hive> {
 protected:
  void SetUp() override {
    registry::OverrideHivePath(Hive::kCurrentUser, dir_ / "user.ini");
    registry::OverrideHivePath(Hive::kLocalMachine, dir_ / "machine.ini");
    registry::OverrideClassesHive(GetParam());
    // Another module's class, which must survive.
    ASSERT_EQ(registry::WriteString(
                  GetParam(), "Software\\Classes\\CLSID\\{00000000-0000-0000-0000-0000000000AA}",
                  "", "Other"),
              S_OK);
  }
  void TearDown() override {
    registry::OverrideHivePath(Hive::kCurrentUser, SandboxDir() / "registry-user.ini");
    registry::OverrideHivePath(Hive::kLocalMachine, SandboxDir() / "registry-machine.ini");
    registry::OverrideClassesHive(Hive::kLocalMachine);
  }
  std::filesystem::path File(Hive hive) const {
    return dir_ / (hive == Hive::kCurrentUser ? "user.ini" : "machine.ini");
  }
  TempDir dir_;
};

TEST_P(RegistrationTest, RegistersTwiceThenUnregistersInOneHive) {
  const std::string stale = "Software\\Classes\\CLSID\\{9F092E35-D228-4288-A17B-CD42FE326225}\\Old";
  ASSERT_EQ(registry::WriteString(GetParam(), stale, "", "stale"), S_OK);
  ASSERT_EQ(DllRegisterServer(), S_OK);
  ASSERT_EQ(DllRegisterServer(), S_OK);
  // One copy of each key; the stale subkey went with the old class key.
  EXPECT_EQ(ReadKeys(File(GetParam())), Expected(true));
  const Hive other = GetParam() == Hive::kCurrentUser ? Hive::kLocalMachine : Hive::kCurrentUser;
  EXPECT_FALSE(std::filesystem::exists(File(other)));

  ASSERT_EQ(DllUnregisterServer(), S_OK);
  EXPECT_EQ(ReadKeys(File(GetParam())), Expected(false));
  ASSERT_EQ(DllUnregisterServer(), S_OK);  // nothing left to remove
  EXPECT_EQ(ReadKeys(File(GetParam())), Expected(false));
}

INSTANTIATE_TEST_SUITE_P(BothHives, RegistrationTest,
                         ::testing::Values(Hive::kLocalMachine, Hive::kCurrentUser));

TEST(Registration, ReportsTheFirstFailingStep) {
  TempDir dir;
  WriteFile(dir / "file", "not a folder");
  std::string failed;
  // A hive whose folder cannot be made.
  registry::OverrideHivePath(Hive::kLocalMachine, dir / "file" / "machine.ini");
  EXPECT_TRUE(
      FAILED(automation::RegisterServer(Hive::kLocalMachine, "/lib/libvelmora.so", &failed)));
  EXPECT_EQ(failed, "Software\\Classes\\AppID");
  // A hive that is a folder cannot even be read.
  registry::OverrideHivePath(Hive::kLocalMachine, dir.path());
  failed.clear();
  EXPECT_TRUE(FAILED(automation::UnregisterServer(Hive::kLocalMachine, &failed)));
  EXPECT_EQ(failed, "Software\\Classes\\AppID\\{F3272882-52DF-4402-BAB0-73CA7EBA4A04}");
  EXPECT_TRUE(FAILED(DllRegisterServer()));
  registry::OverrideHivePath(Hive::kLocalMachine, SandboxDir() / "registry-machine.ini");
  EXPECT_EQ(automation::RegisterServer(Hive::kLocalMachine, {}, &failed), E_UNEXPECTED);
  const std::string log = ReadFile(SandboxDir() / "appdata" / "Zorva" / "Velmora" /
                                   (ThisModule().path.stem().string() + ".log"));
  EXPECT_GT(CountOf(log, "Cannot write Software\\Classes\\"), 0) << log;
}

}  // namespace
}  // namespace velmora::test
