#include "temporary_folder.h"

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace velmora::cli {

TemporaryFolder::TemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/velmora-XXXXXX";
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

}  // namespace velmora::cli
