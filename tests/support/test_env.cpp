#include "support/test_env.h"

#include <memory>

#include <gtest/gtest.h>

#include "foundation/file_system.h"
#include "foundation/registry.h"
#include "foundation/system_settings.h"

namespace velmora::test {
namespace {

void PinSettings() {
  settings::OverrideAnsiCodePage(kTestAnsiCodePage);
  settings::OverrideListSeparator(kTestListSeparator);
  settings::OverrideTimeZone(kTestTimeZone);
}

class PinnedEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<TempDir>();
    sandbox_ = folder_->path();
    PinSettings();
    files::OverrideAppDataFolder(sandbox_ / "appdata");
    registry::OverrideHivePath(registry::Hive::kCurrentUser, sandbox_ / "registry-user.ini");
    registry::OverrideHivePath(registry::Hive::kLocalMachine, sandbox_ / "registry-machine.ini");
    registry::OverrideClassesHive(registry::Hive::kLocalMachine);
  }
  void TearDown() override { folder_.reset(); }
  std::unique_ptr<TempDir> folder_;
  static std::filesystem::path sandbox_;
};
std::filesystem::path PinnedEnvironment::sandbox_;

[[maybe_unused]] auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new PinnedEnvironment);

}  // namespace

std::filesystem::path CorpusDir() { return VELMORA_CORPUS_DIR; }
std::filesystem::path SourceDir() { return VELMORA_SOURCE_DIR; }
const std::filesystem::path& SandboxDir() { return PinnedEnvironment::sandbox_; }

ScopedSettings::~ScopedSettings() { PinSettings(); }

ScopedSettings& ScopedSettings::AnsiCodePage(int code_page) {
  settings::OverrideAnsiCodePage(code_page);
  return *this;
}
ScopedSettings& ScopedSettings::ListSeparator(std::u16string_view separator) {
  settings::OverrideListSeparator(separator);
  return *this;
}
ScopedSettings& ScopedSettings::TimeZone(std::string_view zone_id) {
  settings::OverrideTimeZone(zone_id);
  return *this;
}

}  // namespace velmora::test
